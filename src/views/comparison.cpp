#include "views/comparison.h"

#include <array>
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

  std::vector<std::unique_ptr<CompiledFormula>> formulas;
  std::vector<RowPlan> plan;
  bool anyFormula = false;
  for (int r = 1; r <= t.pinCount; ++r) {
    const int slot = t.rowSignal(r);
    if (slot < 1 || slot > kMaxSignal) continue;
    const int pin = slot > 50 ? slot - 50 : slot;
    RowPlan p{slot, pin, t.pinTypeCodeOf(pin) == kInput, t.pinTypeCodeOf(pin) == kInOut, nullptr};
    if (t.pins[size_t(pin)].typeText == "F") {
      formulas.push_back(std::make_unique<CompiledFormula>(t.formula[size_t(pin)]));
      p.formula = formulas.back().get();
      anyFormula = true;
    }
    plan.push_back(p);
  }

  // Mismatch of the comparison rule by expected level and result code, one lookup a cell.
  static const auto kTable = [] {
    std::array<std::array<uint8_t, 256>, 256> table{};
    for (int e = 0; e < 256; ++e)
      for (int k = 0; k < 256; ++k)
        table[size_t(e)][size_t(k)] = plainMismatch(uint8_t(e), uint8_t(k), MismatchRule::Comparison);
    return table;
  }();

  const auto& ref = t.referenceBuffer();
  const auto& res = t.resultBuffer();
  const size_t pc = size_t(t.pinCount);
  int lastPercent = -1;
  PinLevels levels{};
  for (int c = 1; c <= t.cycleCount && list.errorCount < kMaxErrors; ++c) {
    const int percent = int(int64_t(c) * 100 / t.cycleCount);
    if (percent != lastPercent) {
      op.progressGauge(percent);
      lastPercent = percent;
    }
    const size_t refRow = size_t(c) * kReferenceRow;
    const size_t resRow = size_t(c - 1) * pc;
    const bool inside = refRow + kReferenceRow <= ref.size() && resRow + pc <= res.size();
    if (anyFormula) levels = resultLevels(t, c);
    bool readError = false;
    bool drivenError = false;
    for (const auto& p : plan) {
      const uint8_t e = inside ? ref[refRow + size_t(p.slot)] : t.level(p.slot, c);
      const uint8_t k = inside ? res[resRow + size_t(p.pin) - 1] : t.resultCode(p.pin, c);
      if (kTable[e][k]) [[unlikely]] {
        const bool driven = p.alwaysDriven || (p.io && !t.isRead(p.pin, c));
        (driven ? drivenError : readError) = true;
        if (readError && drivenError) break;
      }
      if (p.formula && formulaMismatch(t, p.pin, c, *p.formula, levels, MismatchRule::Comparison))
        readError = true;
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
