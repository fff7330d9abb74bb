// Every memory fault the virtual RAM and ROM know, under every memory test: found or missed as
// examples/memory-tests.md says, and when found, named by the diagnosis.

#include <filesystem>

#include "algorithms/expansion.h"
#include "engine_rig.h"

namespace qel::testing {
namespace {

enum Algorithm { Compressed, Full, MarchSolid, MarchChecker, RomReadout };
const char* const kAlgorithmNames[] = {"Compressed", "Full", "MarchSolid", "MarchChecker", "RomReadout"};

struct Case {
  const char* fault;  // empty: a good chip
  Algorithm algorithm;
  const char* finding;  // a part of the diagnosis, or nullptr when the test misses the fault
};

constexpr const char* kA7 = "адресная линия A7 (вывод 1) не переключается";
constexpr const char* kA3A4 = "адресные линии A3 (вывод 5) и A4 (вывод 4) замкнуты";
constexpr const char* kD2D3 = "линии данных D2 (вывод 11) и D3 (вывод 13) замкнуты";
constexpr const char* kD1D3 = "линии данных D1 (вывод 10) и D3 (вывод 13) замкнуты";
constexpr const char* kStuck = "неисправна ячейка 1A3h, бит 4: всегда 0";
constexpr const char* kRise = "неисправна ячейка 1A3h, бит 4: всегда 0 или не переключается из 0 в 1";
constexpr const char* kFall = "неисправна ячейка 1A3h, бит 4: не переключается из 1 в 0";
constexpr const char* kBelow = "неисправна ячейка 1A3h, бит 4: меняется при записи в одну из ячеек 000h-1A2h";

const Case kCases[] = {
    {"", Compressed, nullptr},
    {"", Full, nullptr},
    {"", MarchSolid, nullptr},
    {"", MarchChecker, nullptr},
    {"", RomReadout, nullptr},
    {"addr0:7", Compressed, nullptr},
    {"addr0:7", Full, nullptr},
    {"addr0:7", MarchSolid, kA7},
    {"addr0:7", MarchChecker, kA7},
    {"addr0:7", RomReadout, kA7},
    {"addrshort:3,4", Compressed, kA3A4},
    {"addrshort:3,4", Full, kA3A4},
    {"addrshort:3,4", MarchSolid, kA3A4},
    {"addrshort:3,4", MarchChecker, kA3A4},
    {"addrshort:3,4", RomReadout, kA3A4},
    {"datashort:2,3", Compressed, kD2D3},
    {"datashort:2,3", Full, kD2D3},
    {"datashort:2,3", MarchSolid, nullptr},
    {"datashort:2,3", MarchChecker, kD2D3},
    {"datashort:2,3", RomReadout, kD2D3},
    {"datashort:1,3", Full, kD1D3},
    {"datashort:1,3", MarchChecker, nullptr},
    {"cell:0x1A3=0xEF", Compressed, nullptr},
    {"cell:0x1A3=0xEF", Full, kStuck},
    {"cell:0x1A3=0xEF", MarchSolid, kStuck},
    {"cell:0x1A3=0xEF", MarchChecker, kStuck},
    {"cell:0x1A3=0xEF", RomReadout, "неверное содержимое ячейки 1A3h: прочитано 0EFh вместо 9Ah"},
    {"transition:0x1A3,4", Compressed, nullptr},
    {"transition:0x1A3,4", Full, kRise},
    {"transition:0x1A3,4", MarchChecker, kRise},
    {"transition:0x1A3,4,down", Full,
     "неисправна ячейка 1A3h, бит 4: всегда 1 или не переключается из 1 в 0"},
    {"transition:0x1A3,4,down", MarchSolid, kFall},
    {"transition:0x1A3,4,down", MarchChecker, kFall},
    {"coupling:0x0F2,0x1A3,4", Compressed, nullptr},
    {"coupling:0x0F2,0x1A3,4", Full, nullptr},
    {"coupling:0x0F2,0x1A3,4", MarchSolid, kBelow},
    {"coupling:0x0F2,0x1A3,4", MarchChecker, kBelow},
    {"coupling:0x1A3,0x0F2,4", MarchChecker,
     "неисправна ячейка 0F2h, бит 4: всегда 1 или не переключается из 1 в 0 "
     "или меняется при записи в одну из ячеек 0F3h-7FFh"},
};

void PrintTo(const Case& c, std::ostream* os) {
  *os << kAlgorithmNames[c.algorithm] << " " << (*c.fault ? c.fault : "good chip");
}

class MemoryFault : public ::testing::TestWithParam<Case> {};

TEST_P(MemoryFault, IsFoundAndNamedOrMissedAsDocumented) {
  const Case& c = GetParam();
  const bool rom = c.algorithm == RomReadout;
  virt::BoardConfig config = EngineRig::board(rom ? "2716" : "6116");
  if (*c.fault) {
    ASSERT_FALSE(virt::applySpec(config, c.fault));
  }
  if (rom) config.romFile = std::string(QEL_EXAMPLES_DIR) + "/eprom2716.dat";
  EngineRig rig(config);
  rig.loadOptions.expansion.compressedRamTest = c.algorithm != Full;
  rig.load(rom ? "eprom2716_rom.qel" : c.algorithm <= Full ? "sram6116_ram.qel" : "sram6116_march.qel");
  if (c.algorithm == MarchSolid) {
    rig.bench.test.algorithms.march.background = MarchBackground::Solid;
    algorithms::expandMarch(rig.bench.test, rig.op, {});
    rig.op.clear();
  }
  ASSERT_EQ(rig.runFull(), engine::Outcome::Finished);
  std::vector<std::string> diagnosis;
  for (const auto& line : rig.op.lines("progress log "))
    if (line.starts_with("Диагностика памяти: ")) diagnosis.push_back(line);
  if (!c.finding) {
    EXPECT_EQ(rig.bench.errors.errorCount, 0);
    EXPECT_TRUE(diagnosis.empty());
    return;
  }
  EXPECT_GT(rig.bench.errors.errorCount, 0);
  ASSERT_FALSE(diagnosis.empty());
  bool named = false;
  for (const auto& line : diagnosis) named = named || line.find(c.finding) != std::string::npos;
  EXPECT_TRUE(named) << diagnosis.front();
  // The same lines in the main log, as the desktop program shows them.
  const auto log = rig.op.lines("log ");
  EXPECT_NE(std::find(log.begin(), log.end(), diagnosis.front()), log.end());
}

std::string caseName(const ::testing::TestParamInfo<Case>& info) {
  std::string name = kAlgorithmNames[info.param.algorithm];
  name += *info.param.fault ? "_" + std::string(info.param.fault) : "_GoodChip";
  for (char& ch : name)
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  return name + "_" + std::to_string(info.index);
}

INSTANTIATE_TEST_SUITE_P(Table, MemoryFault, ::testing::ValuesIn(kCases), caseName);

}  // namespace
}  // namespace qel::testing
