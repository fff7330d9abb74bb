#include "cli/diagram_png.h"

#if defined(QEL_HAVE_PICTURES)
#include <QGuiApplication>
#include <memory>

#include "gui/diagram_image.h"
#endif

namespace qel::cli {

#if defined(QEL_HAVE_PICTURES)

bool diagramPicturesAvailable() {
  return true;
}

std::string diagramPng(const TestDescription& test, int from, int to, bool withResult) {
  // Fonts need an application; qel draws offscreen wherever it runs, with or without a display.
  static std::unique_ptr<QGuiApplication> app = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "qel";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
  }();
  views::DiagramView view;
  view.showReference = true;
  view.showResult = withResult;
  gui::DiagramPaint paint;
  paint.test = &test;
  paint.view = &view;
  const QByteArray png = gui::pngBytes(gui::diagramImage(paint, from, to));
  return std::string(png.constData(), size_t(png.size()));
}

#else

bool diagramPicturesAvailable() {
  return false;
}

std::string diagramPng(const TestDescription&, int, int, bool) {
  return {};
}

#endif

}  // namespace qel::cli
