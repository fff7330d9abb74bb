#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/test_loader.h"
#include "recording_operator.h"

namespace qel {
namespace {

namespace fs = std::filesystem;

// The built tool, when this build has it.
fs::path qelTool() {
#ifdef QEL_TOOL
  return QEL_TOOL;
#else
  return fs::path(QEL_BINARY_DIR) / "src" / "cli" / "qel";
#endif
}

int run(const std::string& args) {
#if defined(_WIN32)
  return std::system((qelTool().string() + " " + args + " >NUL 2>&1").c_str());
#else
  return std::system((qelTool().string() + " " + args + " >/dev/null 2>&1").c_str());
#endif
}

TEST(QelExpand, WritesAPlainTestThatLoadsToTheExpandedCycles) {
  if (!fs::exists(qelTool())) GTEST_SKIP() << "qel is not built";
  const fs::path dir = fs::temp_directory_path() / "qel_cli_expand";
  fs::create_directories(dir);
  const std::string examples = QEL_EXAMPLES_DIR;

  ASSERT_EQ(run("expand " + examples + "/sram6116_ram.qel -o " + (dir / "full.qel").string() + " --full-ram"),
            0);
  engine::Bench bench;
  testing::RecordingOperator op;
  ASSERT_TRUE(app::loadTest(bench, (dir / "full.qel").string(), op).shown);
  EXPECT_EQ(bench.test.algorithmNumber, 0);
  EXPECT_EQ(bench.test.cycleCount, 16700);

  // A data file given on the command line replaces the one the test names.
  std::ofstream(dir / "other.dat", std::ios::binary) << "\x12\x34";
  ASSERT_EQ(run("expand " + examples + "/eprom2716_rom.qel -o " + (dir / "rom.qel").string() + " --data " +
                (dir / "other.dat").string()),
            0);
  engine::Bench rom;
  ASSERT_TRUE(app::loadTest(rom, (dir / "rom.qel").string(), op).shown);
  int first = 0;
  const int data[] = {9, 10, 11, 13, 14, 15, 16, 17};
  for (int k = 0; k < 8; ++k) first |= rom.test.level(data[k], 3) << k;
  EXPECT_EQ(first, 0x12);

  EXPECT_NE(run("expand " + examples + "/sram6116_ram.qel"), 0);  // no -o: a usage error
  fs::remove_all(dir);
}

}  // namespace
}  // namespace qel
