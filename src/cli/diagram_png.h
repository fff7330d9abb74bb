#pragma once
// qel export --png: the diagram drawn offscreen by the desktop program's own painter, where qel
// is built with it (not in the Qt-free builds, such as the Windows cross-build).

#include <string>

#include "model/test_description.h"

namespace qel::cli {

bool diagramPicturesAvailable();

// Cycles from..to as PNG bytes, the reference with the result over it when withResult; empty
// when this build draws no pictures.
std::string diagramPng(const TestDescription& test, int from, int to, bool withResult);

}  // namespace qel::cli
