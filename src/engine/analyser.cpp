#include <charconv>

#include "engine/test_engine.h"

namespace qel::engine {

namespace {
constexpr int kMaxCapture = 8190;  // the dialog's spin edit

int captureCycles(const std::string& text) {
  int n = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (ec != std::errc() || end != text.data() + text.size() || n < 0 || n > kMaxCapture) return kMaxCapture;
  return n;
}
}  // namespace

bool TestEngine::startAnalyser(const std::optional<std::string>& spinText) {
  if (runRefused()) return false;
  if (!spinText) {
    op_.redraw();
    return false;
  }
  const int n = captureCycles(*spinText);
  {
    std::lock_guard lock(bench_.dataMutex);
    bench_.test.setCycleCount(n);
    bench_.test.cycleCount = n;
  }
  return launch(RunKind::Analyser);
}

}  // namespace qel::engine
