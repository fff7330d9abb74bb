#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/test_loader.h"
#include "recording_operator.h"
#include "testfile/writer.h"

namespace qel {
namespace {

namespace fs = std::filesystem;

std::string example(const char* name) {
  return std::string(QEL_EXAMPLES_DIR) + "/" + name;
}

struct Loaded {
  engine::Bench bench;
  testing::RecordingOperator op;
  app::LoadResult result;
};

std::unique_ptr<Loaded> load(const std::string& path, bool compressed = true) {
  auto l = std::make_unique<Loaded>();
  app::LoadOptions options;
  options.expansion.compressedRamTest = compressed;
  l->result = app::loadTest(l->bench, path, l->op, options);
  return l;
}

// Levels of every pin in every cycle, and the direction of every defined cell of an I/O pin.
void expectSameCycles(const TestDescription& a, const TestDescription& b) {
  ASSERT_EQ(a.cycleCount, b.cycleCount);
  ASSERT_EQ(a.pinCount, b.pinCount);
  for (int c = 1; c <= a.cycleCount; ++c)
    for (int p = 1; p <= a.pinCount; ++p) {
      ASSERT_EQ(a.level(p, c), b.level(p, c)) << "pin " << p << " cycle " << c;
      if (a.pins[size_t(p)].typeText == "I/O" && a.level(p, c) != kDontCare) {
        ASSERT_EQ(a.isRead(p, c), b.isRead(p, c)) << "pin " << p << " cycle " << c;
      }
    }
}

class Examples : public ::testing::TestWithParam<std::tuple<const char*, bool, int>> {};

TEST_P(Examples, ExpandLoadsWithoutMessagesAndWritesBackUnchanged) {
  const auto [name, compressed, cycles] = GetParam();
  auto first = load(example(name), compressed);
  ASSERT_TRUE(first->result.shown);
  for (const auto& m : first->op.messages()) ADD_FAILURE() << m.text;
  EXPECT_EQ(first->bench.test.cycleCount, cycles);

  const auto out =
      fs::temp_directory_path() / (std::string("qel_expanded_") + (compressed ? "c_" : "f_") + name);
  ASSERT_EQ(testfile::writeTestFile(first->bench.test, out.string(), testfile::WriteSource::Reference), "");
  auto again = load(out.string(), compressed);
  ASSERT_TRUE(again->result.shown);
  EXPECT_TRUE(again->op.messages().empty());
  EXPECT_EQ(again->bench.test.algorithmNumber, 0);
  expectSameCycles(first->bench.test, again->bench.test);
  EXPECT_EQ(testfile::formatTestFile(again->bench.test, testfile::WriteSource::Reference),
            testfile::formatTestFile(first->bench.test, testfile::WriteSource::Reference));
  fs::remove(out);
}

// Cycle counts: the ROM 2048 addresses x 4; the RAM compressed and full (a = 11, d = 8, n = 2048,
// blocks of 2 and 2); the counter 34 + 3 copies of 32.
INSTANTIATE_TEST_SUITE_P(
    MemoryTemplates, Examples,
    ::testing::Values(std::tuple{"eprom2716_rom.qel", true, 8192},
                      std::tuple{"sram6116_ram.qel", true, 4 * 9 + 10 * 4 + 10 * (4 + 20)},
                      std::tuple{"sram6116_ram.qel", false, 4 * (9 + 4096) + 10 * 4 + 10 * 24},
                      std::tuple{"counter_cyclic.qel", true, 130}));

TEST(ExampleData, TheEpromTestExpectsTheBytesOfItsDataFile) {
  auto l = load(example("eprom2716_rom.qel"));
  std::ifstream in(example("eprom2716.dat"), std::ios::binary);
  const std::string rom{std::istreambuf_iterator<char>(in), {}};
  ASSERT_EQ(rom.size(), 2048u);
  const TestDescription& t = l->bench.test;
  const int data[] = {9, 10, 11, 13, 14, 15, 16, 17};
  for (int address : {0, 0x40, 0x41, 0x155, 0x7FF}) {
    int value = 0;
    for (int k = 0; k < 8; ++k) value |= t.level(data[k], address * 4 + 3) << k;
    EXPECT_EQ(value, uint8_t(rom[size_t(address)])) << address;
  }
}

}  // namespace
}  // namespace qel
