#include <gtest/gtest.h>

#include "fake_driver.h"
#include "recording_operator.h"
#include "tester/console.h"

using namespace qel;
using namespace qel::tester;
using qel::testing::FakeDriver;

TEST(Console, HexTokensAndReadReport) {
  EXPECT_EQ(parseHexTokens("A3 67 29 2 0 64 7 D0").bytes,
            (std::vector<uint8_t>{0xA3, 0x67, 0x29, 0x02, 0x00, 0x64, 0x07, 0xD0}));
  EXPECT_EQ(parseHexTokens("1  ff 1AB").bytes, (std::vector<uint8_t>{1, 0, 0xFF, 0xAB}));
  EXPECT_EQ(parseHexTokens("12 xyz").badToken, "xyz");
  EXPECT_TRUE(parseHexTokens("12 xyz").bytes.empty());
  EXPECT_EQ(readReport({0x0A, 0xFF, 0x00}), "Полученные байты: A FF 0");
}

TEST(Console, WindowCommands) {
  FakeDriver driver;
  ManualClock clock;
  Port port(driver, clock);
  TesterLink link(port, clock);
  qel::testing::RecordingOperator op;
  UsbConsole console(port, link, op);

  console.open();
  EXPECT_EQ(clock.sleptMs(), 1000);
  console.open();  // already open: nothing
  EXPECT_EQ(driver.opens, 1);

  EXPECT_TRUE(console.write("A3 67 29 2 0 64 7 D0", false));
  EXPECT_EQ(driver.writes.back(), (std::vector<uint8_t>{0xA3, 0x67, 0x29, 0x02, 0x00, 0x64, 0x07, 0xD0}));
  EXPECT_EQ(port.log().lines().back(), "00:00:01: Запись в USB (8 байт)...OK");
  EXPECT_TRUE(console.write("1 2", true));
  EXPECT_EQ(driver.writes.size(), 3u);
  EXPECT_FALSE(console.write("", false));
  EXPECT_EQ(op.messages().back(),
            (qel::testing::RecordingOperator::Message{"RIrori. Нечего писать!", Icon::Error}));
  EXPECT_FALSE(console.write("G1", false));
  EXPECT_EQ(driver.writes.size(), 3u);

  driver.arrive({0x0A, 0xFF, 0x00});
  EXPECT_EQ(console.read(), " Прочитано:  3");
  EXPECT_EQ(port.log().lines().back(), "00:00:01: Полученные байты: A FF 0");

  console.clear();
  EXPECT_EQ(driver.purges, 2);
  console.writeRkDk();
  EXPECT_EQ(driver.writes.size(), 3u + 1 + 2 * 8191);
  EXPECT_EQ(driver.writes.back(), (std::vector<uint8_t>{0, 0, 0xFF, 0xFF}));
  EXPECT_EQ(op.messages().back().text, "Всё ушло в аппарат");
  console.close();
  EXPECT_FALSE(port.isOpen());
  EXPECT_EQ(port.log().lines().back(), "00:00:01: Закрываем порт...OK");
}
