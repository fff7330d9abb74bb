#include "app/test_loader.h"

#include <algorithm>
#include <array>

#include "testfile/reader.h"
#include "views/formula.h"
#include "views/word_value.h"

namespace qel::app {

void rememberRecentFile(Workspace& ws, const std::string& path) {
  auto& list = ws.recentFiles;
  const auto before = list.size();
  list.erase(std::remove(list.begin(), list.end(), path), list.end());
  const bool removed = list.size() != before;
  list.insert(list.begin(), path);
  if (!removed || list.size() > kRecentFiles) list.pop_back();
  list.resize(kRecentFiles);
}

int fitCellWidth(int rulerWidth, int cycleCount) {
  const int w = cycleCount > 0 ? rulerWidth / cycleCount : 40;
  return std::clamp(w, 3, 40);
}

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

void reportUnreadable(const testfile::LineStream& in, const std::string& path, Operator& op) {
  if (!in.reason().empty()) op.log(std::string(testfile::kCannotOpen) + " " + path + ": " + in.reason());
  op.message(testfile::kCannotOpen, Icon::Error);
  op.waitClose();
}

}  // namespace

LoadResult loadTest(Workspace& ws, const std::string& path, Operator& op) {
  return loadTest(ws, path, op, [&path] { return testfile::LineStream::open(path); });
}

LoadResult loadTest(Workspace& ws, const std::string& path, Operator& op,
                    const std::function<testfile::FileLines()>& read) {
  testfile::FileLines file;
  return loadTest(ws, path, op, [&] {
    file = read();
    return file.ok() ? testfile::LineStream::over(file.data) : testfile::LineStream::unreadable(file.reason);
  });
}

LoadResult loadTest(Workspace& ws, const std::string& path, Operator& op,
                    const std::function<testfile::LineStream()>& open) {
  using namespace testfile;
  LoadResult result;
  auto& t = ws.test;
  t.loaded = false;
  t.chipName.clear();
  t.descriptionFile.clear();
  if (path.empty()) return result;
  ws.pagesVisible = false;
  op.redraw();
  rememberRecentFile(ws, path);

  t.algorithmNumber = 0;
  ws.errors.clear();
  op.errorCounter(views::comparisonCounterText(0));
  t.reset();
  t.clearStorageFailed();
  t.fileName = path;
  ws.caption = "Внутрисхемный тестер цифровых микросхем - " + path;
  op.log("Загруска теста:" + path);

  LineStream in = open();
  const UnresetFields before(t);
  if (!readPackage(in, t)) {
    // The whole file is read before its package is judged: a file that cannot be read says so.
    t.pinCount = 8;
    if (!readToEnd(in)) {
      reportUnreadable(in, path, op);
      return result;
    }
    op.message(kBadFormat, Icon::Warning);
    op.waitClose();
    return result;
  }
  op.waitShow("Загрузка Файла", "Подождите - идет загрузка....");
  op.waitRange(0, 100);
  op.waitProgress(0);
  t.levels = 26409;
  t.cycleTime = 2;

  const ParseOutcome parsed = parseBody(in, t, op);
  if (!readToEnd(in)) {
    // Nothing of a file that cannot be read whole is kept.
    t.reset();
    before.restore(t);
    t.fileName = path;
    reportUnreadable(in, path, op);
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

  ws.busy = false;
  ws.testerNotInitialised = true;
  algorithms::expandLoaded(t, op, ws.expansion);
  if (t.storageFailed()) op.message(kDiagramSize, Icon::Error);
  t.clearResults();

  ws.pagesVisible = true;
  evaluateFormulaOutputs(t);
  ws.cellWidth = fitCellWidth(ws.rulerWidth, t.cycleCount);

  t.loaded = true;
  ws.testerNotInitialised = true;
  views::checkWordContactKinds(t, op, ws.showMessages);
  op.waitClose();
  if (parsed.readError) {
    ws.channelFault = false;
    ws.pagesVisible = false;
  }
  op.redraw();
  result.shown = ws.pagesVisible;
  result.readError = parsed.readError;
  return result;
}

}  // namespace qel::app
