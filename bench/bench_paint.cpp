// Paint time of the timing diagram for 40 pins: 1,000 against 1,000,000 cycles at the smallest
// and the default cycle width, and a full repaint of a 1920 x 1080 main window. The baseline is
// a copy of the same picture's bytes, measured in the same run.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstring>
#include <memory>

#include "app/settings_store.h"
#include "gui/diagram_painter.h"
#include "gui/gui_operator.h"
#include "gui/main_window.h"
#include "gui/progress_window.h"
#include "gui/wait_window.h"

using namespace qel;

namespace {

constexpr int kPins = 40;
constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// 40 pins: 20 inputs, 19 outputs, one formula output; levels change often, some results are wrong.
void fillTest(TestDescription& t, int cycles) {
  t.resetForStartup();
  t.pinCount = kPins;
  for (int p = 1; p <= kPins; ++p) {
    t.pins[size_t(p)].typeText = p <= 20 ? "I" : p == 40 ? "F" : "O";
    t.pins[size_t(p)].name = "P" + std::to_string(p);
    t.rows[size_t(p)] = {p, 1};
  }
  t.formula[40] = "C1&C2";
  t.computeTypeCodes();
  t.setCycleCount(cycles);
  uint32_t x = 12345;
  for (int c = 1; c <= cycles; ++c)
    for (int p = 1; p <= kPins; ++p) {
      x = x * 1103515245u + 12345u;
      const uint8_t level = uint8_t((x >> 16) % 3);
      t.setLevel(p, c, level);
      const uint8_t code = level == 2 ? 3 : uint8_t(level + 1 + ((x >> 8) % 50 == 0 ? 1 : 0));
      t.setResultCode(p, c, std::min<uint8_t>(code, 2));
    }
}

const TestDescription& testOf(int cycles) {
  static std::unique_ptr<TestDescription> small, large;
  auto& slot = cycles <= 1000 ? small : large;
  if (!slot) {
    slot = std::make_unique<TestDescription>();
    fillTest(*slot, cycles);
  }
  return *slot;
}

void paintOnce(QImage& image, const TestDescription& t, views::DiagramView& v) {
  QPainter p(&image);
  gui::DiagramPaint in;
  in.test = &t;
  in.view = &v;
  in.width = image.width();
  in.height = image.height();
  gui::paintDiagram(p, in);
}

// args: cycles, cycle width, 1 for the result view
void BM_PaintDiagram(benchmark::State& state) {
  const int cycles = int(state.range(0));
  const TestDescription& t = testOf(cycles);
  views::DiagramView v;
  v.cellWidth = int(state.range(1));
  v.showResult = state.range(2) != 0;
  v.showReference = !v.showResult;
  // In the middle of the test, where a scroll would land.
  v.firstCycle = std::max(0, cycles / 2 - 100);
  QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    paintOnce(image, t, v);
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["cells"] = double(views::visibleCycleColumns(v, kWidth) + 1) * kPins;
}
BENCHMARK(BM_PaintDiagram)->ArgsProduct({{1000, 1000000}, {3, 15}, {0, 1}})->Unit(benchmark::kMillisecond);

// The baseline: copying the bytes of the same picture once.
void BM_Baseline_CopyPicture(benchmark::State& state) {
  QImage from(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  from.fill(Qt::white);
  QImage to(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    std::memcpy(to.bits(), from.constBits(), size_t(from.sizeInBytes()));
    benchmark::DoNotOptimize(to.constBits());
  }
}
BENCHMARK(BM_Baseline_CopyPicture)->Unit(benchmark::kMillisecond);

// The whole main window at 1920 x 1080 with a million-cycle test on the diagram page.
void BM_FullWindowRepaint(benchmark::State& state) {
  app::MemorySettingsStore store;
  engine::Bench bench;
  app::Settings settings;
  gui::ProgressWindow progress;
  gui::WaitWindow wait;
  gui::GuiOperator op(progress, wait);
  op.setScripted(true);
  gui::MainWindow window({bench, settings, store, op, progress, wait, nullptr, "qeltest"});
  window.quitOnClose = false;
  fillTest(bench.test, int(state.range(0)));
  bench.endLoad(true);
  window.resize(kWidth, kHeight);
  window.show();
  window.redrawFromModel();
  window.view().cellWidth = 15;
  QApplication::processEvents();
  QImage image(window.size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    window.render(&image);
    benchmark::DoNotOptimize(image.constBits());
  }
  window.close();
}
BENCHMARK(BM_FullWindowRepaint)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
