#include <gtest/gtest.h>

#include "algorithms/expansion.h"
#include "algorithms/memory_plan.h"
#include "recording_operator.h"
#include "template_builder.h"

namespace qel::algorithms {
namespace {

using qel::testing::TemplateBuilder;
using qel::testing::wordDirection;
using qel::testing::wordLevels;

// Address pins 1..2, data pins 3..4, /WE on 5: a two-cycle write block, then a two-cycle read block.
void memoryTemplate(TemplateBuilder& b, MemoryTestParams& p) {
  b.pin(1, "I").pin(2, "I").pin(3, "I/O").pin(4, "I/O").pin(5, "I").word(0, {1, 2}).word(1, {3, 4});
  b.signal(5, "_---");
  testing::twoBlockMemoryTest(p, 3);
}

TestDescription& marchTemplate(TemplateBuilder& b, MarchBackground background) {
  memoryTemplate(b, b.t.algorithms.march);
  b.t.algorithms.march.background = background;
  return b.loaded(4);
}

// (address, data) of the access each pass makes, read off the expanded reference.
struct Pass {
  bool write;
  long address, data;
  bool operator==(const Pass&) const = default;
};
std::vector<Pass> passes(const TestDescription& t) {
  std::vector<Pass> out;
  for (int c = 1; c + 1 <= t.cycleCount; c += 2) {
    const bool write = t.level(5, c) == kLow;
    out.push_back({write, wordLevels(t, 0, c), wordLevels(t, 1, write ? c : c + 1)});
  }
  return out;
}

TEST(ExpandMarch, TenAccessesPerAddressInMarchCMinusOrder) {
  TemplateBuilder b(8);
  TestDescription& t = marchTemplate(b, MarchBackground::Solid);
  testing::RecordingOperator op;
  expandMarch(t, op, {});
  ASSERT_EQ(t.cycleCount, 4 * 5 * 4);
  std::vector<Pass> expected;
  for (long x = 0; x < 4; ++x) expected.push_back({true, x, 0});
  for (auto [up, from] : {std::pair{true, 0L}, {true, 3L}, {false, 0L}, {false, 3L}})
    for (long i = 0; i < 4; ++i) {
      const long x = up ? i : 3 - i;
      expected.push_back({false, x, from});
      expected.push_back({true, x, 3 - from});
    }
  for (long x = 0; x < 4; ++x) expected.push_back({false, x, 0});
  EXPECT_EQ(passes(t), expected);
  // Written data is driven, read data expected, in the template's data windows.
  EXPECT_EQ(wordDirection(t, 1, 1), 0);
  EXPECT_EQ(wordDirection(t, 1, 2), 0);
  EXPECT_EQ(wordDirection(t, 1, 4 * 2 + 2), 1);
  EXPECT_EQ(wordLevels(t, 1, 4 * 2 + 1), -1);  // before the read window: the template's don't care
  EXPECT_EQ(t.level(1, t.cycleCount + 1), kDontCare);
  EXPECT_EQ(op.events().front(), "wait show Загрузка алгоритма | Подождите - идет загрузка....");
  EXPECT_EQ(op.events().back(), "wait close");
}

TEST(ExpandMarch, TheCheckerboardAlternatesBitsAndAddresses) {
  TemplateBuilder b(8);
  TestDescription& t = marchTemplate(b, MarchBackground::Checkerboard);
  testing::RecordingOperator op;
  expandMarch(t, op, {});
  const auto p = passes(t);
  // "0" is 01 at even and 10 at odd addresses; "1" its complement.
  EXPECT_EQ(p[0], (Pass{true, 0, 1}));
  EXPECT_EQ(p[1], (Pass{true, 1, 2}));
  EXPECT_EQ(p[4], (Pass{false, 0, 1}));
  EXPECT_EQ(p[5], (Pass{true, 0, 2}));
  EXPECT_EQ(p.back(), (Pass{false, 3, 2}));
}

TEST(ExpandMarch, AReversedRangeIsPutInOrderAndMissingWordsAreRefused) {
  TemplateBuilder b(8);
  TestDescription& t = marchTemplate(b, MarchBackground::Solid);
  t.algorithms.march.startAddress = 2;
  t.algorithms.march.finalAddress = 1;
  testing::RecordingOperator op;
  expandMarch(t, op, {});
  EXPECT_EQ(t.cycleCount, 2 * 5 * 4);
  EXPECT_EQ(op.lines("log "),
            std::vector<std::string>{"Начальный адрес March C- больше конечного: адреса переставлены"});

  TemplateBuilder bad(8);
  TestDescription& u = marchTemplate(bad, MarchBackground::Solid);
  u.algorithms.march.readDataWord = 7;
  testing::RecordingOperator op2;
  expandMarch(u, op2, {});
  EXPECT_EQ(u.cycleCount, 4);
  EXPECT_EQ(op2.messages().at(0).text,
            "Слово данных чтения алгоритма March C- не задано или не содержит контактов. Тест не развернут.");
}

// Every access of a plan is where the expansion put it: its address and data in its data cycle.
void expectPlanMatches(const TestDescription& t, const MemoryPlan& plan) {
  ASSERT_FALSE(plan.accesses.empty());
  for (const MemoryAccess& a : plan.accesses) {
    SCOPED_TRACE(a.dataCycle);
    EXPECT_EQ(wordLevels(t, 1, a.dataCycle), long(a.data));
    EXPECT_EQ(wordLevels(t, 0, a.dataCycle), long(a.address));
    EXPECT_EQ(wordDirection(t, 1, a.dataCycle), a.write ? 0 : 1);
  }
}

TEST(MemoryPlan, ReplaysTheAccessesOfEveryExpansion) {
  {
    TemplateBuilder b(8);
    TestDescription& t = marchTemplate(b, MarchBackground::Checkerboard);
    testing::RecordingOperator op;
    expandMarch(t, op, {});
    const auto plan = memoryPlan(t);
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->accesses.size(), 40u);
    EXPECT_EQ(plan->addressWidth, 2);
    expectPlanMatches(t, *plan);
  }
  for (bool compressed : {true, false}) {
    TemplateBuilder b(8);
    memoryTemplate(b, b.t.algorithms.ram);
    TestDescription& t = b.loaded(3);
    ExpansionOptions o;
    o.compressedRamTest = compressed;
    testing::RecordingOperator op;
    expandRam(t, op, o);
    // Which of the two it was, the length says.
    const auto plan = memoryPlan(t);
    ASSERT_TRUE(plan);
    expectPlanMatches(t, *plan);
  }
  TemplateBuilder b(8);
  TestDescription& t = marchTemplate(b, MarchBackground::Solid);
  EXPECT_FALSE(memoryPlan(t));  // not expanded yet
  t.algorithmNumber = 0;
  EXPECT_FALSE(memoryPlan(t));
}

}  // namespace
}  // namespace qel::algorithms
