#include <gtest/gtest.h>

#include "views/package_view.h"

using namespace qel;
using namespace qel::views;

TEST(PackageView, PinsRunDownTheLeftAndUpTheRight) {
  PackageGeometry g;
  g.layout(16, 400, 600);
  for (int p = 1; p <= 8; ++p) {
    EXPECT_EQ(Side::Left, pinPlace(g, 16, p).side);
    EXPECT_EQ(p - 1, pinPlace(g, 16, p).row);
  }
  EXPECT_EQ(0, pinPlace(g, 16, 16).row);
  EXPECT_EQ(7, pinPlace(g, 16, 9).row);
  EXPECT_EQ(Side::Right, pinPlace(g, 16, 9).side);
  EXPECT_EQ(pinPlace(g, 16, 1).top, pinPlace(g, 16, 16).top);
}

TEST(PackageView, OutlineFitsThePaintBox) {
  for (int height : {200, 400, 900}) {
    PackageGeometry g;
    g.layout(40, 500, height);
    EXPECT_LE(g.bodyHeight, std::max(height, 20 * 18 + 30)) << height;
    EXPECT_GE(g.pinGap, 0);
    EXPECT_EQ(250 - 50, g.bodyLeft);
  }
  // A tall box spreads the leads, but never past the box.
  PackageGeometry g;
  g.bodyHeight = 0;
  g.layout(8, 300, 600);
  EXPECT_GT(g.pinGap, 15);
  EXPECT_LE(g.bodyHeight, 600);
}

TEST(PackageView, ColumnsMoveWhenSwitchedOff) {
  PackageGeometry g;
  g.layout(16, 400, 500);
  const auto all = pinTextX(g, Side::Left);
  g.setColumns({true, false, true});
  const auto noType = pinTextX(g, Side::Left);
  EXPECT_EQ(all.voltage + 35, noType.voltage);
  EXPECT_EQ(all.groupLeft + 35, noType.groupLeft);
  EXPECT_EQ(all.state, noType.state);
  EXPECT_EQ(0, g.typeColumn);
  const auto right = pinTextX(g, Side::Right);
  EXPECT_GT(right.groupLeft, right.voltage);
  EXPECT_GT(right.state, g.bodyRight());
}

TEST(PackageView, VoltageTextsAndFaults) {
  EXPECT_EQ("1,8", voltageText(128, 1.375, ','));
  EXPECT_EQ("1.8", voltageText(128, 1.375, '.'));
  EXPECT_EQ("NC", voltageText(2, 1.375, ','));
  EXPECT_EQ("NC", voltageText(0, 1.375, ','));
  EXPECT_EQ("4,7", voltageText(245, 1.375, ','));
  EXPECT_EQ("-1,3", voltageText(3, 1.375, ','));
  EXPECT_LE(voltageText(255, 5.0, ',').size(), 4u);

  qel::LevelThresholds t;
  qel::ContactRecord f;
  f.typeText = "I";
  f.level = 2;
  EXPECT_TRUE(voltageIsFault(f, t));
  f.typeText = "NC";
  EXPECT_FALSE(voltageIsFault(f, t));
  f.typeText = "GND";
  f.level = 66;
  EXPECT_TRUE(voltageIsFault(f, t));
  f.level = 55;
  EXPECT_FALSE(voltageIsFault(f, t));
  f.typeText = "VCC";
  f.level = 200;
  EXPECT_TRUE(voltageIsFault(f, t));

  f.mark = "!H";
  EXPECT_TRUE(markIsFault(f, kInput));
  EXPECT_FALSE(markIsFault(f, kGround));
  f.mark = "!L";
  EXPECT_FALSE(markIsFault(f, kSupply));
  EXPECT_TRUE(markIsFault(f, kOutput));
  f.mark = "L";
  EXPECT_FALSE(markIsFault(f, kOutput));
  EXPECT_TRUE(typeTextIsFault("!O"));

  TestDescription test;
  test.resetForStartup();
  test.pins[3].typeText = "F";
  test.pins[3].name = "Y";
  const auto fresh = qel::freshContactRecord(test, 3);
  EXPECT_EQ("O", fresh.typeText);
  EXPECT_EQ("-", fresh.mark);
}
