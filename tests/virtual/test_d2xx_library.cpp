#include <gtest/gtest.h>

#include <cstdlib>

#include "environment.h"
#include "recording_operator.h"
#include "tester/bound_driver.h"
#include "tester/driver_binding.h"
#include "tester/initialise.h"
#include "tester/tester_link.h"

using namespace qel;
using namespace qel::tester;

TEST(VirtualD2xxLibrary, BindsLikeTheVendorLibraryAndAnswersFromTheEnvironmentsBoard) {
  qel::testing::setEnvironment("QEL_CHIP", "7474");
  qel::testing::setEnvironment("QEL_FAULTS", "open:3;stuck0:6");
  DriverBinding binding(VIRTUAL_D2XX);
  std::string error;
  ASSERT_TRUE(binding.load(error)) << error;

  // The vendor's own conventions: another description is not found, status 2.
  d2xx::Handle h = nullptr;
  EXPECT_EQ(binding.openEx()(const_cast<char*>("Other"), d2xx::kOpenByDescription, &h),
            d2xx::kDeviceNotFound);
  uint32_t n = 0;
  EXPECT_EQ(binding.getQueueStatus()(nullptr, &n), d2xx::kInvalidHandle);

  BoundDriver driver(binding);
  ManualClock clock;
  Port port(driver, clock);
  TesterLink link(port, clock);
  TestDescription test;
  test.pinCount = 14;
  for (int p : {1, 2, 3, 4, 10, 11, 12, 13}) test.pins[size_t(p)].typeText = "I";
  for (int p : {5, 6, 8, 9}) test.pins[size_t(p)].typeText = "O";
  test.pins[7].typeText = "GND";
  test.pins[14].typeText = "VCC";
  test.computeTypeCodes();
  test.cycleCount = 10;
  qel::testing::RecordingOperator op;
  ASSERT_EQ(initialiseTester(link, op, test, {}), InitOutcome::Ok);
  EXPECT_EQ(port.log().lines().at(0), "00:00:00: Открываем порт...OK");
  ASSERT_FALSE(link.powerOn());

  std::vector<int32_t> levels(14, 0), jumpers(14, 0);
  ASSERT_FALSE(link.readLevels(levels));
  EXPECT_EQ(levels[2], 0);
  EXPECT_FALSE(link.contactOk());
  EXPECT_TRUE(link.supplyOk());
  ASSERT_FALSE(link.scanJumpers(jumpers));
  EXPECT_EQ(jumpers[5], 241);

  // Preset flip-flop 2 (PRE is pin 10), then close and open again: the chip keeps its state.
  link.setTestParameters(parametersOf(test, 1, {}));
  std::vector<uint8_t> block(14, 2);
  block[9] = 0;
  link.composeImage(block);
  std::vector<uint8_t> result(14, 5);
  ASSERT_FALSE(link.runImage(result));
  EXPECT_EQ(result[8], 2);  // 2Q
  link.closeConnection();
  ASSERT_FALSE(link.checkPresence());
  block[9] = 1;
  link.composeImage(block);
  ASSERT_FALSE(link.runImage(result));
  EXPECT_EQ(result[8], 2);
  EXPECT_EQ(result[7], 1);  // 2/Q
}
