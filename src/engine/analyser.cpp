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
  if (ws_.channelFault || realtime_ || !ws_.pagesVisible || ws_.busy) return false;
  ws_.busy = true;
  if (!spinText) {
    ws_.busy = false;
    op_.redraw();
    return false;
  }
  const int n = captureCycles(*spinText);
  {
    std::lock_guard lock(ws_.dataMutex);
    ws_.test.setCycleCount(n);
    ws_.test.cycleCount = n;
    ws_.errors.errorCount = 0;
    ws_.errors.currentError = 0;
    resetContactRecords(ws_.contacts, ws_.test);
  }
  op_.errorCounter("0/0");
  op_.log("Запуск тестера...");
  op_.progressShow();
  op_.redraw();
  ws_.analyserMode = true;
  ws_.analyserView = true;
  stopRequested = false;
  contactFirst = false;
  if (!startWorker(Worker::Full)) {
    ws_.busy = false;
    return false;
  }
  op_.redraw();
  return true;
}

}  // namespace qel::engine
