#include "app/test_loader.h"

#include <algorithm>

#include "testfile/reader.h"
#include "views/comparison.h"
#include "views/formula.h"
#include "views/word_value.h"

namespace qel::app {

void evaluateFormulaOutputs(TestDescription& t) {
  for (int p = 1; p <= t.pinCount; ++p) {
    if (t.pins[size_t(p)].typeText != "O=F(c)") continue;
    t.pins[size_t(p)].typeText = "F";
    const views::CompiledFormula f(t.formula[size_t(p)]);
    views::PinLevels levels{};
    for (int c = 1; c <= t.cycleCount; ++c) {
      for (int q : f.pins())
        if (q > 0) levels[size_t(q)] = t.level(q, c);
      t.setLevel(p, c, uint8_t(f.evaluate(levels)));
    }
  }
}

LoadResult loadTest(engine::Bench& bench, const std::string& path, Operator& op, const LoadOptions& options) {
  return loadTest(bench, path, op, options, [&path] { return testfile::readFileLines(path); });
}

namespace {

LoadResult readOnto(engine::Bench& bench, const std::string& path, Operator& op, const LoadOptions& options,
                    const std::function<testfile::FileLines()>& read) {
  using namespace testfile;
  LoadResult result;
  auto& t = bench.test;
  t.loaded = false;
  t.chipName.clear();
  t.descriptionFile.clear();
  if (path.empty()) return result;
  op.redraw();

  t.algorithmNumber = 0;
  bench.errors.clear();
  op.errorCounter(views::comparisonCounterText(0));
  t.reset();
  t.clearStorageFailed();
  t.fileName = path;
  op.log("Загруска теста:" + path);

  const FileLines file = read();
  if (!file.ok()) {
    if (!file.reason.empty()) op.log(std::string(kCannotOpen) + " " + path + ": " + file.reason);
    result.unreadable = file.reason;
    op.message(kCannotOpen, Icon::Error);
    op.waitClose();
    return result;
  }
  if (!parsePackage(file.raw(0).substr(std::min(file.raw(0).find('=') + 1, file.raw(0).size())), t)) {
    t.pinCount = 8;
    op.message(kBadFormat, Icon::Warning);
    op.waitClose();
    return result;
  }
  op.waitShow("Загрузка Файла", "Подождите - идет загрузка....");
  op.waitRange(0, 100);
  op.waitProgress(0);
  t.levels = kDefaultInputLevels;
  t.cycleTime = kDefaultCycleTime;

  const ParseOutcome parsed = parseTest(file, t, op);
  op.waitClose();
  if (parsed.formatError || parsed.storageError) {
    op.message(parsed.storageError ? kDiagramSize : kBadFormat,
               parsed.storageError ? Icon::Error : Icon::Warning);
    t.reset();
    t.fileName = path;
    return result;
  }

  algorithms::expandLoaded(t, op, options.expansion);
  if (t.storageFailed()) op.message(kDiagramSize, Icon::Error);
  t.clearResults();

  evaluateFormulaOutputs(t);

  t.loaded = true;
  views::checkWordContactKinds(t, op, options.showMessages);
  op.waitClose();
  bench.endLoad(!parsed.readError);
  op.redraw();
  result.shown = !parsed.readError;
  result.readError = parsed.readError;
  return result;
}

}  // namespace

LoadResult loadTest(engine::Bench& bench, const std::string& path, Operator& op, const LoadOptions& options,
                    const std::function<testfile::FileLines()>& read) {
  if (!bench.beginLoad()) return {};
  const LoadResult result = readOnto(bench, path, op, options, read);
  // Nothing is measured on what is now on the bench, whether it loaded or not.
  for (int pin = 1; pin <= kContactRecords; ++pin)
    bench.contacts[size_t(pin - 1)] = freshContactRecord(bench.test, pin);
  return result;
}

}  // namespace qel::app
