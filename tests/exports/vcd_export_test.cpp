#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "exports/vcd_export.h"

namespace qel::exports {
namespace {

// Pin 1 input, 2 output, 3 ground (no lane), 4 output "Q out" (a blank in its name); 3 us cycles.
TestDescription chip(int cycles) {
  TestDescription t;
  t.pinCount = 4;
  const char* types[] = {"I", "O", "GND", "O"};
  for (int p = 1; p <= 4; ++p) t.pins[size_t(p)].typeText = types[p - 1];
  t.pins[1].name = "A";
  t.pins[4].name = "Q out";
  t.rows[1] = {1, 1};
  t.rows[2] = {2, 1};
  t.rows[3] = {4, 1};
  t.rows[4] = {3, 1};
  t.computeTypeCodes();
  t.cycleTime = 3;
  t.setCycleCount(cycles);
  for (int c = 1; c <= cycles; ++c) {
    t.setLevel(1, c, uint8_t(c % 2));
    t.setLevel(2, c, kHigh);
    t.setLevel(4, c, kDontCare);
    t.setResultCode(1, c, uint8_t(c % 2 + 1));
    t.setResultCode(2, c, kReadHigh);
    t.setResultCode(4, c, kReadLow);
  }
  return t;
}

std::string dump(const TestDescription& t) {
  std::string out;
  const std::string error = writeVcd(t, {"today", "qel test", "chip.qel", ""}, [&](std::string_view chunk) {
    out += chunk;
    return true;
  });
  EXPECT_EQ(error, "");
  return out;
}

// A small reader: the value of every "scope.name" lane at the start of each cycle.
struct Waves {
  std::vector<std::string> lanes;              // in definition order
  std::map<std::string, std::string> byCycle;  // lane -> one character per cycle
  long long lastTime = -1;
  std::string body;
};

Waves read(const std::string& vcd, int cycles, int step) {
  Waves w;
  std::map<std::string, std::string> idToLane;
  std::istringstream in(vcd);
  std::string token, scope;
  while (in >> token && token != "$enddefinitions") {
    if (token == "$scope") in >> token >> scope;
    if (token == "$var") {
      std::string type, width, id, name;
      in >> type >> width >> id >> name;
      idToLane[id] = scope + "." + name;
      w.lanes.push_back(scope + "." + name);
    }
  }
  in >> token;  // $end
  std::map<std::string, char> now;
  long long time = 0;
  std::string line;
  std::getline(in, line);
  auto settle = [&](long long until) {
    for (int c = 1; c <= cycles; ++c)
      if ((c - 1LL) * step >= time && (c - 1LL) * step < until)
        for (const auto& lane : w.lanes) w.byCycle[lane] += now.count(lane) ? now[lane] : '?';
  };
  while (std::getline(in, line)) {
    w.body += line + "\n";
    if (line.empty() || line == "$dumpvars" || line == "$end") continue;
    if (line[0] == '#') {
      const long long next = std::stoll(line.substr(1));
      settle(next);
      time = next;
      w.lastTime = next;
    } else {
      now[idToLane.at(line.substr(1))] = line[0];
    }
  }
  return w;
}

TEST(VcdExport, LanesCarryTheLevelsAndTheMismatchesOfEachCycle) {
  auto t = chip(6);
  t.setResultCode(2, 3, kReadLow);      // output wrong: cycle 3 is an error
  t.setResultCode(1, 5, kReadOther4);   // an input read as neither level
  t.setResultCode(2, 6, kNotMeasured);  // not measured under a defined level
  const std::string vcd = dump(t);
  const Waves w = read(vcd, 6, 3);

  EXPECT_EQ(w.lanes, (std::vector<std::string>{"reference.1_A", "reference.2", "reference.4_Q_out",
                                               "result.1_A", "result.2", "result.4_Q_out", "mismatch.1_A",
                                               "mismatch.2", "mismatch.4_Q_out"}));
  EXPECT_EQ(w.byCycle.at("reference.1_A"), "101010");
  EXPECT_EQ(w.byCycle.at("reference.4_Q_out"), "xxxxxx");
  EXPECT_EQ(w.byCycle.at("result.1_A"), "1010x0");
  EXPECT_EQ(w.byCycle.at("result.2"), "11011z");
  EXPECT_EQ(w.byCycle.at("mismatch.1_A"), "000010");
  EXPECT_EQ(w.byCycle.at("mismatch.2"), "001001");
  EXPECT_EQ(w.byCycle.at("mismatch.4_Q_out"), "000000");  // don't care is never a mismatch
  EXPECT_EQ(w.lastTime, 18);                              // the end of the last cycle

  EXPECT_NE(vcd.find("$timescale 1 us $end"), std::string::npos);
  EXPECT_NE(vcd.find("Error cycles: 3\n    3 (#6), 5 (#12), 6 (#15)"), std::string::npos) << vcd;
  // Nothing but values and times after the definitions: PulseView's reader stops at a keyword.
  EXPECT_EQ(w.body.find("$comment"), std::string::npos);
}

TEST(VcdExport, AnUnrunTestIsAllNotMeasuredAndAFailedWriteStops) {
  TestDescription t = chip(3);
  t.clearResults();
  t.chipName = "К155ЛА3 $end";
  const std::string vcd = dump(t);
  const Waves w = read(vcd, 3, 3);
  EXPECT_EQ(w.byCycle.at("result.1_A"), "zzz");
  EXPECT_EQ(w.byCycle.at("mismatch.2"), "111");  // the comparison counts not measured as an error
  EXPECT_NE(vcd.find("Chip: К155ЛА3 $ end"), std::string::npos);  // cannot close the comment

  int calls = 0;
  const std::string error = writeVcd(t, {}, [&](std::string_view) { return ++calls > 1; });
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(calls, 1);
}

TEST(VcdExport, AMillionCyclesStreamInChunksAndOnlyChangesAreWritten) {
  TestDescription t = chip(1'000'000);
  size_t bytes = 0, chunks = 0, largest = 0;
  EXPECT_EQ(writeVcd(t, {},
                     [&](std::string_view chunk) {
                       bytes += chunk.size();
                       largest = std::max(largest, chunk.size());
                       ++chunks;
                       return true;
                     }),
            "");
  EXPECT_GT(chunks, 5u);
  EXPECT_LT(largest, size_t(2) << 20);
  // Pin 1 and its reading change every cycle, nothing else does: about 14 bytes a cycle.
  EXPECT_LT(bytes, 20'000'000u);
}

}  // namespace
}  // namespace qel::exports
