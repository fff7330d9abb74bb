#include "golden.h"

#include <QDebug>
#include <QDir>
#include <algorithm>

namespace {
// Pixels that may differ beyond antialiasing: a short glyph stroke, never a segment of the diagram.
constexpr qint64 kUnmatchedPixels = 20;

QString goldenPath(const QString& name) {
  return QString(QEL_GOLDEN_DIR) + "/" + name + ".png";
}
}  // namespace

bool matchesGolden(const QImage& shot, const QString& name, const QList<QRect>& ignored) {
  const QImage image = shot.convertToFormat(QImage::Format_RGB32);
  if (qgetenv("QEL_UPDATE_GOLDEN") == "1") {
    QDir().mkpath(QEL_GOLDEN_DIR);
    return image.save(goldenPath(name));
  }
  QImage golden(goldenPath(name));
  if (golden.isNull()) {
    qWarning() << "no golden picture" << goldenPath(name) << "- run with QEL_UPDATE_GOLDEN=1";
    return false;
  }
  golden = golden.convertToFormat(QImage::Format_RGB32);
  if (golden.size() != image.size()) {
    qWarning() << "size" << image.size() << "against" << golden.size();
    image.save(QDir::temp().filePath(name + ".actual.png"));
    return false;
  }
  // A pixel matches when the golden picture has about its colour at the same place or one pixel
  // beside it: antialiasing and a glyph shifted by a pixel pass, a line in another colour does not.
  auto near = [](QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) <= 64 && std::abs(qGreen(a) - qGreen(b)) <= 64 &&
           std::abs(qBlue(a) - qBlue(b)) <= 64;
  };
  qint64 differing = 0;
  for (int y = 0; y < image.height(); ++y) {
    const auto* shotRow = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      bool matched =
          std::any_of(ignored.begin(), ignored.end(), [&](const QRect& r) { return r.contains(x, y); });
      for (int dy = -1; dy <= 1 && !matched; ++dy) {
        if (y + dy < 0 || y + dy >= golden.height()) continue;
        const auto* goldenRow = reinterpret_cast<const QRgb*>(golden.constScanLine(y + dy));
        for (int dx = -1; dx <= 1 && !matched; ++dx)
          matched = x + dx >= 0 && x + dx < golden.width() && near(shotRow[x], goldenRow[x + dx]);
      }
      if (!matched) ++differing;
    }
  }
  if (qgetenv("QEL_GOLDEN_VERBOSE") == "1") qInfo() << name << differing << "pixels without a match";
  if (differing > kUnmatchedPixels) {
    qWarning() << name << "has" << differing << "pixels with no match near them";
    image.save(QDir::temp().filePath(name + ".actual.png"));
    return false;
  }
  return true;
}
