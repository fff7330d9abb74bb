#include <gtest/gtest.h>

#include "fake_driver.h"
#include "tester/channel_map.h"
#include "tester/tester_link.h"

using namespace qel;
using namespace qel::tester;
using qel::testing::FakeDriver;

namespace {
struct Rig {
  FakeDriver driver;
  ManualClock clock;
  Port port{driver, clock};
  TesterLink link{port, clock};
  Rig() { port.openPort(); }
};
}  // namespace

TEST(Port, OpenOnceLogAndStatus) {
  FakeDriver driver;
  ManualClock clock;
  Port port(driver, clock);
  driver.openStatus = 2;
  EXPECT_TRUE(port.openPort());
  EXPECT_EQ(port.log().lines().back(), "00:00:00: Открываем порт...ОШИБКА [2]");
  EXPECT_FALSE(port.isOpen());
  driver.openStatus = 0;
  EXPECT_FALSE(port.openPort());
  EXPECT_TRUE(port.isOpen());
  EXPECT_EQ(port.log().lines().back(), "00:00:00: Открываем порт...OK");
  // A second open does not touch the driver and reports the last status.
  driver.queueResult = 4;
  uint32_t n = 0;
  EXPECT_TRUE(port.queuedBytes(n));
  EXPECT_TRUE(port.openPort());
  EXPECT_EQ(driver.opens, 2);
  port.closePort();
  EXPECT_FALSE(port.isOpen());
  EXPECT_EQ(driver.closes, 1);
}

TEST(Port, AFailedDriverReadIsReportedNotUsed) {
  Rig r;
  r.driver.arrive({0, 0, 0, 0});
  r.driver.readResult = 4;
  uint8_t buffer[4] = {9, 9, 9, 9};
  uint32_t got = 7;
  EXPECT_TRUE(r.port.readBytes(4, buffer, got));
  EXPECT_EQ(got, 0u);
  EXPECT_EQ(r.port.lastStatus(), 4u);
  EXPECT_EQ(r.port.log().lines().back(), "00:00:00: Читаем из USB...ОШИБКА [4]");
  // The link does not take it as an answer either.
  uint16_t a = 0, b = 0;
  EXPECT_TRUE(r.link.readWordPair(a, b));
  // A failed queue query blocks the read that follows until a call succeeds.
  r.driver.readResult = 0;
  r.driver.queueResult = 4;
  uint32_t n = 0;
  r.port.queuedBytes(n);
  EXPECT_TRUE(r.port.readBytes(4, buffer, got));
  EXPECT_EQ(r.driver.reads, 2);  // the direct read and the pair's; none now
}

TEST(TesterLink, AcknowledgementWaits) {
  {
    Rig r;  // 7, 7, 0 one per poll: stray bytes are skipped
    r.driver.arrivals = {{7}, {7}, {0}};
    EXPECT_FALSE(r.link.waitAck());
    EXPECT_EQ(r.driver.reads, 3);
  }
  {
    Rig r;
    r.driver.arrivals = {{}, {1}};
    EXPECT_TRUE(r.link.waitAck());
  }
  {
    Rig r;  // no answer: about 4 s
    const int64_t before = r.clock.sleptMs();
    EXPECT_TRUE(r.link.waitAck());
    EXPECT_EQ(r.clock.sleptMs() - before, 4000);
    // Twenty queries in the first millisecond, then one a millisecond, and one at the limit.
    EXPECT_EQ(r.driver.queries, 20 + 3999 + 1);
  }
  {
    Rig r;  // a stop request ends the wait at the first empty poll
    std::atomic<bool> stop{true};
    r.link.setStopFlag(&stop);
    const int64_t before = r.clock.sleptMs();
    EXPECT_TRUE(r.link.waitAck());
    EXPECT_EQ(r.clock.sleptMs(), before);
    EXPECT_TRUE(r.link.readExact(nullptr, 4));
    EXPECT_EQ(r.driver.queries, 2);
  }
}

TEST(TesterLink, ShortAnswersAreSeenWithinMicroseconds) {
  {
    Rig r;  // an acknowledgement at the third poll
    r.driver.arrivals = {{}, {}, {kAckDone}};
    const int64_t before = r.clock.sleptMicros();
    EXPECT_FALSE(r.link.waitAck());
    EXPECT_EQ(r.clock.sleptMicros() - before, 100);
  }
  {
    Rig r;  // a short answer at the second poll
    r.driver.arrivals = {{}, {1, 2, 3, 4}};
    const int64_t before = r.clock.sleptMicros();
    uint16_t first = 0, second = 0;
    EXPECT_FALSE(r.link.readWordPair(first, second));
    EXPECT_EQ(r.clock.sleptMicros() - before, 50);
  }
  {
    Rig r;  // within a long answer the wait goes a millisecond at a time
    r.driver.arrivals = {{}, {1, 2, 3, 4}};
    const int64_t before = r.clock.sleptMicros();
    uint16_t first = 0, second = 0;
    EXPECT_FALSE(r.link.readWordPair(first, second, true));
    EXPECT_EQ(r.clock.sleptMicros() - before, 1000);
  }
}

