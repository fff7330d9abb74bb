#include <gtest/gtest.h>

#include <cmath>

#include "app/settings.h"
#include "app/startup.h"

using namespace qel::app;

TEST(Settings, FirstRunCreatesTheKeysWithDefaults) {
  MemorySettingsStore store;
  Settings s;
  readSettings(store, s);
  EXPECT_EQ(std::vector<std::string>(4), s.recentFiles);
  EXPECT_TRUE(s.shortTest);
  EXPECT_TRUE(s.vccOff);
  EXPECT_FALSE(s.continueOnFault);
  EXPECT_TRUE(s.testChannelsOnStart);
  EXPECT_EQ(15, store.readInt(kHistoryKey, "SW").value());
  EXPECT_EQ(16, store.readInt(kHistoryKey, "SH").value());
  EXPECT_TRUE(store.readBool(kHistoryKey, "IsOpen").value());
  EXPECT_EQ("", store.readString(kMainKey, "Dir_Tests").value());
  EXPECT_FALSE(store.readString(kHistoryKey, "FileSprav").has_value());
}

TEST(Settings, RoundTripAndRowHeightNotReadBack) {
  MemorySettingsStore store;
  Settings s;
  readSettings(store, s);
  s.recentFiles = {"/t/a.qel", "/t/b.qel", "", ""};
  s.cellWidth = 9;
  s.rowHeight = 20;
  s.levels.u0 = 1.5;
  s.levels.minSupply = 240;
  s.continueOnFault = true;
  s.referenceBook = "/t/book.lib";
  writeSettings(store, s);
  EXPECT_FALSE(store.readBool(kHistoryKey, "IsOpen").value());

  Settings again;
  readSettings(store, again);
  EXPECT_EQ(s.recentFiles, again.recentFiles);
  EXPECT_EQ(9, again.cellWidth);
  EXPECT_EQ(16, again.rowHeight);
  EXPECT_DOUBLE_EQ(1.5, again.levels.u0);
  EXPECT_EQ(240, again.levels.minSupply);
  EXPECT_TRUE(again.continueOnFault);
  EXPECT_EQ("/t/book.lib", again.referenceBook);
  EXPECT_TRUE(store.readBool(kHistoryKey, "IsOpen").value());
}

TEST(Settings, KeyWithoutCellWidthKeepsOptionsButNotThresholds) {
  MemorySettingsStore store;
  auto& key = store.keys[kHistoryKey];
  key["ShortTest"] = false;
  key["VCCOff"] = false;
  key["Continue"] = true;
  key["TestCanalOnStart"] = false;
  key["Hist1"] = std::string("/t/x.qel");
  key["U0"] = 2.0;
  key["MinPVCC"] = 200;
  Settings s;
  readSettings(store, s);
  EXPECT_FALSE(s.shortTest);
  EXPECT_TRUE(s.continueOnFault);
  EXPECT_FALSE(s.testChannelsOnStart);
  EXPECT_EQ((std::vector<std::string>{"/t/x.qel", "", "", ""}), s.recentFiles);
  EXPECT_DOUBLE_EQ(1.375, s.levels.u0);
  EXPECT_EQ(245, s.levels.minSupply);
  EXPECT_FALSE(store.readBool(kHistoryKey, "IsOpen").has_value());

  // One option of the wrong type: all four fall back together.
  key["VCCOff"] = 1;
  readSettings(store, s);
  EXPECT_TRUE(s.shortTest);
  EXPECT_FALSE(s.continueOnFault);
  // A stored cycle width the zoom cannot work with is ignored.
  key["VCCOff"] = true;
  key["SW"] = 0;
  s = Settings{};
  readSettings(store, s);
  EXPECT_EQ(15, s.cellWidth);
}

TEST(Settings, FailuresAreSilent) {
  MemorySettingsStore store;
  store.failWrites = true;
  Settings s;
  readSettings(store, s);
  EXPECT_EQ(4u, s.recentFiles.size());
  writeSettings(store, s);
  EXPECT_TRUE(store.keys.empty());
}

TEST(Startup, HelpPaths) {
  EXPECT_EQ("/opt/qel/ZIREDOVOZI.HLP", helpFilePath("/opt/qel/qeltest"));
  EXPECT_EQ("/opt/qel/qeltest.chm", chmFilePath("/opt/qel/qeltest"));
  EXPECT_EQ("C:\\QEL\\Tester.chm", chmFilePath("C:\\QEL\\Tester.exe"));
  EXPECT_EQ(StartCheck::PresenceCheck, startCheck(false));
}

TEST(Settings, AU0NoCalibrationCouldGiveCountsAsUnreadable) {
  // Such values once reached the float conversion of "Параметры тестирования".
  for (const double bad : {std::nan(""), HUGE_VAL, -HUGE_VAL, 1e300, 0.0, -1.0, kMaxU0 * 2}) {
    MemorySettingsStore store;
    Settings s;
    readSettings(store, s);
    auto& key = store.keys[kHistoryKey];
    key["U0"] = bad;
    key["MinPVCC"] = 230;
    readSettings(store, s);
    EXPECT_DOUBLE_EQ(1.375, s.levels.u0) << bad;
    EXPECT_EQ(245, s.levels.minSupply) << bad;  // the reading stops there, as at any unreadable value
  }
  MemorySettingsStore store;
  store.keys[kHistoryKey] = {{"SW", 15}, {"U0", kMaxU0}, {"MinPVCC", 230}, {"MaxPGND", 60}, {"MinPGND", 40}};
  Settings s;
  readSettings(store, s);
  EXPECT_DOUBLE_EQ(kMaxU0, s.levels.u0);
  EXPECT_EQ(230, s.levels.minSupply);
}
