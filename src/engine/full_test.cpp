#include <algorithm>
#include <future>
#include <memory>

#include "diagnosis/memory_diagnosis.h"
#include "engine/stimulus.h"
#include "engine/test_engine.h"
#include "views/comparison.h"

namespace qel::engine {

bool TestEngine::startFullTest() {
  if (runRefused()) return false;
  return launch(RunKind::Full);
}

bool TestEngine::continueRun() {
  if (bench_.busy() || !continueEnabled) return false;
  return launch(RunKind::Continue);
}

void TestEngine::deriveStimulus(std::vector<uint8_t>& blockData, int block) const {
  std::lock_guard lock(bench_.dataMutex);
  engine::deriveStimulus(bench_.test, bench_.contacts, blockData, block, !bench_.analyserMode());
}

void TestEngine::keepSupplyBetweenBlocks(const std::vector<uint8_t>& blockData,
                                         const std::vector<uint8_t>& blockResult, int cycles, int block,
                                         bool& keptNoted) {
  if (!current().options.vccOff) return;
  // A supply switched off between blocks makes a good RAM, counter or flip-flop forget what the next
  // block reads back; only a board that fights the tester's drivers is worth that price.
  const std::vector<int> fought = overdrivenPins(blockData, blockResult, bench_.test.pinCount, cycles);
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
  TestDescription& t = bench_.test;
  const Settings& settings = current();
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
  const int blocks = t.cycleCount / kBlockCycles;
  op_.blockDone(0, blocks + 1);
  link_.powerOff();

  const int pins = t.pinCount;
  std::vector<uint8_t> blockData, nextData;
  auto nextImage = std::make_unique<tester::BlockImage>();
  std::vector<uint8_t> blockResult(size_t(pins) * kBlockCycles), storing(blockResult.size());
  const auto cyclesOf = [&](int block) {
    return std::min(t.cycleCount - block * kBlockCycles, kBlockCycles);
  };
  const auto store = [this, &t, &cyclesOf](int block, const std::vector<uint8_t>& codes) {
    std::lock_guard lock(bench_.dataMutex);
    t.setResultCodes(block * kBlockCycles + 1, cyclesOf(block), codes.data());
  };
  // While block n is on the link, a second thread stores the results of block n - 1 and derives
  // and composes block n + 1; the bytes on the wire and their order stay those of one block after
  // the other. Declared after the buffers it uses, so that an early return waits for it before
  // they go away.
  std::future<void> aside;
  bool keptNoted = false;
  for (int n = 0; n <= blocks; ++n) {
    gauge(0);
    const std::string blockLine = "БлокДанных №" + std::to_string(n + 1);
    op_.log(blockLine);
    op_.progressLog(blockLine);

    logText("Обработка исходных данных, поиск ошибок в исходных данных");
    if (stopped()) return;
    if (n == 0)
      deriveStimulus(blockData, n);
    else
      blockData.swap(nextData);

    gauge(0);
    logText("Обработка исходных данных, формирование служебных массивов");
    if (stopped()) return;
    if (n == 0)
      link_.composeImage(blockData);
    else
      link_.swapImage(nextImage);

    gauge(0);
    logText("Работа с объектом, получение данных");
    if (stopped()) return;
    std::fill(blockResult.begin(), blockResult.end(), uint8_t{kNotMeasured});
    link_.powerOn();
    if (stopped()) return;

    const int blockCycles = cyclesOf(n);
    link_.setTestParameters(tester::parametersOf(t, blockCycles, settings.levels));
    if (blocks > 0)
      // The channel bookkeeping the next block would be composed with one after the other.
      aside = std::async(std::launch::async, [&, n, state = link_.state()] {
        if (n > 0) store(n - 1, storing);
        if (n == blocks) return;
        deriveStimulus(nextData, n + 1);
        tester::composeBlockImage(state, nextData, *nextImage);
      });
    if (link_.runImage(blockResult)) {
      // A cancelled wait is not a data error; the cancel reports for itself.
      if (stopped()) return;
      op_.progressLog("Ошибка тестирования");
      op_.message("Ошибка съема данных", Icon::Error);
      link_.powerOff();
      settle(Outcome::DataError);
      return;
    }
    if (n == blocks) {
      if (settings.options.vccOff) link_.powerOff();
    } else {
      keepSupplyBetweenBlocks(blockData, blockResult, blockCycles, n, keptNoted);
    }
    if (aside.valid()) {
      aside.get();
      if (n > 0) op_.blockDone(n, blocks + 1);
    }
    if (stopped()) return;
    blockResult.swap(storing);
    gauge(100);
  }
  store(blocks, storing);
  op_.blockDone(blocks + 1, blocks + 1);
  if (stopped()) return;

  {
    std::lock_guard lock(bench_.dataMutex);
    bench_.errors.errorCount = 0;
  }
  if (!bench_.analyserMode()) bench_.analyserView_ = false;
  link_.powerOff();
  op_.progressLog("Конец тестирования");
  op_.log("Конец тестирования");

  if (stopped()) return;
  if (!bench_.analyserMode()) {
    op_.log("Проверка совпадения полученных и исходных данных(ControlTest)");
    op_.progressLog("Проверка совпадения полученных и исходных данных(ControlTest)");
    op_.progressProcess("Проверка совпадения полученных и исходных данных");
    {
      std::lock_guard lock(bench_.dataMutex);
      views::compareResults(t, bench_.errors, op_);
      diagnosis::reportMemoryDiagnosis(t, bench_.errors.errorCount, op_);
    }
    op_.redraw();
  }
  settle(link_.powerIsOn() ? Outcome::SupplyNotOff : Outcome::Finished);
}

}  // namespace qel::engine
