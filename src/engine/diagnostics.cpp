#include <algorithm>
#include <array>

#include "engine/stimulus.h"
#include "engine/test_engine.h"

namespace qel::engine {

namespace {
constexpr const char* kWaitCaption = "Подождите...";
constexpr const char* kWaitIdle = "Подождите идет загрузка...";
constexpr int kSelfTestPins = 32;
constexpr int kSelfTestCycles = 100;
constexpr int kSelfTestCycleTime = 8;
constexpr int kCheckedRows = 96;
}  // namespace

std::optional<bool> TestEngine::testRam() {
  if (realtime_ || bench_.busy()) return std::nullopt;
  if (bench_.testerNotInitialised()) {
    op_.waitShow(kWaitCaption, "Тестирование ОЗУ тестера...");
    op_.waitGaugeVisible(false);
    const bool ok = initialiseTester();
    op_.waitClose();
    op_.waitLabel(kWaitIdle);
    // A tester memory that fails inside the initialisation is this test's finding.
    if (!ok)
      return lastInit_ == tester::InitOutcome::RamFaulty || lastInit_ == tester::InitOutcome::VerifyFailed
                 ? std::optional<bool>(false)
                 : std::nullopt;
    op_.message("Инициализация тестера прошла успешно", Icon::Information);
  }
  const bool failed = link_.testTesterRam();
  op_.waitClose();
  op_.waitLabel(kWaitIdle);
  if (failed)
    op_.message(
        "Произошла ошибка при попытке диагностики ОЗУ. ОЗУ тестера неисправно. Обратитесь к разработчикам",
        Icon::Error);
  else
    op_.message("ОЗУ тестера исправно", Icon::Information);
  return !failed;
}

std::optional<bool> TestEngine::testChannels() {
  if (bench_.busy()) return std::nullopt;
  // The test on the bench is replaced by the self-test: no run until one is loaded again.
  bench_.ready_ = false;
  op_.runStarted(RunKind::ChannelTest);
  op_.message("Освободите контакты клипсы.", Icon::Warning);
  op_.waitShow(kWaitCaption, "Тестирование каналов...");
  op_.waitGaugeVisible(false);
  bench_.busy_ = true;
  realtime_ = false;
  outcome_ = Outcome::None;
  lastError_ = 0;
  const bool passed = runChannelTest(true);
  // Only the early exits (no tester, reset refused) settle an outcome of their own.
  if (passed || bench_.channelFault()) {
    outcome_ = passed ? Outcome::Finished : Outcome::ChannelFault;
    lastError_ = 0;
  }
  bench_.busy_ = false;
  op_.waitClose();
  op_.waitLabel(kWaitIdle);
  op_.runFinished({RunKind::ChannelTest, outcome_.load(), lastError_.load()});
  if (!passed && !bench_.channelFault()) return std::nullopt;
  return passed;
}

bool TestEngine::runChannelTest(bool interactive) {
  TestDescription& t = bench_.test;
  const int savedPins = t.pinCount;
  bench_.testerNotInitialised_ = true;
  {
    std::lock_guard lock(bench_.dataMutex);
    t.pinCount = kSelfTestPins;
    // Through setCycleCount, so that the buffers hold the 100 cycles of the picture.
    t.setCycleCount(kSelfTestCycles);
  }

  if (interactive) {
    if (link_.checkPresence()) {
      settle(Outcome::InitFailed);
      op_.message(tester::withFailureDetail(link_, tester::kNoLinkText), Icon::Error);
      t.pinCount = savedPins;
      return false;
    }
    if (link_.resetTester()) {
      raiseError(2);
      t.pinCount = savedPins;
      return false;
    }
    initialiseTester();
    bench_.testerNotInitialised_ = true;
  }

  std::array<int32_t, kSelfTestPins> codes{};
  codes.fill(kInput);
  tester::TestParameters p;
  p.levels = t.levels;
  p.cycleTime = kSelfTestCycleTime;
  p.pinCount = kSelfTestPins;
  p.pinTypeCodes = codes;
  p.cycleCount = kSelfTestCycles;
  p.minGround = current().levels.minGround;
  p.maxGround = current().levels.maxGround;
  p.minSupply = current().levels.minSupply;
  link_.setTestParameters(p);

  std::vector<uint8_t> block(size_t(kSelfTestPins) * kSelfTestCycles, 2);
  for (int c = 0; c < kSelfTestPins; ++c) {
    block[size_t(3 * c + 1) * kSelfTestPins + size_t(c)] = 1;
    block[size_t(3 * c + 2) * kSelfTestPins + size_t(c)] = 0;
  }
  link_.composeImage(block);
  std::vector<uint8_t> result(block.size(), kNotMeasured);
  link_.runImage(result);
  link_.powerOff();
  checkSupplyOff();

  int faulty = 0;
  std::string text;
  for (int c = 0; c < kSelfTestPins; ++c)
    for (int k = 1; k <= kCheckedRows; ++k) {
      const uint8_t expected = k == 3 * c + 1 ? kReadHigh : kReadLow;
      if (result[size_t(k) * kSelfTestPins + size_t(c)] != expected) {
        ++faulty;
        text += std::to_string(c + 1) + "; ";
        break;
      }
    }

  if (faulty == 0) {
    if (interactive) op_.message("Тестирование ошибок не выявило", Icon::Information);
    t.pinCount = savedPins;
    return true;
  }

  bench_.channelFault_ = true;
  {
    // The test becomes a picture of the self-test: what was driven, and what came back.
    std::lock_guard lock(bench_.dataMutex);
    t.passivePinCount = 0;
    for (int pin = 1; pin <= 49; ++pin) {
      t.pins[size_t(pin)].typeText = std::string("I");  // moved: g++ 12 -O3 warns falsely on "I"
      t.pins[size_t(pin)].name.clear();
    }
    t.pinCount = kSelfTestPins;
    t.setCycleCount(kSelfTestCycles);
    t.computeTypeCodes();
    for (int k = 1; k <= kSelfTestCycles; ++k)
      for (int j = 1; j <= kSelfTestPins; ++j) {
        t.setLevel(j, k, block[size_t(k - 1) * kSelfTestPins + size_t(j - 1)]);
        t.setResultCode(j, k, result[size_t(k - 1) * kSelfTestPins + size_t(j - 1)]);
      }
    for (int j = 1; j <= 50; ++j) t.rows[size_t(j)] = {j, 1};
    for (int j = 51; j <= kRows; ++j) t.rows[size_t(j)] = {0, 0};
  }
  op_.redraw();
  op_.message("Неисправные каналы(всего " + std::to_string(faulty) + "): " + text, Icon::Warning);
  // Shown, so that it can be looked at and saved; the channel fault keeps it from running.
  bench_.ready_ = true;
  op_.redraw();
  return false;
}

bool TestEngine::rawReadout(tester::RawGrid& grid) {
  if (bench_.busy() || realtime_) return true;
  std::vector<uint8_t> block;
  deriveStimulus(block, 0);
  initialiseTester();
  link_.composeImage(block);
  link_.powerOn();
  return link_.runImageRaw(grid);
}

}  // namespace qel::engine
