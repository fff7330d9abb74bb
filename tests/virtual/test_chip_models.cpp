#include <gtest/gtest.h>

#include <fstream>

#include "virtual/board.h"
#include "virtual/chip_model.h"
#include "virtual_rig.h"

using namespace qel;
using qel::testing::VirtualRig;

namespace {

uint8_t code(const std::vector<uint8_t>& result, int pins, int cycle, int pin) {
  return result[size_t(cycle * pins + pin - 1)];
}

void start(VirtualRig& r) {
  ASSERT_FALSE(r.link->checkPresence());
  ASSERT_FALSE(r.link->resetTester());
  ASSERT_FALSE(r.link->powerOn());
}

// A 16-pin part of our own: an XOR with a tri-state output, a falling-edge flip-flop with clear,
// and a two-stage shift register built from flip-flops reading each other.
constexpr const char* kPart = R"(chip TEST16
pins 16
ground 8
supply 16
input A=1 B=2 /EN=3 CLK=4 /CLR=5 D=6
output X=7 Q=9 S1=10 S2=11
inout IO=12
X = A ^ B when !/EN
Q <= D on falling CLK clear !/CLR
S1 <= D on rising CLK
S2 <= S1 on rising CLK
IO = inner when A & B  # an internal name feeds an I/O pin
inner = !(A | B) | Q
)";

std::string write(const std::string& name, const std::string& text) {
  const std::string path = std::string(VIRTUAL_TEST_DIR) + "/" + name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

}  // namespace

TEST(ChipModels, AMalformedModelNamesItsLineAndReason) {
  const std::string head = "chip X\npins 14\nground 7\nsupply 14\n";
  const struct {
    std::string text;
    int line;
    const char* reason;
  } cases[] = {
      {"chip X\npins 13\n", 2, "no channel row"},
      {"chip X\ninput A=1\n", 2, "('pins N') must come before"},
      {head + "input A=1 B=1\n", 5, "pin 1 is declared already (line 5)"},
      {head + "input A=15\n", 5, "'15' is not a pin number 1..14"},
      {head + "output Y=3\n", 5, "output 'Y' (pin 3) has no equation"},
      {head + "input A=1\noutput Y=3\nY = A & B\n", 7, "unknown name 'B'"},
      {head + "input A=1\noutput Y=3\nY = A &\n", 7,
       "a name, 0, 1, '!' or '(' expected at the end of the line"},
      {head + "input A=1\noutput Y=3\nY = (A\n", 7, "')' expected"},
      {head + "input A=1\noutput Y=3\nY = A $ A\n", 7, "unexpected character '$'"},
      {head + "input A=1\noutput Y=3\nY = A\nY = !A\n", 8, "'Y' has an equation already (line 7)"},
      {head + "input A=1\noutput Y=3\nA = 1\nY = A\n", 7, "'A' is an input"},
      {head + "input A=1\noutput Y=3\nY = Z\n\nZ = Y & A\n", 7, "depends on itself"},
      {head + "input A=1\noutput Y=3\nY <= A on CLK\n", 7, "'rising' or 'falling' expected"},
      {head + "input A=1\noutput Y=3\nY = A when\n", 7, "expected at the end of the line"},
      {head + "input when=1\n", 5, "'when' is a word of the format"},
      {head + "frobnicate 3\n", 5, "unknown statement 'frobnicate'"},
      {"pins 14\nground 7\nsupply 14\n# the end\n", 4, "names no part"},
      {"chip X\npins 14\nground 7\n", 3, "no supply pin"},
      {head + "input A=1\noutput Y=3\nY = " + std::string(80, '!') + "A\n", 7, "nested too deeply"},
  };
  for (const auto& c : cases) {
    const virt::ModelParse p = virt::parseChipModel(c.text);
    EXPECT_EQ(p.model, nullptr) << c.text;
    EXPECT_EQ(p.line, c.line) << c.text;
    EXPECT_NE(p.reason.find(c.reason), std::string::npos) << c.text << "\ngave: " << p.reason;
  }

  // From a file, the error carries the file's name and the line; the board refuses to be built.
  const std::string path = write("bad.chip", head + "output Y=3\n");
  std::string error;
  EXPECT_EQ(virt::loadChipModel(path, error), nullptr);
  EXPECT_EQ(error, path + ":5: output 'Y' (pin 3) has no equation");
  virt::BoardConfig config;
  config.modelFile = path;
  error.clear();
  EXPECT_EQ(virt::Board::create(config, error), nullptr);
  EXPECT_EQ(error, path + ":5: output 'Y' (pin 3) has no equation");
  config.modelFile = VIRTUAL_TEST_DIR;
  EXPECT_EQ(virt::Board::create(config, error), nullptr);
  EXPECT_NE(error.find("cannot be read"), std::string::npos);
}

