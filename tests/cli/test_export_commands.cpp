// qel export and the export options of qel run, as a technician uses them on a failed run.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "run_program.h"
#include "temp_files.h"

namespace {

using qel::testing::ProgramRun;
using qel::testing::shellPath;

ProgramRun qel(const std::string& arguments) {
  return qel::testing::runProgram(QEL_BINARY, arguments);
}

std::string example(const char* name) {
  return shellPath(std::string(QEL_EXAMPLES_DIR) + "/" + name);
}

std::string bytesOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The dump without its date, which differs between two exports.
std::string withoutDate(std::string vcd) {
  const size_t from = vcd.find("$date"), to = vcd.find("$end", from);
  return from == std::string::npos ? vcd : vcd.erase(from, to - from);
}

TEST(ExportCommands, ASavedResultExportsAsTheRunItselfDidAndFailuresKeepOldFiles) {
  qel::testing::TempDir dir;
  const std::string run = qel::testing::shellPath(dir.file("run.vcd")),
                    saved = shellPath(dir.file("result.qel")), later = shellPath(dir.file("later.vcd"));
  const ProgramRun failed =
      qel("run " + example("nand7400.qel") + " --tester virtual --chip 7400 --fault stuck1:6" + " --vcd " +
          run + " --save-result " + saved);
  ASSERT_EQ(failed.status, 1) << failed.err;
  const ProgramRun exported =
      qel("export " + example("nand7400.qel") + " --result " + saved + " --vcd " + later);
  ASSERT_EQ(exported.status, 0) << exported.err;
  std::string fromRun = withoutDate(bytesOf(dir.file("run.vcd")));
  const std::string fromFile = withoutDate(bytesOf(dir.file("later.vcd")));
  // The same lanes and values; only the header names where the result came from.
  EXPECT_NE(fromFile.find("Result: "), std::string::npos);
  EXPECT_EQ(fromRun.find("Result: "), std::string::npos);
  EXPECT_NE(fromRun.find("Error cycles: 2"), std::string::npos) << fromRun;
  EXPECT_EQ(fromRun.substr(fromRun.find("$timescale")), fromFile.substr(fromFile.find("$timescale")));

  // The picture is the desktop program's drawing where qel has its painter, else refused as such.
  const ProgramRun png = qel("export " + example("nand7400.qel") + " --result " + saved +
                             " --png-cycles 2:5 --png " + shellPath(dir.file("run.png")));
  if (png.status == 0) {
    EXPECT_EQ(bytesOf(dir.file("run.png")).substr(0, 8), "\x89PNG\r\n\x1a\n");
  } else {
    EXPECT_EQ(png.status, 2);
    EXPECT_NE(png.err.find("--png is not available"), std::string::npos) << png.err;
  }
  EXPECT_EQ(qel("export " + example("nand7400.qel") + " --png-cycles 5 --png " + shellPath(dir.file("x.png")))
                .status,
            2);

  // A result of another package is refused; nothing is written.
  const ProgramRun other = qel("export " + example("counter161_radix10.qel") + " --result " + saved +
                               " --vcd " + shellPath(dir.file("other.vcd")));
  EXPECT_EQ(other.status, 1);
  EXPECT_NE(other.err.find("package"), std::string::npos) << other.err;
  EXPECT_FALSE(std::filesystem::exists(dir.file("other.vcd")));

  // No output named, or an unwritable target: usage or write error, the old file whole.
  EXPECT_EQ(qel("export " + example("nand7400.qel")).status, 2);
  std::filesystem::create_directory(dir.path() / "folder.vcd");
  EXPECT_EQ(qel("export " + example("nand7400.qel") + " --vcd " + shellPath(dir.file("folder.vcd"))).status,
            2);
#if !defined(_WIN32)
  std::filesystem::permissions(dir.file("later.vcd"), std::filesystem::perms::owner_read);
  const std::string before = bytesOf(dir.file("later.vcd"));
  const ProgramRun refused = qel("export " + example("nand7400.qel") + " --vcd " + later);
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("was not written"), std::string::npos) << refused.err;
  EXPECT_EQ(bytesOf(dir.file("later.vcd")), before);
#endif
}

TEST(ExportCommands, AnImportedVectorLibraryRunsOnTheVirtualChipsAndNamesWhatItLeftOut) {
  qel::testing::TempDir dir;
  const std::string xml = shellPath(std::string(QEL_EXAMPLES_DIR) + "/../tests/exports/vectors.xml");
  const std::string out = shellPath(dir.file("lib"));
  const ProgramRun imported = qel("import " + xml + " -o " + out);
  if (imported.status == 2 && imported.err.find("not available in this build") != std::string::npos)
    GTEST_SKIP() << "this qel reads no XML";
  EXPECT_EQ(imported.status, 1) << imported.err;  // some chips could not be carried over
  EXPECT_NE(imported.out.find("3 tests written"), std::string::npos) << imported.out;
  for (const char* line :
       {"chip 74LVC00: supply 3.3V", "chip 7476: supply on pin 4, not the package's corner pin 16",
        "chip WIDE48: 48 pins, more than the tester's 40", "chip 7404: vector 02: 13 symbols",
        "chip 7402: vector 07: symbol \"Q\""})
    EXPECT_NE(imported.out.find(line), std::string::npos) << line;

  const ProgramRun checked = qel("check " + out + "/7400.qel " + out + "/7474.qel " + out + "/74245.qel");
  EXPECT_EQ(checked.status, 0) << checked.out << checked.err;
  EXPECT_EQ(qel("book " + out + "/vectors.lib --check").status, 0);
  // Combinational with X, clocked, bidirectional with Z: a good chip passes, a stuck output fails.
  for (const auto& [chip, output] : {std::pair{"7400", "3"}, {"7474", "9"}, {"74245", "15"}}) {
    const std::string run = "run " + out + "/" + chip + ".qel --tester virtual --chip " + chip;
    EXPECT_EQ(qel(run).status, 0) << chip;
    EXPECT_EQ(qel(run + " --fault stuck0:" + output).status + qel(run + " --fault stuck1:" + output).status,
              2)
        << chip;
  }

  // A file that is not XML: one line, nothing written; the tests already there stay as they were.
  const std::string before = bytesOf(dir.file("lib/7400.qel"));
  {
    std::ofstream broken(dir.file("broken.xml"));
    broken << "<logicic><ic name=\"7400\" pins=\"14\"><vector id=\"1\">0 0 H";
  }
  const ProgramRun bad = qel("import " + shellPath(dir.file("broken.xml")) + " -o " + out);
  EXPECT_EQ(bad.status, 2);
  EXPECT_NE(bad.err.find("line 1: "), std::string::npos) << bad.err;
  EXPECT_EQ(bytesOf(dir.file("lib/7400.qel")), before);
}

}  // namespace
