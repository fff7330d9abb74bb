#pragma once
// The timing diagram of a range of cycles as a picture, drawn offscreen by the diagram's own
// painter with the cycle numbers above it: for "Сохранить изображение..." and the HTML report.

#include <QByteArray>
#include <QImage>
#include <string>

#include "gui/diagram_painter.h"

namespace qel::gui {

// A picture wider than this is drawn with narrower cycles, down to the narrowest zoom step.
inline constexpr int kMaxImageWidth = 16000;

// Cycles from..to (clamped to the test) as the view shows them: reference or result, grid, zoom.
QImage diagramImage(const DiagramPaint& base, int from, int to);

// The picture as PNG bytes.
QByteArray pngBytes(const QImage& image);

// Saved whole through the program's safe save; empty on success, else why not.
std::string saveImage(const QImage& image, const std::string& path);

}  // namespace qel::gui
