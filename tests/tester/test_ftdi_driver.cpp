// The libftdi backend against a stand-in of the libftdi calls it makes (no tester is attached
// here), and its binding against the real libftdi where it is installed.

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "recording_operator.h"
#include "tester/ftdi_calls.h"
#include "tester/ftdi_driver.h"
#include "tester/initialise.h"
#include "tester/tester_link.h"

using namespace qel;
using namespace qel::tester;

namespace {

// The chip behind the stand-in calls. libftdi's reads return what has arrived, in pieces of at
// most `piece` bytes a call, and 0 when nothing has.
struct StandInChip {
  int contexts = 0;  // alive
  std::vector<int> productsTried;
  int openResult = 0;
  int openOnProduct = 0x6001;  // the product id that answers with openResult; others: not found
  const char* error = "";
  std::deque<uint8_t> incoming;
  size_t piece = 62;
  int readResult = 0;  // < 0: the next read fails
  std::vector<uint8_t> written;
  std::deque<uint8_t> answerToWrite;  // arrives after each write
  int latency = 16;
  int receiveFlushes = 0;
};

StandInChip* chip = nullptr;
int contextStorage = 0;

ftdi_context* standInNew() {
  ++chip->contexts;
  return reinterpret_cast<ftdi_context*>(&contextStorage);
}
void standInFree(ftdi_context*) {
  --chip->contexts;
}
int standInOpen(ftdi_context*, int vendor, int product, const char* description, const char*) {
  chip->productsTried.push_back(product);
  if (vendor != 0x0403 || std::string(description) != "QV USB" || product != chip->openOnProduct) {
    chip->error = "device not found";
    return -3;
  }
  return chip->openResult;
}
int standInClose(ftdi_context*) {
  return 0;
}
int standInRead(ftdi_context*, unsigned char* buffer, int size) {
  if (chip->readResult < 0) {
    chip->error = "usb bulk read failed";
    return std::exchange(chip->readResult, 0);
  }
  // libftdi reads on while the chip delivers, up to the size asked.
  int n = 0;
  while (n < size && !chip->incoming.empty()) {
    buffer[n++] = chip->incoming.front();
    chip->incoming.pop_front();
  }
  return n;
}
int standInWrite(ftdi_context*, const unsigned char* buffer, int size) {
  chip->written.insert(chip->written.end(), buffer, buffer + size);
  chip->incoming.insert(chip->incoming.end(), chip->answerToWrite.begin(), chip->answerToWrite.end());
  return size;
}
int standInFlushReceive(ftdi_context*) {
  ++chip->receiveFlushes;
  return 0;
}
int standInFlushTransmit(ftdi_context*) {
  return 0;
}
int standInLatency(ftdi_context*, unsigned char ms) {
  chip->latency = ms;
  return 0;
}
const char* standInError(ftdi_context*) {
  return chip->error;
}

constexpr FtdiCalls kStandIn = {standInNew,     standInFree,  standInOpen,         standInClose,
                                standInRead,    standInWrite, standInFlushReceive, standInFlushTransmit,
                                standInLatency, standInError};

// The chip outlives the driver, which closes an open device when it goes.
struct ChipInPlace {
  StandInChip state;
  ChipInPlace() { chip = &state; }
  ~ChipInPlace() { chip = nullptr; }
};

struct Rig : ChipInPlace {
  FtdiDriver driver{kStandIn};
  ManualClock clock;
  Port port{driver, clock};
  TesterLink link{port, clock};
};

}  // namespace

TEST(FtdiDriver, OpensTheTesterByDescriptionAmongFtdisProductsAndFreesItsContext) {
  Rig r;
  r.state.openOnProduct = 0x6014;
  EXPECT_FALSE(r.port.openPort());
  EXPECT_EQ(r.port.log().lines().back(), "00:00:00: Открываем порт...OK");
  EXPECT_EQ(r.state.productsTried, (std::vector<int>{0x6001, 0x6010, 0x6011, 0x6014}));
  EXPECT_EQ(r.state.latency, 2);
  EXPECT_EQ(r.state.contexts, 1);
  // One device at a time, as the vendor's driver has it.
  d2xx::Handle second = nullptr;
  EXPECT_EQ(r.driver.openByDescription("QV USB", second), d2xx::kDeviceNotOpened);
  EXPECT_EQ(r.state.contexts, 1);
  uint32_t n = 0;
  EXPECT_EQ(r.driver.queueStatus(&second, n), d2xx::kInvalidHandle);
  r.port.closePort();
  EXPECT_EQ(r.state.contexts, 0);

  // No tester: status 2 as from the vendor's driver, nothing to add to it, no context left over.
  r.state.openOnProduct = 0;
  EXPECT_TRUE(r.port.openPort());
  EXPECT_EQ(r.port.lastStatus(), d2xx::kDeviceNotFound);
  EXPECT_EQ(r.port.log().lines().back(), "00:00:00: Открываем порт...ОШИБКА [2]");
  EXPECT_EQ(r.state.contexts, 0);
}