TEST(TesterLink, AnswerReadsAndWordOrder) {
  Rig r;
  // Three bytes never make a pair: about 10 s and nothing read.
  r.driver.arrive({1, 2, 3});
  uint16_t first = 0, second = 0;
  EXPECT_TRUE(r.link.readWordPair(first, second));
  EXPECT_EQ(r.clock.sleptMs(), 500 + 10000);
  EXPECT_EQ(r.driver.reads, 0);
  r.driver.arrive({4});
  EXPECT_FALSE(r.link.readWordPair(first, second));
  EXPECT_EQ(first, 0x0102);
  EXPECT_EQ(second, 0x0304);
  // A read that delivers less than the queue promised is no answer.
  r.driver.arrive({5, 6, 7, 8});
  r.driver.readLimit = 2;
  EXPECT_TRUE(r.link.readWordPair(first, second));
  EXPECT_EQ(first, 0x0102);
  r.driver.readLimit = UINT32_MAX;

  EXPECT_FALSE(r.link.writeWordPair(300, 0xABCD));
  EXPECT_EQ(r.driver.writes.back(), (std::vector<uint8_t>{1, 44, 0xAB, 0xCD}));
  std::vector<uint8_t> frame;
  TesterLink::appendWord(frame, 300);
  TesterLink::appendByte(frame, 7);
  EXPECT_EQ(frame, (std::vector<uint8_t>{1, 44, 7}));
  EXPECT_FALSE(r.link.sendCode(0xA1));
  EXPECT_EQ(r.driver.writes.back(), std::vector<uint8_t>{0xA1});
}

TEST(TesterLink, PresenceDrainsWhatWasWaiting) {
  FakeDriver driver;
  ManualClock clock;
  Port port(driver, clock);
  TesterLink link(port, clock);
  driver.arrivals = {{5, 6, 7}, {8}};
  EXPECT_FALSE(link.checkPresence());
  EXPECT_TRUE(driver.rx.empty());
  EXPECT_TRUE(driver.arrivals.empty());
  driver.openStatus = 2;
  link.closeConnection();
  EXPECT_TRUE(link.checkPresence());
}

TEST(ChannelMap, RowsAndTwentyPinLayout) {
  EXPECT_EQ(packageIndexOf(8), 0);
  EXPECT_EQ(packageIndexOf(14), 1);
  EXPECT_EQ(packageIndexOf(18), 6);
  EXPECT_EQ(packageIndexOf(32), 7);
  EXPECT_EQ(packageIndexOf(40), 0);
  EXPECT_FALSE(hasChannelRow(40));
  const int row20 = packageIndexOf(20);
  const std::vector<int> expected = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 25, 24, 23, 22, 21, 20, 19, 18, 17, 16};
  for (int k = 0; k < 20; ++k) EXPECT_EQ(channelOf(row20, k), expected[size_t(k)]) << "pin " << k + 1;
  EXPECT_EQ(channelOf(row20, 20), 0);
  const std::vector<int> fourteen = {0, 1, 2, 3, 4, 5, 6, 22, 21, 20, 19, 18, 17, 16};
  for (int k = 0; k < 14; ++k) EXPECT_EQ(channelOf(1, k), fourteen[size_t(k)]);

  Rig r;
  r.driver.arrive({0});
  std::vector<int32_t> types(20, 1);
  TestParameters p;
  p.pinCount = 20;
  p.pinTypeCodes = types;
  p.cycleCount = 10;
  EXPECT_FALSE(r.link.setTestParameters(p));
  EXPECT_EQ(r.link.state().channelPin[16], 20);
  EXPECT_EQ(r.link.state().channelPin[25], 11);
  EXPECT_EQ(r.link.state().channelPin[10], 0);
}

TEST(Port, LogKeepsTheNewestLines) {
  PortLog log(3);
  log.append("alone");  // on an empty log: a line of its own
  for (int i = 0; i < 4; ++i) log.add("t: ", "line " + std::to_string(i));
  log.append("OK");
  EXPECT_EQ(log.lines(), (std::vector<std::string>{"t: line 1", "t: line 2", "t: line 3OK"}));
  EXPECT_EQ(log.dropped(), 2u);
}
