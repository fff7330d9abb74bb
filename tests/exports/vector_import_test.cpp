#include <gtest/gtest.h>

#include "app/test_loader.h"
#include "exports/library_import.h"
#include "fileio/input_file.h"
#include "recording_operator.h"
#include "temp_files.h"

namespace qel::exports {
namespace {

LibraryChip chip(std::string name, std::string pins, std::vector<std::string> vectors) {
  LibraryChip c{std::move(name), std::move(pins), "5V", {}};
  for (size_t i = 0; i < vectors.size(); ++i) c.vectors.push_back({std::to_string(i + 1), vectors[i]});
  return c;
}

// A D flip-flop on an 8-pin package: 1 D, 2 CLK, 3 Q, 4 GND, 5 enable of a bus pin 6, 7 unused, 8 VCC.
LibraryChip flipFlop() {
  return chip("DFF-8", "8", {"1 C H G 1 1 X V", "0 0 H G 0 L X V", "x c l g 1 Z x v"});
}

TEST(VectorImport, PinsAreTypedByUseAndAClockPulseIsThreeCyclesCheckedInTheLast) {
  const ConvertedChip c = convertChip(flipFlop());
  ASSERT_EQ(c.reason, "");
  const TestDescription& t = c.test;
  EXPECT_EQ(t.pinCount, 8);
  EXPECT_FALSE(t.isSoic);
  EXPECT_EQ(t.testNames[1], "DFF-8");
  const char* types[] = {"I", "I", "O", "GND", "I", "I/O", "O", "VCC"};
  for (int p = 1; p <= 8; ++p) EXPECT_EQ(t.pins[size_t(p)].typeText, types[p - 1]) << p;
  ASSERT_EQ(t.cycleCount, 7);  // 3 + 1 + 3
  auto levels = [&](int pin) {
    std::string s;
    for (int cy = 1; cy <= t.cycleCount; ++cy) s += "01x"[t.level(pin, cy)];
    return s;
  };
  EXPECT_EQ(levels(1), "1110xxx");  // held through the pulse; X is not driven
  EXPECT_EQ(levels(2), "0100010");  // the pulse: low, high, low
  EXPECT_EQ(levels(3), "xx11xx0");  // checked after the pulse only
  EXPECT_EQ(levels(6), "1110xxx");  // driven, then read low, then high impedance: not checked
  EXPECT_FALSE(t.isRead(6, 1));
  EXPECT_TRUE(t.isRead(6, 4));
  EXPECT_TRUE(t.isRead(6, 7));
  ASSERT_EQ(c.notes.size(), 1u);
  EXPECT_NE(c.notes[0].find("1 expected high impedance"), std::string::npos) << c.notes[0];
}

TEST(VectorImport, WhatCannotBeCarriedOverSaysWhichChipAndVector) {
  auto reason = [](LibraryChip c) { return convertChip(c).reason; };
  EXPECT_EQ(reason(chip("A", "8", {"1 C H G 1 1 X V", "1 C H G 1 1 X"})),
            "chip A: vector 2: 7 symbols for 8 pins");
  EXPECT_EQ(reason(chip("A", "8", {"1 C H G 1 1 X 5"})),
            "chip A: vector 1: symbol \"5\" at pin 8 is none of 0 1 L H Z X C G V");
  EXPECT_EQ(reason(chip("A", "8", {"1 C H G 1 1 XX V"})), "chip A: vector 1: \"XX\" is not one symbol");
  EXPECT_EQ(reason(chip("A", "eight", {})), "chip A: pins=\"eight\" is not a pin count");
  EXPECT_EQ(reason(chip("A", "10", {})), "chip A: no DIP package of 10 pins");
  EXPECT_EQ(reason(chip("A", "48", {})), "chip A: 48 pins, more than the tester's 40");
  EXPECT_EQ(reason(chip("A", "8", {})), "chip A: no vectors");
  EXPECT_EQ(reason(chip("A", "8", {"V C H G 1 1 X 0"})),
            "chip A: supply on pin 1, not the package's corner pin 8");
  EXPECT_EQ(reason(chip("A", "8", {"1 C H G 1 1 X V", "1 C H 0 1 1 X V"})),
            "chip A: pin 4 is ground in some vectors only");
  EXPECT_EQ(reason(chip("A", "8", {"1 C H 0 1 1 X V"})), "chip A: no ground on pin 4 or no supply on pin 8");
  LibraryChip low = flipFlop();
  low.voltage = "3.3V";
  EXPECT_EQ(reason(low), "chip DFF-8: supply 3.3V; the tester supplies 5 V");
  low.voltage = "5.0 V";
  EXPECT_EQ(reason(low), "");
}

TEST(VectorImport, EveryImportedTestLoadsWithoutAMessageUnderItsOwnName) {
  testing::TempDir dir;
  VectorLibrary library;
  library.chips = {flipFlop(), chip("К155ТМ2/1", "8", {"1 0 H G 1 1 X V"}),
                   chip("dff-8", "8", {"1 0 H G 1 1 X V"}), chip("bad", "8", {"1"})};
  library.problems = {"line 9: Start-end tags mismatch"};
  const std::u8string folder = dir.path().u8string();
  const LibraryImport imported = importLibrary(library, std::string(folder.begin(), folder.end()));
  ASSERT_EQ(imported.tests.size(), 3u);
  EXPECT_EQ(imported.tests[0].fileName, "DFF-8.qel");
  EXPECT_EQ(imported.tests[1].fileName, "К155ТМ2_1.qel");
  EXPECT_EQ(imported.tests[2].fileName, "dff-8_2.qel");  // a Windows folder would not tell them apart
  EXPECT_EQ(imported.refused, (std::vector<std::string>{"line 9: Start-end tags mismatch",
                                                        "chip bad: vector 1: 1 symbols for 8 pins"}));
  // Paths as UTF-8, as the program holds them: a Cyrillic name must survive on Windows too.
  auto utf8Path = [&](const std::string& name) {
    const std::u8string p = (dir.path() / fileio::toPath(name)).u8string();
    return std::string(p.begin(), p.end());
  };
  for (const auto& test : imported.tests) {
    engine::Bench bench;
    testing::RecordingOperator op;
    const app::LoadResult loaded = app::loadTest(bench, utf8Path(test.fileName), op);
    EXPECT_TRUE(loaded.shown) << test.fileName;
    EXPECT_TRUE(op.messages().empty()) << test.fileName << ": " << op.messages().front().text;
    EXPECT_EQ(bench.test.cycleCount, test.cycles);
    EXPECT_EQ(bench.test.testNames[1], test.chip);
  }
  // The bidirectional pin keeps its read cycles through the file.
  engine::Bench bench;
  testing::RecordingOperator op;
  app::loadTest(bench, dir.file("DFF-8.qel"), op);
  EXPECT_FALSE(bench.test.isRead(6, 1));
  EXPECT_TRUE(bench.test.isRead(6, 4));
  EXPECT_EQ(bench.test.level(6, 4), kLow);
}

}  // namespace
}  // namespace qel::exports
