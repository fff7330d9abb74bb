#include "views/comparison.h"

#include <memory>

#include "views/formula.h"
#include "views/mismatch.h"

namespace qel::views {

std::string comparisonCounterText(int32_t errorCount) {
  std::string n = std::to_string(errorCount);
  if (n.size() == 1) n = "0" + n;
  return (n.size() == 3 ? "000/" : "00/") + n;
}

std::string navigationCounterText(const ErrorList& list) {
  return std::to_string(list.currentError) + "/" + std::to_string(list.errorCount);
}

namespace {

struct RowPlan {
  int slot;
  int pin;
  bool alwaysDriven;  // an input
  bool io;            // driven or read by its direction bit
  const CompiledFormula* formula;
};

}  // namespace

void compareResults(const TestDescription& t, ErrorList& list, Operator& op) {
  list.errorCycles.clear();
  list.errorCount = 0;
  list.mismatchCount = 0;
  op.progressCountersVisible(true);
  op.progressCounters(0, 0);

  // Rows on slots 1..64 whose pin is the slot are compared a whole cycle at a time; the rest, and
  // the formula outputs, cell by cell.
  std::vector<std::unique_ptr<CompiledFormula>> formulas;
  std::vector<RowPlan> cellRows, formulaRows;
  uint64_t wordRows = 0, inputs = 0, inOut = 0;
  for (int r = 1; r <= t.pinCount; ++r) {
    const int slot = t.rowSignal(r);
    if (slot < 1 || slot > kMaxSignal) continue;
    const int pin = slot > 50 ? slot - 50 : slot;
    RowPlan p{slot, pin, t.pinTypeCodeOf(pin) == kInput, t.pinTypeCodeOf(pin) == kInOut, nullptr};
    if (slot == pin && slot <= 64) {
      const uint64_t bit = uint64_t(1) << (slot - 1);
      wordRows |= bit;
      if (p.alwaysDriven) inputs |= bit;
      if (p.io) inOut |= bit;
    } else {
      cellRows.push_back(p);
    }
    if (t.pins[size_t(pin)].typeText == "F") {
      formulas.push_back(std::make_unique<CompiledFormula>(t.formula[size_t(pin)]));
      p.formula = formulas.back().get();
      formulaRows.push_back(p);
    }
  }

  int lastPercent = -1;
  PinLevels levels{};
  for (int c = 1; c <= t.cycleCount && list.errorCount < kMaxErrors; ++c) {
    const int percent = int(int64_t(c) * 100 / t.cycleCount);
    if (percent != lastPercent) {
      op.progressGauge(percent);
      lastPercent = percent;
    }
    bool readError = false;
    bool drivenError = false;
    if (wordRows != 0) {
      const CycleCells cells = t.cells(c);
      const ResultMasks r = t.resultMasks(c);
      // A defined level is met only by its own reading: low by code 1, high by code 2.
      const uint64_t met = (~cells.high & r.low) | (cells.high & r.high);
      const uint64_t wrong = ~cells.dontCare & ~met & wordRows;
      if (wrong != 0) [[unlikely]] {
        const uint64_t driven = inputs | (inOut & ~cells.read);
        drivenError = (wrong & driven) != 0;
        readError = (wrong & ~driven) != 0;
      }
    }
    for (const auto& p : cellRows) {
      if (readError && drivenError) break;
      if (plainMismatch(t.level(p.slot, c), t.resultCode(p.pin, c), MismatchRule::Comparison)) {
        const bool driven = p.alwaysDriven || (p.io && !t.isRead(p.pin, c));
        (driven ? drivenError : readError) = true;
      }
    }
    if (!formulaRows.empty() && !readError) {
      levels = resultLevels(t, c);
      for (const auto& p : formulaRows)
        if (formulaMismatch(t, p.pin, c, *p.formula, levels, MismatchRule::Comparison)) {
          readError = true;
          break;
        }
    }
    if (readError || drivenError) {
      if (drivenError) ++list.mismatchCount;
      ++list.errorCount;
      list.errorCycles.push_back(c);
      op.progressCounters(list.errorCount, list.mismatchCount);
    }
  }
  op.progressLog("Всего найдено ошибок: " + std::to_string(list.errorCount));
  op.progressLog("Количество несовпадений: " + std::to_string(list.mismatchCount));
  op.errorCounter(comparisonCounterText(list.errorCount));
}

std::optional<int32_t> navigate(ErrorList& list, Step step) {
  if (list.errorCount == 0) return std::nullopt;
  auto next = [&] {
    list.currentError = list.currentError < list.errorCount ? list.currentError + 1 : list.errorCount;
  };
  auto previous = [&] { list.currentError = list.currentError - 1 < 1 ? 1 : list.currentError - 1; };
  switch (step) {
    case Step::Next:
      next();
      break;
    case Step::Previous:
      previous();
      break;
    case Step::First:
      list.currentError = 1;
      previous();
      break;
    case Step::Last:
      list.currentError = list.errorCount - 1;
      next();
      break;
  }
  return list.cycleOf(list.currentError);
}

}  // namespace qel::views
