#include "app/test_loader.h"

#include <algorithm>
#include <array>

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

namespace {

// Reads to the end of the file, where a line too long or too many show up.
bool readToEnd(testfile::LineStream& in) {
  std::string_view line;
  while (in.next(line)) {
  }
  return in.ok();
}

// The fields a parse sets that the reset does not; a file that proves unreadable once parsed
// leaves them as they were before it, as if it had never been parsed.
struct UnresetFields {
  bool isSoic;
  std::array<std::string, 10> testNames;
  std::array<int32_t, 100> typeCode;
  int32_t passivePinCount, dataWordCount, levels, cycleTime;

  explicit UnresetFields(const TestDescription& t)
      : isSoic(t.isSoic),
        testNames(t.testNames),
        typeCode(t.typeCode),
        passivePinCount(t.passivePinCount),
        dataWordCount(t.dataWordCount),
        levels(t.levels),
        cycleTime(t.cycleTime) {}
  void restore(TestDescription& t) const {
    t.isSoic = isSoic;
    t.testNames = testNames;
    t.typeCode = typeCode;
    t.passivePinCount = passivePinCount;
    t.dataWordCount = dataWordCount;
    t.levels = levels;
    t.cycleTime = cycleTime;
  }
};

void reportUnreadable(const testfile::LineStream& in, const std::string& path, Operator& op,
                      LoadResult& result) {
  if (!in.reason().empty()) op.log(std::string(testfile::kCannotOpen) + " " + path + ": " + in.reason());
  result.unreadable = in.reason();
  op.message(testfile::kCannotOpen, Icon::Error);
  op.waitClose();
}

LoadResult readOnto(engine::Bench& bench, const std::string& path, Operator& op, const LoadOptions& options,
                    const std::function<testfile::LineStream()>& open) {
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

  LineStream in = open();
  const UnresetFields before(t);
  if (!readPackage(in, t)) {
    // The whole file is read before its package is judged: a file that cannot be read says so.
    t.pinCount = 8;
    if (!readToEnd(in)) {
      reportUnreadable(in, path, op, result);
      return result;
    }
    op.message(kBadFormat, Icon::Warning);
    op.waitClose();
    return result;
  }
  op.waitShow("Загрузка Файла", "Подождите - идет загрузка....");
  op.waitRange(0, 100);
  op.waitProgress(0);
  t.levels = kDefaultInputLevels;
  t.cycleTime = kDefaultCycleTime;

  const ParseOutcome parsed = parseBody(in, t, op);
  if (!readToEnd(in)) {
    // Nothing of a file that cannot be read whole is kept.
    t.reset();
    before.restore(t);
    t.fileName = path;
    reportUnreadable(in, path, op, result);
    return result;
  }
  if (!parsed.readErrorMessage.empty()) op.message(parsed.readErrorMessage, Icon::Error);
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

LoadResult loadTest(engine::Bench& bench, const std::string& path, Operator& op, const LoadOptions& options) {
  return loadTest(bench, path, op, options, [&path] { return testfile::LineStream::open(path); });
}

LoadResult loadTest(engine::Bench& bench, const std::string& path, Operator& op, const LoadOptions& options,
                    const std::function<testfile::FileLines()>& read) {
  testfile::FileLines file;
  return loadTest(bench, path, op, options, [&] {
    file = read();
    return file.ok() ? testfile::LineStream::over(file.data) : testfile::LineStream::unreadable(file.reason);
  });
}

LoadResult loadTest(engine::Bench& bench, const std::string& path, Operator& op, const LoadOptions& options,
                    const std::function<testfile::LineStream()>& open) {
  if (!bench.beginLoad()) return {};
  const LoadResult result = readOnto(bench, path, op, options, open);
  // Nothing is measured on what is now on the bench, whether it loaded or not.
  for (int pin = 1; pin <= kContactRecords; ++pin)
    bench.contacts[size_t(pin - 1)] = freshContactRecord(bench.test, pin);
  return result;
}

}  // namespace qel::app
