#pragma once
// The comparison run's cell rule over whole cycles: which pins of a cycle disagree with the
// expected levels, and whether on a driven or a read pin.

#include <cstdint>
#include <memory>
#include <vector>

#include "model/test_description.h"
#include "views/formula.h"

namespace qel::views {

struct CycleMismatch {
  uint64_t pins = 0;  // pin p at bit p - 1
  bool driven = false;
  bool read = false;
  bool any() const { return driven || read; }
};

class CycleComparison {
 public:
  explicit CycleComparison(const TestDescription& test);
  CycleComparison(const CycleComparison&) = delete;
  CycleComparison& operator=(const CycleComparison&) = delete;

  CycleMismatch compare(int cycle) const;
  // The pins that have a row, and so are compared, pin p at bit p - 1.
  uint64_t comparedPins() const { return comparedPins_; }

 private:
  struct RowPlan {
    int slot;
    int pin;
    bool alwaysDriven;  // an input
    bool io;            // driven or read by its direction bit
    const CompiledFormula* formula;
  };

  const TestDescription& t_;
  std::vector<std::unique_ptr<CompiledFormula>> formulas_;
  std::vector<RowPlan> cellRows_, formulaRows_;
  uint64_t wordRows_ = 0, inputs_ = 0, inOut_ = 0, comparedPins_ = 0;
};

}  // namespace qel::views
