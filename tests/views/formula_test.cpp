#include <gtest/gtest.h>

#include "views/formula.h"

namespace qel::views {
namespace {

PinLevels levels(std::initializer_list<std::pair<int, int>> set) {
  PinLevels l{};
  l.fill(2);
  for (auto [pin, v] : set) l[size_t(pin)] = uint8_t(v);
  return l;
}

TEST(Formula, EvaluatesLeftToRightWithoutPrecedence) {
  EXPECT_EQ(evaluateFormula("C1&C2", levels({{1, 1}, {2, 0}})), 0);
  EXPECT_EQ(evaluateFormula("!(C1&C2)", levels({{1, 1}, {2, 0}})), 1);
  EXPECT_EQ(evaluateFormula("!(C1&C2)", levels({{1, 1}, {2, 1}})), 0);
  EXPECT_EQ(evaluateFormula("C1|C2&C3", levels({{1, 1}, {2, 0}, {3, 0}})), 0);
  EXPECT_EQ(evaluateFormula("C12XC3", levels({{12, 1}, {3, 1}})), 0);
  EXPECT_EQ(evaluateFormula("C12XC3", levels({{12, 0}, {3, 1}})), 1);
  EXPECT_EQ(evaluateFormula("C1*C2", levels({{1, 1}, {2, 1}})), 1);
  EXPECT_EQ(evaluateFormula("C1|(C2&C3)", levels({{1, 0}, {2, 1}, {3, 1}})), 1);
  EXPECT_EQ(evaluateFormula("!(!(C1)|C2)", levels({{1, 1}, {2, 0}})), 1);
  EXPECT_EQ(evaluateFormula("C5", levels({{5, 1}})), 1);
}

TEST(Formula, UndecidableFormulasGiveTwo) {
  EXPECT_EQ(evaluateFormula("C1&C2", levels({{1, 1}})), 2);  // pin 2 is don't care
  EXPECT_EQ(evaluateFormula("C1&C", levels({{1, 1}})), 2);
  EXPECT_EQ(evaluateFormula("C77", levels({})), 2);
  EXPECT_EQ(evaluateFormula("C1)", levels({{1, 1}})), 2);  // unbalanced
  EXPECT_EQ(evaluateFormula("", levels({})), 2);
  // Compiled once, evaluated over many cycles, the same answers.
  const CompiledFormula f("!(C1&C2)|C3");
  EXPECT_EQ(f.pins(), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(f.evaluate(levels({{1, 1}, {2, 1}, {3, 0}})), 0);
  EXPECT_EQ(f.evaluate(levels({{1, 1}, {2, 1}, {3, 1}})), 1);
}

}  // namespace
}  // namespace qel::views
