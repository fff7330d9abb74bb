#include <gtest/gtest.h>

#include "tester/bound_driver.h"
#include "tester/driver_binding.h"
#include "tester/port.h"

using namespace qel;
using namespace qel::tester;

TEST(DriverBinding, ResolvesAllNamesOfACompleteLibraryAndCallsThroughThem) {
  DriverBinding binding(STANDIN_ALL);
  std::string error = "stale";
  ASSERT_TRUE(binding.load(error));
  EXPECT_EQ(error, "");
  EXPECT_TRUE(binding.loaded());
  for (size_t i = 0; i < 45; ++i) EXPECT_NE(binding.entry(i), nullptr) << d2xx::kEntryPointNames[i];

  // The stand-in finds no device: the port logs the open and its status 2.
  BoundDriver driver(binding);
  ManualClock clock;
  Port port(driver, clock);
  EXPECT_TRUE(port.openPort());
  EXPECT_FALSE(port.isOpen());
  ASSERT_EQ(port.log().lines().size(), 1u);
  EXPECT_EQ(port.log().lines()[0], "00:00:00: Открываем порт...ОШИБКА [2]");
  EXPECT_EQ(clock.sleptMs(), 500);

  binding.release();
  EXPECT_FALSE(binding.loaded());
  binding.release();  // twice is harmless
}

TEST(DriverBinding, ReportsTheFirstMissingNameOnly) {
  std::string error;
  DriverBinding noWriteEE(STANDIN_NO_WRITEEE);
  EXPECT_FALSE(noWriteEE.load(error));
  EXPECT_EQ(error, std::string("Загрузка библиотеки ") + STANDIN_NO_WRITEEE +
                       ": не удалось экспортировать функцию \"FT_WriteEE\"");
  // Everything before the missing name was resolved.
  EXPECT_NE(noWriteEE.entry(43), nullptr);

  DriverBinding noClrDtr(STANDIN_NO_CLRDTR_WRITE);
  EXPECT_FALSE(noClrDtr.load(error));
  EXPECT_EQ(error, std::string("Загрузка библиотеки ") + STANDIN_NO_CLRDTR_WRITE +
                       ": не удалось экспортировать функцию \"FT_ClrDtr\"");
  EXPECT_NE(noClrDtr.entry(0), nullptr);
  EXPECT_EQ(noClrDtr.entry(2), nullptr);  // resolution stopped at FT_ClrDtr
  EXPECT_EQ(bindingFailureMessage(error).rfind("Не могу загрузить библиотеку: Загрузка", 0), 0u);
}

TEST(DriverBinding, MissingLibraryAndTheGeneralLoader) {
  std::string error;
  DriverBinding missing("/nonexistent/libftd2xx.so");
  EXPECT_FALSE(missing.load(error));
  EXPECT_EQ(error, "Необходимый файл динамической библиотеки /nonexistent/libftd2xx.so не найден");
  missing.release();

#if defined(_WIN32)
  EXPECT_STREQ(defaultDriverLibrary(), "FTD2XX.dll");
#else
  EXPECT_STREQ(defaultDriverLibrary(), "libftd2xx.so");
#endif
  const LoadResult none = loadLibraryEntries("/nonexistent/lib.so", {});
  EXPECT_FALSE(none.ok);
  EXPECT_EQ(none.handle, nullptr);
  const LoadResult empty = loadLibraryEntries(STANDIN_ALL, {});
  EXPECT_TRUE(empty.ok);
  EXPECT_NE(empty.handle, nullptr);
}