TEST(ChipModels, AModelFromAFileRunsOnTheVirtualTester) {
  virt::BoardConfig config;
  config.modelFile = write("test16.chip", kPart);
  VirtualRig r(config);
  ASSERT_EQ(r.session->board().chip().part(), "TEST16");
  start(r);
  auto row = [&](int a, int b, int en, int clk, int clr, int d) {
    return r.row({{1, a}, {2, b}, {3, en}, {4, clk}, {5, clr}, {6, d}});
  };
  const auto result = r.run({
      row(1, 0, 0, 0, 1, 1),  // 0: X = 1; the clock was taken as high: falling, Q = 1
      row(1, 1, 0, 1, 1, 1),  // 1: X = 0; rising: S1 = 1; IO driven with inner = Q = 1
      row(0, 0, 1, 0, 1, 0),  // 2: /EN high: X floats; falling: Q = D = 0
      row(0, 0, 0, 1, 1, 1),  // 3: rising: S2 takes the old S1 = 1, S1 = 1
      row(1, 1, 0, 0, 1, 1),  // 4: falling: Q = 1; IO = inner = Q = 1
      row(1, 1, 0, 0, 0, 0),  // 5: clear: Q = 0 without a clock
  });
  EXPECT_EQ(code(result, 16, 0, 7), 2);
  EXPECT_EQ(code(result, 16, 1, 7), 1);
  EXPECT_EQ(code(result, 16, 2, 7), 4);
  EXPECT_EQ(code(result, 16, 1, 10), 2);
  EXPECT_EQ(code(result, 16, 1, 11), 1);
  EXPECT_EQ(code(result, 16, 3, 11), 2);
  EXPECT_EQ(code(result, 16, 0, 9), 2);
  EXPECT_EQ(code(result, 16, 2, 9), 1);
  EXPECT_EQ(code(result, 16, 4, 9), 2);
  EXPECT_EQ(code(result, 16, 5, 9), 1);
  EXPECT_EQ(code(result, 16, 1, 12), 2);
  EXPECT_EQ(code(result, 16, 5, 12), 1);  // Q cleared
  EXPECT_EQ(code(result, 16, 2, 12), 4);  // not enabled: floats

  // A board file names the model beside itself; a chip named after it takes its place again.
  const std::string board = write("model.board", "model test16.chip\nfault out1:7\n");
  virt::BoardConfig fromFile;
  ASSERT_FALSE(virt::loadBoardFile(fromFile, board));
  std::string error;
  const auto onBoard = virt::Board::create(fromFile, error);
  ASSERT_NE(onBoard, nullptr) << error;
  EXPECT_EQ(onBoard->chip().part(), "TEST16");
  ASSERT_FALSE(virt::parseBoardText(fromFile, "chip 7400\n", board));
  EXPECT_TRUE(fromFile.modelFile.empty());

  // Every built-in model parses.
  for (const char* part : {"7400", "7474", "74245"}) {
    const virt::ModelParse p = virt::parseChipModel(virt::builtinModelText(part));
    EXPECT_NE(p.model, nullptr) << part << ":" << p.line << ": " << p.reason;
  }
}

