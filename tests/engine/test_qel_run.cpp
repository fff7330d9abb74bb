// qel run, contact, analyse and dump as a bench script calls them: exit status, printed texts,
// report.

#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <sys/wait.h>
#include <unistd.h>
#endif
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "app/test_loader.h"
#include "nand_test.h"
#include "operator/operator.h"
#include "run_program.h"
#include "testfile/writer.h"

namespace {

struct Outcome {
  int status = -1;
  std::string out;
};

// Standard output, then standard error: the assertions look for lines, not for their order.
// Lines end in CR LF on the Windows console; the assertions look for LF.
Outcome qel(const std::string& args) {
  const auto r = qel::testing::runProgram(QEL_BINARY, args);
  Outcome o{r.status, r.out + r.err};
  std::erase(o.out, '\r');
  return o;
}

std::string example(const char* name) {
  return std::string(QEL_EXAMPLES_DIR) + "/" + name;
}
std::string temp(const char* name) {
  return ::testing::TempDir() + name;
}

nlohmann::json readJson(const std::string& path) {
  std::ifstream in(path);
  return nlohmann::json::parse(in);
}

TEST(QelRun, FaultyChipNamesItsCyclesInTheReport) {
  const std::string report = temp("qel_run_report.json");
  const std::string saved = temp("qel_run_saved.qel");
  const Outcome r =
      qel("run " + example("nand7400.qel") + " --tester virtual --chip 7400 --fault held0:3 --report " +
          report + " --save-result " + saved);
  EXPECT_EQ(r.status, 1) << r.out;
  EXPECT_NE(r.out.find("Тестирование Контактов(TestCorp)\n"), std::string::npos);
  EXPECT_NE(r.out.find("Всего найдено ошибок: 4\n"), std::string::npos);
  EXPECT_NE(r.out.find("Такты с ошибками: 1 2 3 5\n"), std::string::npos);
  // Each step once, though it goes to both logs.
  EXPECT_EQ(r.out.find("Потенциальный скол(volt1)"), r.out.rfind("Потенциальный скол(volt1)"));

  const auto j = readJson(report);
  EXPECT_EQ(j["errorCount"], 4);
  EXPECT_EQ(j["mismatchCount"], 0);
  EXPECT_EQ(j["errorCycles"], nlohmann::json::array({1, 2, 3, 5}));
  ASSERT_EQ(j["contacts"].size(), 14u);
  EXPECT_EQ(j["contacts"][6]["pin"], 7);
  EXPECT_EQ(j["contacts"][6]["level"], 55);
  EXPECT_TRUE(j["contacts"][0].contains("mark") && j["contacts"][0].contains("group"));
  ASSERT_EQ(j["result"].size(), 14u);
  EXPECT_EQ(j["result"][2]["pin"], 3);
  EXPECT_EQ(std::string(j["result"][2]["codes"]).size(), 6u);
  EXPECT_EQ(std::string(j["result"][2]["codes"])[3], '1');  // expected low there, and low

  // The saved result is a test of its own: the measured levels as the new reference.
  qel::engine::Bench bench;
  qel::SilentOperator op;
  ASSERT_TRUE(qel::app::loadTest(bench, saved, op).shown);
  EXPECT_EQ(bench.test.cycleCount, 6);
}

TEST(QelRun, ExitStatusSaysWhetherTheRunFinished) {
  EXPECT_EQ(qel("run " + example("dff7474.qel") + " --tester virtual --chip 7474").status, 0);
  const Outcome noTester =
      qel("run " + example("nand7400.qel") + " --tester virtual --chip 7400 --fault absent");
  EXPECT_EQ(noTester.status, 2);
  EXPECT_NE(noTester.out.find("[16 error] Нет связи с тестером"), std::string::npos);
  const Outcome contact =
      qel("run " + example("nand7400.qel") + " --tester virtual --chip 7400 --fault open:2 --yes");
  EXPECT_EQ(contact.status, 2);
  EXPECT_NE(contact.out.find(
                "[36 question] На микросхеме нет контактирования зажима. Включить проверку контактирования "
                "в реальном времени? -> Да"),
            std::string::npos);
  EXPECT_EQ(qel("run").status, 2);
  EXPECT_EQ(qel("run " + example("nand7400.qel") + " --bogus").status, 2);
}

TEST(QelRun, ContactDiagAndAnalyse) {
  const std::string report = temp("qel_contact_report.json");
  const Outcome c = qel("contact " + example("nand7400.qel") +
                        " --tester virtual --chip 7400 --fault short:1,4 --report " + report);
  EXPECT_EQ(c.status, 0) << c.out;
  const auto j = readJson(report);
  EXPECT_EQ(j["contacts"][0]["group"], j["contacts"][3]["group"]);
  EXPECT_NE(j["contacts"][0]["group"], 0);

  EXPECT_EQ(qel("diag ram --tester virtual --chip 7400").status, 0);
  EXPECT_EQ(qel("diag ram --tester virtual --chip 7400 --fault ramfault").status, 1);
  EXPECT_EQ(qel("diag channels --tester virtual --chip 7400 --fault free").status, 0);
  const Outcome faulty = qel("diag channels --tester virtual --chip 7400 --fault free --fault channel:3");
  EXPECT_EQ(faulty.status, 1);
  EXPECT_NE(faulty.out.find("Неисправные каналы(всего 1): 4; "), std::string::npos);

  const std::string capture = temp("qel_capture.json");
  EXPECT_EQ(qel("analyse " + example("nand7400.qel") +
                " --cycles 100 --tester virtual --chip 7400 --report " + capture)
                .status,
            0);
  const auto k = readJson(capture);
  EXPECT_EQ(k["cycles"], 100);
  EXPECT_EQ(std::string(k["capture"][2]["codes"]), std::string(100, '1'));  // floating inputs: NAND low
  EXPECT_EQ(qel("analyse " + example("nand7400.qel") + " --cycles 9000 --tester virtual").status, 2);
}

TEST(QelRun, AFailingMemoryTestPrintsItsFirstErrorCyclesAndWhatTheyPointTo) {
  const std::string report = temp("qel_run_memory.json");
  const Outcome r = qel("run " + example("sram6116_march.qel") +
                        " --tester virtual --chip 6116 --fault datashort:2,3 --report " + report);
  EXPECT_EQ(r.status, 1) << r.out;
  const std::string diagnosis = "Диагностика памяти: линии данных D2 (вывод 11) и D3 (вывод 13) замкнуты";
  EXPECT_NE(r.out.find(diagnosis + "\n"), std::string::npos) << r.out;
  const size_t cycles = r.out.find("Такты с ошибками:");
  ASSERT_NE(cycles, std::string::npos);
  const std::string line = r.out.substr(cycles, r.out.find('\n', cycles) - cycles);
  const std::string tail = " ... (всего 9999; все такты - в отчете --report)";
  ASSERT_TRUE(line.ends_with(tail)) << line;
  std::istringstream shown(line.substr(0, line.size() - tail.size()).substr(line.find(':') + 1));
  EXPECT_EQ(std::distance(std::istream_iterator<int>(shown), std::istream_iterator<int>()), 20) << line;

  const auto j = readJson(report);
  EXPECT_EQ(j["errorCycles"].size(), 9999u);
  EXPECT_EQ(j["diagnosis"], nlohmann::json::array({diagnosis}));
}

TEST(QelRun, ABrokenLinkReportsTheSupplyAsPossiblyOnAndNeverSuccess) {
  // Broken right after the supply went on: the level snapshot fails, and the supply-off that
  // follows cannot reach the tester.
  const std::string report = temp("qel_broken_report.json");
  const Outcome r = qel("run " + example("nand7400.qel") +
                        " --tester virtual --chip 7400 --fault break:5 --report " + report);
  EXPECT_EQ(r.status, 2) << r.out;
  EXPECT_NE(r.out.find("[48 warning] Питание может быть не выключено: тестер не ответил"), std::string::npos);
  const auto j = readJson(report);
  EXPECT_EQ(j["supply"], "on");
  EXPECT_EQ(j["finished"], false);
  // A good run says the supply is off, and lists no error cycles.
  const Outcome good =
      qel("run " + example("nand7400.qel") + " --tester virtual --chip 7400 --report " + report);
  EXPECT_EQ(good.status, 0);
  EXPECT_NE(good.out.find("Ошибок: 0\n"), std::string::npos) << good.out;
  EXPECT_EQ(good.out.find("Такты с ошибками"), std::string::npos) << good.out;
  EXPECT_EQ(readJson(report)["supply"], "off");
}

TEST(QelRun, BadInputEndsWithAClearMessageAndStatus) {
  const std::string folder = temp("qel_a_folder");
  std::filesystem::create_directories(folder);
  const Outcome check = qel("check " + folder + "/");
  EXPECT_EQ(check.status, 1);
  EXPECT_NE(check.out.find("not loaded: это папка, а не файл"), std::string::npos) << check.out;

  const Outcome rom = qel("run " + example("nand7400.qel") + " --tester virtual --chip 2716 --rom " + folder);
  EXPECT_EQ(rom.status, 2);
  EXPECT_NE(rom.out.find("cannot be read: это папка, а не файл"), std::string::npos) << rom.out;
  const std::string board = temp("qel_empty_rom.board");
  std::ofstream(board) << "chip 2716\nrom\n";
  const Outcome emptyRom = qel("run " + example("nand7400.qel") + " --tester virtual --board " + board);
  EXPECT_EQ(emptyRom.status, 2);
  EXPECT_NE(emptyRom.out.find(":2: rom needs the name of a ROM data file"), std::string::npos)
      << emptyRom.out;

  // Numbers at the edge of their type are refused or clamped, not wrapped.
  const Outcome far = qel("show " + example("nand7400.qel") + " --cycles 2147483647:");
  EXPECT_EQ(far.status, 2);
  EXPECT_NE(far.out.find("the test has 6 cycles"), std::string::npos) << far.out;
  for (const char* bad : {"pace:inf", "pace:nan", "pace:1e-300"})
    EXPECT_EQ(qel("run " + example("nand7400.qel") + " --tester virtual --fault " + bad).status, 2) << bad;
  std::ofstream(board) << "chip 7400\nu0 inf\n";
  EXPECT_EQ(qel("run " + example("nand7400.qel") + " --tester virtual --board " + board).status, 2);
}

[[maybe_unused]] std::string fileText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(QelRun, CtrlCCancelsAsOtmenaDoes) {
#if defined(_WIN32)
  GTEST_SKIP() << "Ctrl+C reaches a Windows program as a console event, which a test cannot send "
                  "to one child alone";
#else
  // Long enough, on a link paced like real hardware, to be caught in the middle.
  const std::string test = temp("qel_long_nand.qel");
  qel::TestDescription t;
  qel::testing::buildNandTest(t, 40000);
  ASSERT_EQ(qel::testfile::writeTestFile(t, test, qel::testfile::WriteSource::Reference), "");
  // The tool's output comes through a pipe, read as it is written: every line is flushed.
  int output[2];
  ASSERT_EQ(pipe(output), 0);
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    dup2(output[1], STDOUT_FILENO);
    close(output[0]);
    close(output[1]);
    setenv("QEL_PACE", "1000000", 1);
    execl(QEL_BINARY, QEL_BINARY, "run", test.c_str(), "--tester", "virtual", "--chip", "7400",
          static_cast<char*>(nullptr));
    _exit(127);
  }
  close(output[1]);
  std::string text;
  auto readSome = [&] {
    char buffer[4096];
    const ssize_t n = read(output[0], buffer, sizeof buffer);
    if (n > 0) text.append(buffer, size_t(n));
    return n > 0;
  };
  bool inBlock = false;
  while (!inBlock && readSome())
    inBlock = text.find("Работа с объектом, получение данных") != std::string::npos;
  kill(pid, SIGINT);
  while (readSome()) {
  }
  close(output[0]);
  int raw = 0;
  waitpid(pid, &raw, 0);
  ASSERT_TRUE(inBlock) << text;
  ASSERT_TRUE(WIFEXITED(raw));
  EXPECT_EQ(WEXITSTATUS(raw), 2);
  EXPECT_NE(text.find("Отмена\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Тест не завершён: cancelled"), std::string::npos);
  EXPECT_EQ(text.find("Ошибка съема данных"), std::string::npos);
  EXPECT_EQ(text.find("Конец тестирования"), std::string::npos);
#endif
}

