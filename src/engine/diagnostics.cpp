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
  if (realtime_ || ws_.busy) return std::nullopt;
  if (ws_.testerNotInitialised) {
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
  if (ws_.busy) return std::nullopt;
  ws_.pagesVisible = false;
  op_.redraw();
  op_.message("Освободите контакты клипсы.", Icon::Warning);
  op_.waitShow(kWaitCaption, "Тестирование каналов...");
  op_.waitGaugeVisible(false);
  ws_.busy = true;
  realtime_ = false;
  const bool passed = runChannelTest(true);
  ws_.busy = false;
  op_.waitClose();
  op_.waitLabel(kWaitIdle);
  if (!passed && !ws_.channelFault) return std::nullopt;
  return passed;
}

bool TestEngine::runChannelTest(bool interactive) {
  TestDescription& t = ws_.test;
  const int savedPins = t.pinCount;
  ws_.testerNotInitialised = true;
  {
    std::lock_guard lock(ws_.dataMutex);
    t.pinCount = kSelfTestPins;
    // Through setCycleCount, so that the buffers hold the 100 cycles of the picture.
    t.setCycleCount(kSelfTestCycles);
  }

  if (interactive) {
    if (link_.checkPresence()) {
      op_.message(tester::kNoLinkText, Icon::Error);
      t.pinCount = savedPins;
      return false;
    }
    if (link_.resetTester()) {
      raiseError(2);
      t.pinCount = savedPins;
      return false;
    }
    initialiseTester();
    ws_.testerNotInitialised = true;
  }

  std::array<int32_t, kSelfTestPins> codes{};
  codes.fill(kInput);
  tester::TestParameters p;
  p.levels = t.levels;
  p.cycleTime = kSelfTestCycleTime;
  p.pinCount = kSelfTestPins;
  p.pinTypeCodes = codes;
  p.cycleCount = kSelfTestCycles;
  p.minGround = settings_.levels.minGround;
  p.maxGround = settings_.levels.maxGround;
  p.minSupply = settings_.levels.minSupply;
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

  ws_.channelFault = true;
  {
    // The test becomes a picture of the self-test: what was driven, and what came back.
    std::lock_guard lock(ws_.dataMutex);
    t.passivePinCount = 0;
    for (int pin = 1; pin <= 49; ++pin) {
      t.pins[size_t(pin)].typeText = "I";
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
  ws_.showResult = true;
  ws_.pagesVisible = true;
  ws_.mainPage = 0;
  op_.redraw();
  return false;
}

bool TestEngine::rawReadout(tester::RawGrid& grid) {
  if (ws_.busy || realtime_) return true;
  std::vector<uint8_t> block;
  deriveStimulus(block, 0);
  initialiseTester();
  link_.composeImage(block);
  link_.powerOn();
  return link_.runImageRaw(grid);
}

}  // namespace qel::engine