TEST(ChipModels, FaultsInsideTheChipShowOnlyInItsAnswers) {
  // 7400 gate 1: A 1, B 2, Y 3; gate 2: A 4, B 5, Y 6.
  auto answers = [](std::vector<std::string> faults) {
    VirtualRig r(VirtualRig::chip("7400", std::move(faults)));
    start(r);
    return r.run({r.row({{1, 1}, {2, 1}, {4, 1}, {5, 1}}), r.row({{1, 0}, {2, 1}, {4, 1}, {5, 1}})});
  };
  const auto good = answers({});
  EXPECT_EQ(code(good, 14, 0, 3), 1);
  EXPECT_EQ(code(good, 14, 1, 3), 2);
  EXPECT_EQ(code(good, 14, 0, 6), 1);

  const auto in0 = answers({"in0:1"});
  EXPECT_EQ(code(in0, 14, 0, 3), 2);  // the logic sees A low
  EXPECT_EQ(code(in0, 14, 0, 1), 2);  // the pin still reads what the tester drives
  const auto in1 = answers({"in1:1"});
  EXPECT_EQ(code(in1, 14, 1, 3), 1);
  const auto out0 = answers({"out0:3"});
  EXPECT_EQ(code(out0, 14, 1, 3), 1);
  const auto out1 = answers({"out1:3"});
  EXPECT_EQ(code(out1, 14, 0, 3), 2);
  EXPECT_EQ(code(out1, 14, 0, 6), 1);  // the other gates are untouched
  // Output 1Y bridged to input 2A: when 1Y is low, gate 2 sees its A low.
  const auto bridge = answers({"bridge:3,4"});
  EXPECT_EQ(code(bridge, 14, 0, 3), 1);
  EXPECT_EQ(code(bridge, 14, 0, 6), 2);
  EXPECT_EQ(code(bridge, 14, 1, 6), 1);
  EXPECT_EQ(code(bridge, 14, 0, 4), 2);  // the tester still reads its own drive on 2A

  // Faults that do not fit the pin are refused with the pin's role.
  for (const char* bad : {"in0:3", "out1:1", "bridge:7,6", "in1:15"}) {
    std::string error;
    EXPECT_EQ(virt::Board::create(VirtualRig::chip("7400", {bad}), error), nullptr) << bad;
    EXPECT_FALSE(error.empty()) << bad;
  }
  for (const char* bad : {"bridge:3", "bridge:3,3", "in0:x"}) {
    virt::BoardConfig c;
    EXPECT_TRUE(virt::applySpec(c, bad).has_value()) << bad;
  }
}

TEST(ChipModels, OperatorsBindNotAndXorOrInThatOrder) {
  const auto parse = virt::parseChipModel(
      "chip P\npins 8\nground 4\nsupply 8\ninput A=1 B=2 C=3 D=5\noutput Y=6 Z=7\n"
      "Y = A | B & !C ^ D\nZ = ~(A | B) & (C ^ 1)\n");
  ASSERT_NE(parse.model, nullptr) << parse.line << ": " << parse.reason;
  const auto chip = virt::makeModelChip(parse.model);
  for (int v = 0; v < 16; ++v) {
    const int a = v & 1, b = (v >> 1) & 1, c = (v >> 2) & 1, d = (v >> 3) & 1;
    virt::PinBits in{};
    in[1] = uint8_t(a), in[2] = uint8_t(b), in[3] = uint8_t(c), in[5] = uint8_t(d);
    virt::PinDrives out{};
    out.fill(virt::Drive::None);
    chip->evaluate(in, out);
    EXPECT_EQ(out[6], virt::driveOf((a | ((b & (c ^ 1)) ^ d)) != 0)) << v;
    EXPECT_EQ(out[7], virt::driveOf((a | b) == 0 && c == 0)) << v;
    EXPECT_EQ(out[1], virt::Drive::None);  // inputs are never driven
  }
}

TEST(ChipModels, FaultsInsideReachTheFlipFlopsAndJoinOutputs) {
  // 7474 flip-flop 1: /CLR 1, D 2, CLK 3, /PRE 4, Q 5. With its clock seen high, no edge comes.
  auto clockAndRead = [](std::vector<std::string> faults) {
    VirtualRig r(VirtualRig::chip("7474", std::move(faults)));
    start(r);
    const auto result =
        r.run({r.row({{1, 1}, {2, 1}, {3, 0}, {4, 1}}), r.row({{1, 1}, {2, 1}, {3, 1}, {4, 1}})});
    return code(result, 14, 1, 5);
  };
  EXPECT_EQ(clockAndRead({}), 2);
  EXPECT_EQ(clockAndRead({"in1:3"}), 1);
  EXPECT_EQ(clockAndRead({"in0:2"}), 1);  // the edge takes D as the logic sees it

  // Two 7400 outputs bridged: either low pulls both low.
  VirtualRig r(VirtualRig::chip("7400", {"bridge:3,6"}));
  start(r);
  const auto result =
      r.run({r.row({{1, 1}, {2, 1}, {4, 0}, {5, 0}}), r.row({{1, 0}, {2, 0}, {4, 0}, {5, 0}})});
  EXPECT_EQ(code(result, 14, 0, 3), 1);
  EXPECT_EQ(code(result, 14, 0, 6), 1);
  EXPECT_EQ(code(result, 14, 1, 3), 2);
  EXPECT_EQ(code(result, 14, 1, 6), 2);
}
