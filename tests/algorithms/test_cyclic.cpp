#include <gtest/gtest.h>

#include "algorithms/expansion.h"
#include "recording_operator.h"
#include "template_builder.h"

namespace qel::algorithms {
namespace {

using qel::testing::TemplateBuilder;

TestDescription& counterTemplate(TemplateBuilder& b, int count, int first, int last) {
  b.signal(1, "_-_-").signal(2, "__--").signal(3, "*-*_");
  TestDescription& t = b.loaded(1);
  t.algorithms.cyclic = {true, count, first, last};
  return t;
}

TEST(ExpandCyclic, RepeatsTheRangeAfterItselfAndKeepsTheCyclesAround) {
  TemplateBuilder b(8);
  TestDescription& t = counterTemplate(b, 3, 2, 3);
  bool emptied = false;
  ExpansionOptions options;
  options.emptyErrorList = [&] { emptied = true; };
  testing::RecordingOperator op;
  expandLoaded(t, op, options);

  EXPECT_TRUE(emptied);
  EXPECT_TRUE(op.events().empty());  // no wait window for the cyclic expansion
  ASSERT_EQ(t.cycleCount, 7);        // 3 + 2 * 2
  const std::string pin1 = "_-_-_-_";
  for (int c = 1; c <= 7; ++c) EXPECT_EQ(t.level(1, c), pin1[size_t(c - 1)] == '-' ? 1 : 0) << c;
  // Cycle 4 of the template is overwritten by the first copy of cycle 2.
  EXPECT_EQ(t.level(3, 4), kHigh);
  EXPECT_EQ(t.level(3, 5), kDontCare);
}

TEST(ExpandCyclic, OneCopyOrAnEmptyRangeChangesNothing) {
  for (auto [count, first, last] : {std::tuple{1, 1, 4}, {0, 1, 4}, {-3, 1, 4}, {3, 3, 2}, {3, 0, 2}}) {
    TemplateBuilder b(8);
    TestDescription& t = counterTemplate(b, count, first, last);
    testing::RecordingOperator op;
    expandCyclic(t, op, {});
    EXPECT_EQ(t.cycleCount, 4) << count << " " << first << " " << last;
    EXPECT_EQ(t.level(1, 4), kHigh);
  }
}

TEST(ExpandCyclic, ATestLongerThanTheCopiesIsNotShrunk) {
  TemplateBuilder b(8);
  b.cycles(10);
  TestDescription& t = counterTemplate(b, 2, 1, 2);
  testing::RecordingOperator op;
  expandCyclic(t, op, {});
  EXPECT_EQ(t.cycleCount, 10);
  EXPECT_EQ(t.level(1, 3), kLow);
  EXPECT_EQ(t.level(1, 4), kHigh);
}

TEST(ExpandCyclic, ACountPastTheDiagramLimitIsReportedAndNothingWritten) {
  TemplateBuilder b(8);
  TestDescription& t = counterTemplate(b, 2'000'000'000, 1, 4);
  testing::RecordingOperator op;
  expandCyclic(t, op, {});
  EXPECT_EQ(t.cycleCount, 4);
  ASSERT_EQ(op.messages().size(), 1u);
  EXPECT_EQ(op.messages()[0].text, "Error DiagrSize");
}

}  // namespace
}  // namespace qel::algorithms
