#include "golden.h"

#include <QDebug>
#include <QDir>

namespace {
QString goldenPath(const QString& name) {
  return QString(QEL_GOLDEN_DIR) + "/" + name + ".png";
}
}  // namespace

bool matchesGolden(const QImage& shot, const QString& name) {
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
  // A pixel differs when a channel is off by more than 64; up to 2% of them may.
  qint64 differing = 0;
  for (int y = 0; y < image.height(); ++y) {
    const auto* a = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    const auto* b = reinterpret_cast<const QRgb*>(golden.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if (std::abs(qRed(a[x]) - qRed(b[x])) > 64 || std::abs(qGreen(a[x]) - qGreen(b[x])) > 64 ||
          std::abs(qBlue(a[x]) - qBlue(b[x])) > 64)
        ++differing;
    }
  }
  const double share = double(differing) / double(qint64(image.width()) * image.height());
  if (share > 0.02) {
    qWarning() << name << "differs in" << share * 100 << "% of its pixels";
    image.save(QDir::temp().filePath(name + ".actual.png"));
    return false;
  }
  return true;
}
