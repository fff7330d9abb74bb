#include "cli/engine_session.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>

#include "app/test_loader.h"
#include "cli/cli_util.h"
#include "fileio/safe_save.h"

namespace qel::cli {

namespace {

std::atomic<bool> gInterrupt{false};
extern "C" void onInterrupt(int) {
  gInterrupt = true;
}

}  // namespace

bool RunOperator::echoed(std::string_view line, bool progress) {
  std::lock_guard lock(mutex_);
  const bool same = !last_.empty() && line == last_ && progress != lastProgress_;
  last_ = same ? std::string() : std::string(line);
  lastProgress_ = progress;
  return same;
}

void RunOperator::log(std::string_view line) {
  if (!echoed(line, false)) console_.log(line);
}

void RunOperator::progressLog(std::string_view line) {
  if (!echoed(line, true)) console_.progressLog(line);
}

std::optional<std::string> parseSessionOptions(Args args, bool takesTest, bool takesSave, bool takesCycles,
                                               SessionOptions& o) {
  std::vector<std::string> rest;
  if (auto e = parseTesterOptions(args, o.tester, rest)) return e;
  for (size_t i = 0; i < rest.size(); ++i) {
    const std::string& a = rest[i];
    auto value = [&](std::string& into) -> std::optional<std::string> {
      if (i + 1 >= rest.size()) return a + " needs a value";
      into = rest[++i];
      return std::nullopt;
    };
    if (a == "--report") {
      if (auto e = value(o.report)) return e;
    } else if (a == "--save-result" && takesSave) {
      if (auto e = value(o.saveResult)) return e;
    } else if (a == "--cycles" && takesCycles) {
      std::string v;
      if (auto e = value(v)) return e;
      o.cycles = v;
    } else if (a == "--yes") {
      o.yes = true;
    } else if (a == "--data" && takesTest) {
      if (auto e = value(o.romData)) return e;
    } else if (a == "--full-ram" && takesTest) {
      o.fullRam = true;
    } else if (takesTest && o.test.empty() && !a.starts_with("--")) {
      o.test = a;
    } else {
      return "unexpected argument '" + a + "'";
    }
  }
  if (takesTest && o.test.empty()) return "a test file is needed";
  return std::nullopt;
}

EngineSession::EngineSession(const SessionOptions& o) : options(o) {
  console.answerYes = o.yes;
  gInterrupt = false;
  std::signal(SIGINT, onInterrupt);
}

EngineSession::~EngineSession() {
  engine.reset();
  if (connection && connection->link) connection->link->closeConnection();
  std::signal(SIGINT, SIG_DFL);
}

bool EngineSession::open() {
  if (!options.test.empty()) {
    ws.expansion.romDataFile = options.romData;
    ws.expansion.compressedRamTest = !options.fullRam;
    const auto loaded = app::loadTest(ws, options.test, op);
    if (!loaded.shown) {
      std::fprintf(stderr, "qel: the test '%s' was not loaded\n", options.test.c_str());
      return false;
    }
  } else {
    // Diagnostics work on the empty test of start-up.
    ws.test.resetForStartup();
    ws.test.computeTypeCodes();
    ws.pagesVisible = true;
  }
  connection = connectTester(options.tester, op);
  if (!connection) return false;
  engine = std::make_unique<engine::TestEngine>(ws, *connection->link, connection->clock, op);
  return true;
}

void EngineSession::waitForRun() {
  while (engine->running()) {
    if (gInterrupt.exchange(false)) {
      interrupted = true;
      std::fprintf(stdout, "Отмена\n");
      std::fflush(stdout);
      engine->cancel();
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  engine->wait();
}

nlohmann::ordered_json contactsJson(const app::Workspace& ws) {
  std::lock_guard lock(ws.dataMutex);
  auto out = nlohmann::ordered_json::array();
  for (int p = 1; p <= ws.test.pinCount && p <= engine::kContactRecords; ++p) {
    const auto& r = ws.contacts[size_t(p - 1)];
    out.push_back({{"pin", p}, {"mark", r.mark}, {"level", r.level}, {"group", r.group}});
  }
  return out;
}

nlohmann::ordered_json resultJson(const TestDescription& t) {
  auto out = nlohmann::ordered_json::array();
  for (int p = 1; p <= t.pinCount; ++p) {
    std::string codes(size_t(std::max(t.cycleCount, 0)), '5');
    for (int c = 1; c <= t.cycleCount; ++c) codes[size_t(c - 1)] = char('0' + t.resultCode(p, c) % 10);
    out.push_back({{"pin", p}, {"codes", codes}});
  }
  return out;
}

bool writeReport(const std::string& path, const nlohmann::ordered_json& report) {
  const std::string error = fileio::saveFile(path, report.dump(2) + "\n");
  if (!error.empty()) {
    std::fprintf(stderr, "qel: the report '%s' was not written: %s\n", path.c_str(), error.c_str());
    return false;
  }
  return true;
}

}  // namespace qel::cli
