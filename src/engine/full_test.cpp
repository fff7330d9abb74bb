#include <algorithm>

#include "diagnosis/memory_diagnosis.h"
#include "engine/stimulus.h"
#include "engine/test_engine.h"
#include "views/comparison.h"

namespace qel::engine {

bool TestEngine::startFullTest() {
  if (ws_.channelFault || realtime_ || !ws_.pagesVisible || ws_.busy) return false;
  stopRequested = false;
  ws_.mainPage = 2;
  ws_.busy = true;
  ws_.analyserMode = false;
  ws_.analyserView = false;
  {
    std::lock_guard lock(ws_.dataMutex);
    ws_.errors.errorCount = 0;
    ws_.errors.currentError = 0;
    resetContactRecords(ws_.contacts, ws_.test);
  }
  op_.errorCounter("0/0");
  op_.redraw();
  op_.log("Запуск тестера...");
  op_.progressShow();
  link_.closeConnection();
  contactFirst = true;
  if (!startWorker(Worker::Full)) {
    ws_.busy = false;
    return false;
  }
  op_.redraw();
  realtime_ = false;
  return true;
}

bool TestEngine::continueRun() {
  if (ws_.busy || !continueEnabled) return false;
  stopRequested = false;
  ws_.busy = true;
  realtime_ = false;
  contactFirst = false;
  if (!startWorker(Worker::Full)) {
    ws_.busy = false;
    return false;
  }
  return true;
}

void TestEngine::deriveStimulus(std::vector<uint8_t>& blockData, int block) const {
  std::lock_guard lock(ws_.dataMutex);
  engine::deriveStimulus(ws_.test, ws_.contacts, blockData, block, !ws_.analyserMode);
}

void TestEngine::keepSupplyBetweenBlocks(const std::vector<uint8_t>& blockData,
                                         const std::vector<uint8_t>& blockResult, int cycles, int block,
                                         bool& keptNoted) {
  if (!settings_.options.vccOff) return;
  // A supply switched off between blocks makes a good RAM, counter or flip-flop forget what the next
  // block reads back; only a board that fights the tester's drivers is worth that price.
  const std::vector<int> fought = overdrivenPins(blockData, blockResult, ws_.test.pinCount, cycles);
  if (fought.empty()) {
    if (keptNoted) return;
    keptNoted = true;
    const std::string line =
        "Питание между блоками не отключается: микросхема сохраняет состояние (ОЗУ, счетчики) от блока к "
        "блоку";
    op_.log(line);
    op_.progressLog(line);
    return;
  }
  link_.powerOff();
  std::string pins;
  for (int p : fought) pins += (pins.empty() ? "" : ", ") + std::to_string(p);
  const std::string line = "Питание отключено после блока " + std::to_string(block + 1) +
                           ": тестер не удержал уровни на выводах " + pins +
                           "; состояние микросхемы (ОЗУ, счетчики) в следующем блоке потеряно";
  op_.log(line);
  op_.progressLog(line);
}

void TestEngine::runFullTest() {
  // The launch cleared stopRequested before the worker started; clearing it here would lose an
  // "Отмена" pressed in between, and cancel() would then wait for the whole run.
  TestDescription& t = ws_.test;
  prepareProgress();
  op_.progressLog("Начало тестирования");
  op_.progressLog("MainTest");

  if (stopped()) return;
  if (contactFirst) {
    powerOffAfterContact = false;
    if (!runContactTest()) {
      gauge(100);
      return;
    }
  } else if (!initialiseTester()) {
    op_.progressClose();
    return;
  }

  if (stopped()) return;
  ws_.mainPage = 0;
  ws_.showResult = false;
  link_.powerOff();

  const int pins = t.pinCount;
  std::vector<uint8_t> blockData;
  std::vector<uint8_t> blockResult(size_t(pins) * kBlockCycles);
  const int blocks = t.cycleCount / kBlockCycles;
  bool keptNoted = false;
  for (int n = 0; n <= blocks; ++n) {
    gauge(0);
    const std::string blockLine = "БлокДанных №" + std::to_string(n + 1);
    op_.log(blockLine);
    op_.progressLog(blockLine);

    logText("Обработка исходных данных, поиск ошибок в исходных данных");
    if (stopped()) return;
    deriveStimulus(blockData, n);

    gauge(0);
    logText("Обработка исходных данных, формирование служебных массивов");
    if (stopped()) return;
    link_.composeImage(blockData);

    gauge(0);
    logText("Работа с объектом, получение данных");
    if (stopped()) return;
    std::fill(blockResult.begin(), blockResult.end(), uint8_t{kNotMeasured});
    link_.powerOn();
    if (stopped()) return;

    const int blockCycles = std::min(t.cycleCount - n * kBlockCycles, kBlockCycles);
    link_.setTestParameters(tester::parametersOf(t, blockCycles, settings_.levels));
    if (link_.runImage(blockResult)) {
      // A cancelled wait is not a data error; the cancel reports for itself.
      if (stopped()) return;
      op_.progressLog("Ошибка тестирования");
      op_.message("Ошибка съема данных", Icon::Error);
      link_.powerOff();
      fail(Outcome::DataError);
      return;
    }
    if (n == blocks) {
      if (settings_.options.vccOff) link_.powerOff();
    } else {
      keepSupplyBetweenBlocks(blockData, blockResult, blockCycles, n, keptNoted);
    }
    if (stopped()) return;

    {
      std::lock_guard lock(ws_.dataMutex);
      t.setResultCodes(n * kBlockCycles + 1, blockCycles, blockResult.data());
    }
    gauge(100);
    if (stopped()) return;
  }

  {
    std::lock_guard lock(ws_.dataMutex);
    ws_.errors.errorCount = 0;
  }
  if (!ws_.analyserMode) ws_.analyserView = false;
  link_.powerOff();
  op_.progressLog("Конец тестирования");
  op_.log("Конец тестирования");

  if (stopped()) return;
  if (!ws_.analyserMode) {
    op_.log("Проверка совпадения полученных и исходных данных(ControlTest)");
    op_.progressLog("Проверка совпадения полученных и исходных данных(ControlTest)");
    op_.progressProcess("Проверка совпадения полученных и исходных данных");
    {
      std::lock_guard lock(ws_.dataMutex);
      views::compareResults(t, ws_.errors, op_);
      diagnosis::reportMemoryDiagnosis(t, ws_.errors.errorCount, op_);
    }
    op_.redraw();
    ws_.showResult = true;
  }
  fail(Outcome::Finished);
}

}  // namespace qel::engine
