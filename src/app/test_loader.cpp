#include "app/test_loader.h"

#include <algorithm>

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

LoadResult loadTest(Workspace& ws, const std::string& path, Operator& op) {
  return loadTest(ws, path, op, [&path] { return testfile::readFileLines(path); });
}

LoadResult loadTest(Workspace& ws, const std::string& path, Operator& op,
                    const std::function<testfile::FileLines()>& read) {
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
  t.levels = 26409;
  t.cycleTime = 2;

  const ParseOutcome parsed = parseTest(file, t, op);
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
