// What the diagnosis says when the reads do not fit any single fault, fit several cells, or show no
// fault of the memory at all; the faults themselves are tried on the virtual tester (engine tests).

#include <gtest/gtest.h>

#include "algorithms/expansion.h"
#include "algorithms/memory_plan.h"
#include "diagnosis/memory_diagnosis.h"
#include "recording_operator.h"
#include "template_builder.h"

namespace qel::diagnosis {
namespace {

using qel::testing::TemplateBuilder;

// 16 x 2 RAM: A0..A3 on pins 1..4, D0..D1 on 5..6, /WE on 7; March C- over every address.
TestDescription& marchTest(TemplateBuilder& b) {
  for (int p = 1; p <= 4; ++p) b.pin(p, "I");
  b.pin(5, "I/O").pin(6, "I/O").pin(7, "I").word(0, {1, 2, 3, 4}).word(1, {5, 6}).signal(7, "_---");
  testing::twoBlockMemoryTest(b.t.algorithms.march, 15);
  TestDescription& t = b.loaded(4);
  testing::RecordingOperator op;
  algorithms::expandMarch(t, op, {});
  // A good chip: every level read as expected.
  for (int c = 1; c <= t.cycleCount; ++c)
    for (int pin = 1; pin <= t.pinCount; ++pin)
      t.setResultCode(pin, c, t.level(pin, c) == kHigh ? kReadHigh : kReadLow);
  return t;
}

// Bit 0 of the cell reads as the level in every read of the test.
void stickCell(TestDescription& t, uint32_t address, uint8_t level) {
  const auto plan = algorithms::memoryPlan(t);
  ASSERT_TRUE(plan);
  for (const algorithms::MemoryAccess& a : plan->accesses)
    if (!a.write && a.address == address) t.setResultCode(5, a.dataCycle, level ? kReadHigh : kReadLow);
}

// Turns the reads of these addresses in the last element (r0) into failures of bit 0.
void failLastReads(TestDescription& t, std::initializer_list<uint32_t> addresses) {
  const auto plan = algorithms::memoryPlan(t);
  ASSERT_TRUE(plan);
  const size_t lastElement = plan->accesses.size() - 16;
  for (uint32_t a : addresses) {
    const algorithms::MemoryAccess& read = plan->accesses[lastElement + a];
    ASSERT_FALSE(read.write);
    t.setResultCode(5, read.dataCycle, t.level(5, read.dataCycle) == kHigh ? kReadLow : kReadHigh);
  }
}

TEST(MemoryDiagnosis, NothingToSayWithoutErrorsOrForATestThatIsNoLongerItsExpansion) {
  TemplateBuilder b(8);
  TestDescription& t = marchTest(b);
  EXPECT_TRUE(memoryDiagnosis(t, 0).empty());
  failLastReads(t, {3});
  EXPECT_FALSE(memoryDiagnosis(t, 1).empty());
  t.algorithms.march.finalAddress = 14;  // changed since the expansion
  EXPECT_TRUE(memoryDiagnosis(t, 1).empty());
  t.algorithms.march.finalAddress = 15;
  t.algorithmNumber = 0;  // a plain test, as a saved result is
  EXPECT_TRUE(memoryDiagnosis(t, 1).empty());
}

TEST(MemoryDiagnosis, ErrorsOutsideTheDataAndAChipThatAnswersNothing) {
  TemplateBuilder b(8);
  TestDescription& t = marchTest(b);
  t.setResultCode(7, 1, kReadHigh);  // /WE did not go low
  EXPECT_EQ(
      memoryDiagnosis(t, 1),
      std::vector<std::string>{"Диагностика памяти: данные читаются верно; ошибки - на других выводах"});
  for (int c = 1; c <= t.cycleCount; ++c)
    if (t.isRead(5, c)) t.setResultCode(5, c, kReadOther4), t.setResultCode(6, c, kReadOther4);
  EXPECT_EQ(memoryDiagnosis(t, 80),
            std::vector<std::string>{"Диагностика памяти: ни одно чтение не верно: микросхема не отвечает "
                                     "(проверьте питание, выбор микросхемы и разрешение выхода)"});
}

TEST(MemoryDiagnosis, SeveralCellsEachOnTheirLineAndTooManyAsASummary) {
  {
    TemplateBuilder b(8);
    TestDescription& t = marchTest(b);
    stickCell(t, 2, 1);
    stickCell(t, 9, 0);
    const auto lines = memoryDiagnosis(t, 4);
    ASSERT_EQ(lines.size(), 2u) << lines.at(0);
    EXPECT_EQ(lines[0].substr(0, lines[0].find(" или")),
              "Диагностика памяти: неисправна ячейка 2h, бит 0: всегда 1");
    EXPECT_EQ(lines[1].substr(0, lines[1].find(" или")),
              "Диагностика памяти: неисправна ячейка 9h, бит 0: всегда 0");
  }
  // Nine failing cells are more than the diagnosis looks at one by one.
  TemplateBuilder b(8);
  TestDescription& t = marchTest(b);
  failLastReads(t, {0, 1, 2, 3, 4, 5, 6, 7, 8});
  EXPECT_EQ(
      memoryDiagnosis(t, 9),
      std::vector<std::string>{"Диагностика памяти: ошибки чтения по 9 адресам (0h, 1h, 2h, 3h, 4h, ...), "
                               "линии данных D0 (вывод 5)"});
}

TEST(MemoryDiagnosis, TheLinesGoToBothLogs) {
  TemplateBuilder b(8);
  TestDescription& t = marchTest(b);
  failLastReads(t, {5});
  testing::RecordingOperator op;
  reportMemoryDiagnosis(t, 1, op);
  const auto line = memoryDiagnosis(t, 1).at(0);
  EXPECT_EQ(op.events(), (std::vector<std::string>{"log " + line, "progress log " + line}));
}

}  // namespace
}  // namespace qel::diagnosis