TEST(FtdiDriver, QueueStatusIsWhatWasReadFromTheChipAndReadsTakeItInOrder) {
  Rig r;
  ASSERT_FALSE(r.port.openPort());
  uint32_t n = 99;
  EXPECT_FALSE(r.port.queuedBytes(n));
  EXPECT_EQ(n, 0u);

  // More than one chunk waiting: all of it is counted, nothing is lost or reordered.
  std::vector<uint8_t> sent(10000);
  for (size_t i = 0; i < sent.size(); ++i) sent[i] = uint8_t(i * 7);
  r.state.incoming.assign(sent.begin(), sent.end());
  EXPECT_FALSE(r.port.queuedBytes(n));
  EXPECT_EQ(n, 10000u);
  std::vector<uint8_t> got(3);
  uint32_t count = 0;
  EXPECT_FALSE(r.port.readBytes(3, got.data(), count));
  EXPECT_EQ(count, 3u);
  EXPECT_EQ(got, std::vector<uint8_t>(sent.begin(), sent.begin() + 3));
  // Bytes that arrive meanwhile queue behind the rest.
  r.state.incoming.push_back(0xEE);
  EXPECT_FALSE(r.port.queuedBytes(n));
  EXPECT_EQ(n, 9998u);
  got.resize(9998);
  EXPECT_FALSE(r.port.readBytes(9998, got.data(), count));
  EXPECT_EQ(count, 9998u);
  EXPECT_TRUE(std::equal(sent.begin() + 3, sent.end(), got.begin()));
  EXPECT_EQ(got.back(), 0xEE);

  // A purge empties our queue too, not only the chip's.
  r.state.incoming = {1, 2, 3};
  EXPECT_FALSE(r.port.queuedBytes(n));
  EXPECT_EQ(n, 3u);
  EXPECT_FALSE(r.port.purgePort());
  EXPECT_EQ(r.state.receiveFlushes, 1);
  EXPECT_FALSE(r.port.queuedBytes(n));
  EXPECT_EQ(n, 0u);
}

TEST(FtdiDriver, TheLinkTalksToTheTesterThroughIt) {
  Rig r;
  // The tester skips stray bytes before its acknowledgement, as the link expects.
  r.state.answerToWrite = {7, 7, 0};
  ASSERT_FALSE(r.link.checkPresence());
  EXPECT_FALSE(r.link.sendCode(0xA1));
  EXPECT_FALSE(r.link.waitAck());
  EXPECT_EQ(r.state.written, std::vector<uint8_t>{0xA1});

  // A failing USB read is a failure of the queue query, with libftdi's reason kept.
  r.state.readResult = -1;
  uint32_t n = 0;
  EXPECT_TRUE(r.port.queuedBytes(n));
  EXPECT_EQ(r.port.lastStatus(), d2xx::kIoError);
  EXPECT_NE(r.driver.failureDetail().find("usb bulk read failed"), std::string::npos);
}

TEST(FtdiDriver, ATesterThatCannotBeOpenedSaysWhyAndWhatToDo) {
  {
    Rig r;
    r.state.openResult = -4;
    r.state.error = "usb_open() failed";
    qel::testing::RecordingOperator op;
    TestDescription test;
    test.resetForStartup();
    test.computeTypeCodes();
    EXPECT_EQ(initialiseTester(r.link, op, test, {}), InitOutcome::NoLink);
    EXPECT_EQ(r.port.lastStatus(), d2xx::kDeviceNotOpened);
    ASSERT_EQ(op.messages().size(), 1u);
    const std::string text = op.messages()[0].text;
    EXPECT_EQ(text.rfind("Нет связи с тестером\nlibftdi: usb_open() failed (-4).", 0), 0u) << text;
    EXPECT_NE(text.find("60-qel-tester.rules"), std::string::npos);
    // The console's log says it too, under the open.
    const auto lines = r.port.log().lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], "00:00:00: Открываем порт...ОШИБКА [3]");
    EXPECT_NE(lines.back().find("udev"), std::string::npos);
    EXPECT_EQ(r.state.contexts, 0);
  }
  // The kernel's serial driver holding the interface.
  EXPECT_NE(ftdiOpenFailureText(-5, "unable to claim usb device").find("rmmod ftdi_sio"), std::string::npos);
  EXPECT_NE(ftdiOpenFailureText(-11, "libusb_detach_kernel_driver() failed").find("ftdi_sio"),
            std::string::npos);
  EXPECT_NE(ftdiOpenFailureText(-8, "inappropriate permissions on device!").find("udev"), std::string::npos);
  EXPECT_EQ(ftdiOpenFailureText(-3, "device not found"), "");
}

TEST(FtdiLibrary, BindsLibftdiByNameOrSaysItIsMissing) {
  FtdiLibrary missing("libqel-no-such-ftdi.so");
  std::string error;
  EXPECT_FALSE(missing.load(error));
  EXPECT_EQ(error, "Необходимый файл динамической библиотеки libqel-no-such-ftdi.so не найден");

  FtdiLibrary real;
  if (!real.load(error)) GTEST_SKIP() << "libftdi1 is not installed: " << error;
  // Every call resolved; with no tester attached the real library finds no device.
  FtdiDriver driver(real.calls());
  d2xx::Handle h = nullptr;
  EXPECT_NE(driver.openByDescription("QV USB", h), d2xx::kOk);
  EXPECT_EQ(h, nullptr);
}
