#pragma once
// Parameters of the standard algorithms that expand a memory-chip template into a full test.

#include <cstdint>
#include <string>

namespace qel {

enum class AlgorithmKind : int32_t { Standard = 0, Cyclic = 1, Rom = 2, Ram = 3, March = 4 };

struct StandardParams {
  bool selected = true;
};

struct CyclicParams {
  bool selected = false;
  int32_t repeatCount = 1;
  int32_t repeatFirst = 1;
  int32_t repeatLast = 1;
};

struct RomParams {
  bool selected = false;
  int32_t unused = 0;       // first parameter line: read, never used
  int32_t addressWord = 0;  // DataWord indices are 0-based here, 1-based in the file
  int32_t addressCycle = 1;
  int32_t addressCycles = 1;
  int32_t startAddress = 1;
  int32_t finalAddress = 1;
  int32_t dataWord = 0;
  int32_t dataCycle = 1;
  std::string dataFileName;
};

// Where a static RAM test takes its addresses and data: the range, the two template blocks, the
// words and the cycles they are driven or checked in.
struct MemoryTestParams {
  int32_t startAddress = 1;
  int32_t finalAddress = 1;
  int32_t readStartCycle = 1;
  int32_t writeStartCycle = 1;
  int32_t readAddressWord = 0;
  int32_t writeAddressWord = 0;
  int32_t readAddressCycle = 1;
  int32_t readAddressCycles = 1;
  int32_t writeAddressCycle = 1;
  int32_t writeAddressCycles = 1;
  int32_t readDataWord = 0;
  int32_t writeDataWord = 0;
  int32_t readDataCycle = 1;
  int32_t writeDataCycle = 1;
  int32_t readDataCycles = 1;
  int32_t writeDataCycles = 1;
};

struct RamParams : MemoryTestParams {
  bool selected = false;
};

// What "0" stands for in every cell of the March test; "1" is its complement.
enum class MarchBackground : int32_t { Solid = 0, Checkerboard = 1 };

struct MarchParams : MemoryTestParams {
  bool selected = false;
  MarchBackground background = MarchBackground::Solid;
};

struct AlgorithmSettings {
  StandardParams standard;
  CyclicParams cyclic;
  RomParams rom;
  RamParams ram;
  MarchParams march;

  // Selects exactly the block of the given number; a number outside 0..4 selects none.
  void select(int32_t algorithmNumber) {
    standard.selected = algorithmNumber == 0;
    cyclic.selected = algorithmNumber == 1;
    rom.selected = algorithmNumber == 2;
    ram.selected = algorithmNumber == 3;
    march.selected = algorithmNumber == 4;
  }
};

}  // namespace qel
