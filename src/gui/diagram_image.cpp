#include "gui/diagram_image.h"

#include <QBuffer>
#include <QPainter>
#include <algorithm>

#include "fileio/safe_save.h"

namespace qel::gui {

namespace {
constexpr int kRulerHeight = 16;
}

QImage diagramImage(const DiagramPaint& base, int from, int to) {
  const TestDescription& t = *base.test;
  from = std::clamp(from, 1, std::max(1, t.cycleCount));
  to = std::clamp(to, from, std::max(from, t.cycleCount));
  views::DiagramView view = *base.view;
  const int cycles = to - from + 1;
  while (view.cellWidth > views::kMinCellWidth &&
         views::kDiagramLeft + cycles * view.cellWidth > kMaxImageWidth)
    view.cellWidth = views::zoomOutWidth(view.cellWidth);
  view.firstCycle = from - 1;
  view.firstRow = 0;
  view.paintColumn = 0;  // no cursor bar in a picture
  DiagramPaint in = base;
  in.view = &view;
  in.width = std::min(kMaxImageWidth, views::kDiagramLeft + cycles * view.cellWidth + 1);
  in.height = view.rowHeight * std::max(1, t.pinCount) + 1;

  QImage image(in.width, in.height + kRulerHeight, QImage::Format_RGB32);
  image.fill(colours::background);
  QPainter p(&image);
  p.setPen(Qt::black);
  const QFontMetrics metrics(p.font());
  for (const auto& label :
       views::rulerLabels(view.firstCycle, view.cellWidth, in.width - views::kDiagramLeft,
                          [&](int n) { return metrics.horizontalAdvance(QString::number(n)); }))
    p.drawText(views::kDiagramLeft + label.x, kRulerHeight - 3, QString::number(label.number));
  p.drawLine(0, kRulerHeight - 1, in.width, kRulerHeight - 1);
  p.translate(0, kRulerHeight);
  if (in.dataMutex) {
    std::lock_guard lock(*in.dataMutex);
    paintDiagram(p, in);
  } else {
    paintDiagram(p, in);
  }
  return image;
}

QByteArray pngBytes(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

std::string saveImage(const QImage& image, const std::string& path) {
  const QByteArray bytes = pngBytes(image);
  if (bytes.isEmpty()) return "the picture could not be encoded";
  return fileio::saveFile(path, std::string_view(bytes.constData(), size_t(bytes.size())));
}

}  // namespace qel::gui