TEST(QelDump, WritesTheDiagramsAsTheModelHoldsThem) {
  const std::string file = example("transceiver245.qel");
  const Outcome r = qel("dump " + file + " --cycles 2:9");
  ASSERT_EQ(r.status, 0) << r.out;
  const auto j = nlohmann::ordered_json::parse(r.out);
  qel::engine::Bench bench;
  qel::SilentOperator op;
  ASSERT_TRUE(qel::app::loadTest(bench, file, op).shown);
  const auto& t = bench.test;
  EXPECT_EQ(j["cycleCount"], t.cycleCount);
  EXPECT_EQ(j["pins"].size(), size_t(t.pinCount));
  // One key a slot, in row order, with cycles 2..9 of those the test has.
  const int last = std::min(9, t.cycleCount);
  std::vector<std::string> keys;
  for (int row = 1; row <= t.pinCount; ++row) {
    const std::string key = std::to_string(t.rowSignal(row));
    if (std::find(keys.begin(), keys.end(), key) == keys.end()) keys.push_back(key);
  }
  std::vector<std::string> dumped;
  for (const auto& item : j["reference"].items()) dumped.push_back(item.key());
  EXPECT_EQ(dumped, keys);
  for (const auto& key : keys) {
    const int slot = std::stoi(key);
    std::string reference, direction;
    for (int c = 2; c <= last; ++c) {
      reference.push_back("01x"[std::min<int>(t.level(slot, c), 2)]);
      direction.push_back(t.isRead(slot, c) ? '1' : '0');
    }
    EXPECT_EQ(j["reference"][key], reference) << key;
    EXPECT_EQ(j["direction"][key], direction) << key;
    EXPECT_EQ(j["result"][key], std::string(size_t(last - 1), '5')) << key;
  }
  // Output that cannot be written is not a success.
  if (std::filesystem::exists("/dev/full")) {
    EXPECT_EQ(qel("dump " + file + " >/dev/full").status, 2);
  }
}

}  // namespace
