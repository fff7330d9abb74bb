#include <gtest/gtest.h>

#include "recording_operator.h"
#include "virtual_rig.h"

using namespace qel;
using qel::testing::VirtualRig;

namespace {

// A full block on a 7400: every input toggling.
std::vector<std::vector<uint8_t>> fullBlock(const VirtualRig& r) {
  std::vector<std::vector<uint8_t>> rows;
  for (int i = 0; i < tester::kMaxBlockCycles; ++i)
    rows.push_back(r.row({{1, i & 1}, {2, (i >> 1) & 1}, {4, (i >> 2) & 1}, {5, 1}}));
  return rows;
}

tester::InitOutcome initialise(VirtualRig& r, qel::testing::RecordingOperator& op) {
  return tester::initialiseTester(*r.link, op, r.test, {});
}

}  // namespace

TEST(LinkFaults, AbsentTester) {
  VirtualRig r(VirtualRig::chip("7400", {"absent"}));
  qel::testing::RecordingOperator op;
  EXPECT_EQ(initialise(r, op), tester::InitOutcome::NoLink);
  EXPECT_EQ(op.messages().at(0),
            (qel::testing::RecordingOperator::Message{"Нет связи с тестером", Icon::Error}));
  ASSERT_EQ(r.port->log().lines().size(), 1u);
  EXPECT_EQ(r.port->log().lines()[0], "00:00:00: Открываем порт...ОШИБКА [2]");
  EXPECT_FALSE(r.port->isOpen());
  EXPECT_EQ(r.clock.sleptMs(), 500);
}

TEST(LinkFaults, SilentTesterEndsEachWaitAtItsLimit) {
  {
    // Silent from the start: the reset is not acknowledged within about 4 s.
    VirtualRig r(VirtualRig::chip("7400", {"silent:0"}));
    qel::testing::RecordingOperator op;
    EXPECT_EQ(initialise(r, op), tester::InitOutcome::ResetFailed);
    EXPECT_EQ(op.messages().at(0).text, tester::kResetFailedText);
    EXPECT_EQ(r.clock.sleptMs(), 500 + 1 + 4000);
  }
  {
    // Silent half way through a block's answers: the answer wait gives up after about 10 s.
    const int initBytes = 5;  // reset, RAM test, parameters, verification, power on
    VirtualRig r(VirtualRig::chip("7400", {"silent:" + std::to_string(initBytes + 2 + 4 * 8191)}));
    qel::testing::RecordingOperator op;
    ASSERT_EQ(initialise(r, op), tester::InitOutcome::Ok);
    ASSERT_FALSE(r.link->powerOn());
    const int64_t before = r.clock.sleptMs();
    bool failed = false;
    r.run(fullBlock(r), &failed);
    EXPECT_TRUE(failed);
    EXPECT_EQ(r.clock.sleptMs() - before, 10000);
  }
}

TEST(LinkFaults, StrayBytesBeforeAcknowledgementsAreSkipped) {
  VirtualRig r(VirtualRig::chip("7400", {"stray:3"}));
  qel::testing::RecordingOperator op;
  ASSERT_EQ(initialise(r, op), tester::InitOutcome::Ok);
  ASSERT_FALSE(r.link->powerOn());
  std::vector<int32_t> levels(14, 0);
  EXPECT_FALSE(r.link->readLevels(levels));
  EXPECT_EQ(levels[13], 255);
  bool failed = true;
  const auto result = r.run({r.row({{1, 1}, {2, 1}})}, &failed);
  EXPECT_FALSE(failed);
  EXPECT_EQ(result[2], 1);
}

TEST(LinkFaults, LinkBreakingMidBlock) {
  VirtualRig r(VirtualRig::chip("7400", {"break:20000"}));
  qel::testing::RecordingOperator op;
  ASSERT_EQ(initialise(r, op), tester::InitOutcome::Ok);
  ASSERT_FALSE(r.link->powerOn());
  const int64_t before = r.clock.sleptMs();
  bool failed = false;
  const auto result = r.run(fullBlock(r), &failed);
  EXPECT_TRUE(failed);
  EXPECT_TRUE(r.session->driver().broken());
  EXPECT_EQ(r.port->lastStatus(), d2xx::kIoError);
  EXPECT_LE(r.clock.sleptMs() - before, 10000);
  // Every later command fails too, within its limit, and the port cannot be opened again.
  EXPECT_TRUE(r.link->powerOff());
  r.link->closeConnection();
  EXPECT_TRUE(r.link->checkPresence());
}

TEST(LinkFaults, StopRequestEndsABlockAtOnce) {
  VirtualRig r(VirtualRig::chip("7400", {"silent:6"}));
  qel::testing::RecordingOperator op;
  ASSERT_EQ(initialise(r, op), tester::InitOutcome::Ok);
  std::atomic<bool> stop{true};
  r.link->setStopFlag(&stop);
  const int64_t before = r.clock.sleptMs();
  bool failed = false;
  r.run(fullBlock(r), &failed);
  EXPECT_TRUE(failed);
  EXPECT_LE(r.clock.sleptMs() - before, 10);
}

TEST(LinkFaults, PacingAtUsbRate) {
  auto config = VirtualRig::chip("7400", {"pace:1000000"});
  VirtualRig r(config);
  qel::testing::RecordingOperator op;
  ASSERT_EQ(initialise(r, op), tester::InitOutcome::Ok);
  ASSERT_FALSE(r.link->powerOn());
  const int64_t before = r.clock.nowMicros();
  bool failed = true;
  const auto result = r.run(fullBlock(r), &failed);
  EXPECT_FALSE(failed);
  // 65,528 bytes out and 65,528 back at 1 MB/s: 131 ms of link time, the answers only once the
  // image is out; the program reads the last of them within a fine poll.
  EXPECT_GE(r.clock.nowMicros() - before, 131'000);
  EXPECT_LE(r.clock.nowMicros() - before, 131'200);
  EXPECT_EQ(result[size_t(3 * 14 + 2)], 1);  // cycle 4: 1 NAND 1
}

TEST(LinkFaults, LatencyDelaysEveryAnswer) {
  VirtualRig r(VirtualRig::chip("7400", {"latency:16"}));
  ASSERT_FALSE(r.link->checkPresence());
  const int64_t before = r.clock.nowMicros();
  EXPECT_FALSE(r.link->resetTester());
  EXPECT_EQ(r.clock.nowMicros() - before, 16'000);  // seen in the first poll after it arrives
}
