// qel as a user at a terminal and a script in a pipeline meet it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "environment.h"
#include "run_program.h"

namespace {

using qel::testing::ProgramRun;

ProgramRun qel(const std::string& arguments) {
  return qel::testing::runProgram(QEL_BINARY, arguments);
}

std::string example(const char* name) {
  return qel::testing::shellPath(std::string(QEL_EXAMPLES_DIR) + "/" + name);
}

std::string fileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

bool has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(CommandLine, HelpVersionAndUsageErrorsHaveTheUsualManners) {
  const ProgramRun version = qel("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.substr(0, version.out.find_last_not_of("\r\n") + 1),
            std::string("qel ") + QEL_VERSION);

  // Help of one command, not a file called "--help".
  for (const char* asked : {"check --help", "help check"}) {
    const ProgramRun help = qel(asked);
    EXPECT_EQ(help.status, 0) << asked;
    EXPECT_TRUE(has(help.out, "FILE")) << help.out;
    EXPECT_FALSE(has(help.out + help.err, "not loaded")) << asked;
  }
  const ProgramRun all = qel("--help-all");
  EXPECT_EQ(all.status, 0);
  for (const char* part : {"check", "run", "--save-result", "--tester", "--fault", "Exit status"})
    EXPECT_TRUE(has(all.out, part)) << part;

  // Usage errors: status 2, said on standard error, nothing on standard output.
  for (const char* wrong :
       {"", "frobnicate", "check", "run " /* no test */, "check --bogus x.qel", "dump --cycles=9:1 x.qel",
        "diag disk", "probe --tester usb", "probe --chip 7400" /* board without the virtual tester */,
        "probe --tester virtual --fault open:99", "analyse x.qel"}) {
    const ProgramRun r = qel(wrong);
    EXPECT_EQ(r.status, 2) << "qel " << wrong;
    EXPECT_FALSE(r.err.empty()) << "qel " << wrong;
    if (*wrong != 0) {
      EXPECT_EQ(r.out, "") << "qel " << wrong;
    }
  }
  EXPECT_TRUE(has(qel("frobnicate").err, "unknown command 'frobnicate'"));

  // --opt=value, and -- ending the options: a file may then start with dashes.
  const ProgramRun range = qel("dump --cycles=2:3 " + example("nand7400.qel"));
  EXPECT_EQ(range.status, 0) << range.err;
  const ProgramRun dashes = qel("check -- --help");
  EXPECT_EQ(dashes.status, 1);
  EXPECT_TRUE(has(dashes.out, "not loaded"));
}

TEST(CommandLine, DataOnStandardOutputAndWordsForPeopleOnStandardError) {
  // An error of the run is on standard error; the log stays on standard output.
  const ProgramRun absent = qel("run " + example("nand7400.qel") + " --tester virtual --fault absent");
  EXPECT_EQ(absent.status, 2);
  EXPECT_TRUE(has(absent.err, "[16 error] Нет связи с тестером"));
  EXPECT_FALSE(has(absent.out, "Нет связи с тестером"));

  // --report -: standard output is the JSON report and nothing else; it names its tool and schema.
  const ProgramRun report =
      qel("run " + example("nand7400.qel") + " --tester virtual --chip 7400 --fault held0:3 --report -");
  EXPECT_EQ(report.status, 1) << report.err;
  const auto j = nlohmann::json::parse(report.out);
  EXPECT_EQ(j["tool"], "qel");
  EXPECT_EQ(j["toolVersion"], QEL_VERSION);
  EXPECT_EQ(j["schemaVersion"], 1);
  EXPECT_EQ(j["errorCount"], 4);
  EXPECT_TRUE(has(report.err, "Такты с ошибками: 1 2 3 5"));
  EXPECT_EQ(qel("run " + example("nand7400.qel") + " --tester virtual --report - --save-result -").status, 2);

  // -o -: the expanded test itself, byte for byte what -o FILE writes.
  const auto file = std::filesystem::temp_directory_path() / "qel-cli-expanded.qel";
  ASSERT_EQ(
      qel("expand " + example("counter_cyclic.qel") + " -o " + qel::testing::shellPath(file.string())).status,
      0);
  const ProgramRun piped = qel("expand " + example("counter_cyclic.qel") + " -o -");
  EXPECT_EQ(piped.status, 0) << piped.err;
  EXPECT_EQ(piped.out, fileBytes(file));
  EXPECT_TRUE(has(piped.err, "cycles from"));
  std::filesystem::remove(file);

  const auto dump = nlohmann::json::parse(qel("dump " + example("nand7400.qel")).out);
  EXPECT_EQ(dump["schemaVersion"], 1);
}

TEST(CommandLine, TheTesterChoiceIsCheckedAndExplained) {
  qel::testing::setEnvironment("QEL_TESTER", "usb");
  const ProgramRun unknown = qel("probe");
  qel::testing::setEnvironment("QEL_TESTER", "");
  EXPECT_EQ(unknown.status, 2);
  EXPECT_TRUE(has(unknown.err, "QEL_TESTER=usb")) << unknown.err;
  // The board options follow QEL_TESTER=virtual as they follow --tester virtual.
  qel::testing::setEnvironment("QEL_TESTER", "virtual");
  const ProgramRun chosen = qel("probe --chip 7474");
  qel::testing::setEnvironment("QEL_TESTER", "");
  EXPECT_EQ(chosen.status, 0) << chosen.err;
  EXPECT_TRUE(has(chosen.out, "Открываем порт...OK"));
#ifdef QEL_HAVE_FTDI
  // No tester is attached here: libftdi finds none, and says so as the vendor's driver would.
  const ProgramRun ftdi = qel("probe --tester ftdi");
  EXPECT_EQ(ftdi.status, 2);
  EXPECT_TRUE(has(ftdi.err, "Нет связи с тестером") || has(ftdi.err, "libftdi1.so.2")) << ftdi.err;
#endif
}

#if !defined(_WIN32)
TEST(CommandLine, BashCompletionKnowsTheCommandsTheirOptionsAndChoices) {
  const ProgramRun script = qel("--bash-completion");
  ASSERT_EQ(script.status, 0);
  const auto path = std::filesystem::temp_directory_path() / "qel-completion.bash";
  std::ofstream(path) << script.out;
  auto complete = [&](const std::string& words, int current) {
    const std::string command = "bash -c 'source " + path.string() + "; COMP_WORDS=(" + words +
                                "); COMP_CWORD=" + std::to_string(current) + "; _qel; echo ${COMPREPLY[@]}'";
    return qel::testing::runProgram("/usr/bin/env", command).out;
  };
  EXPECT_EQ(complete("qel ana", 1), "analyse\n");
  EXPECT_EQ(complete("qel run --save", 2), "--save-result\n");
  EXPECT_EQ(complete("qel probe --tester \"\"", 3), "d2xx ftdi virtual\n");
  EXPECT_EQ(complete("qel diag \"\"", 2), "ram channels\n");
  EXPECT_TRUE(has(complete("qel run --tester virtual --chip 74", 5), "74161"));
  std::filesystem::remove(path);
}
#endif

}  // namespace
