#pragma once
// Writes a test as a plain vector test in the reader's format. What a signal's symbols hold is the
// measured result (saving a chip as the new standard) or, for an expanded template, the reference.

#include <string>

#include "model/test_description.h"

namespace qel::testfile {

enum class WriteSource { Result, Reference };

// The file's text, in the file's code page, lines ending in CR LF.
std::string formatTestFile(const TestDescription& test, WriteSource source);

// Saved as fileio::saveFile saves, so a failure leaves the old file whole. Returns an empty string
// on success, else what went wrong.
std::string writeTestFile(const TestDescription& test, const std::string& path, WriteSource source);

}  // namespace qel::testfile
