#pragma once
// Steps shared by the expansions: preparation, completion, the wait window, word checks.

#include <cstdint>
#include <string>
#include <string_view>

#include "algorithms/expansion.h"

namespace qel::algorithms {

inline constexpr std::string_view kWaitCaption = "Загрузка алгоритма";
inline constexpr std::string_view kWaitLabel = "Подождите - идет загрузка....";
inline constexpr std::string_view kDiagramSizeError = "Error DiagrSize";

void prepareExpansion(const ExpansionOptions& options);

// Every result cell not measured, every input pin driven in every cycle, views redrawn.
void completeExpansion(TestDescription& test, Operator& op);

// A word index that names a word with at least one pin; nullptr otherwise.
const DataWord* usableWord(const TestDescription& test, int32_t index);

// Grows or trims the test to n cycles; reports "Error DiagrSize" and returns false when refused.
bool resizeForExpansion(TestDescription& test, Operator& op, int64_t n);

// The cycle after the test reads as undefined.
void markCycleAfterTest(TestDescription& test);

}  // namespace qel::algorithms
