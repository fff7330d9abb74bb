#include "views/comparison.h"

#include "views/cycle_comparison.h"

namespace qel::views {

std::string comparisonCounterText(int32_t errorCount) {
  std::string n = std::to_string(errorCount);
  if (n.size() == 1) n = "0" + n;
  return (n.size() == 3 ? "000/" : "00/") + n;
}

std::string navigationCounterText(const ErrorList& list) {
  return std::to_string(list.currentError) + "/" + std::to_string(list.errorCount);
}

void compareResults(const TestDescription& t, ErrorList& list, Operator& op) {
  list.errorCycles.clear();
  list.errorCount = 0;
  list.mismatchCount = 0;
  op.progressCountersVisible(true);
  op.progressCounters(0, 0);

  const CycleComparison compare(t);
  int lastPercent = -1;
  for (int c = 1; c <= t.cycleCount && list.errorCount < kMaxErrors; ++c) {
    const int percent = int(int64_t(c) * 100 / t.cycleCount);
    if (percent != lastPercent) {
      op.progressGauge(percent);
      lastPercent = percent;
    }
    const CycleMismatch m = compare.compare(c);
    if (m.any()) {
      if (m.driven) ++list.mismatchCount;
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
