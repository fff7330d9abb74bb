#pragma once
// Saving the data read out of a ROM, from the result diagram, as a ROM data file.

#include <cstdint>
#include <vector>

#include "model/test_description.h"
#include "operator/operator.h"

namespace qel::algorithms {

struct RomReadout {
  std::vector<uint8_t> bytes;  // byte i = address startAddress + i
  int64_t undefined = 0;       // addresses whose reading was not a number; saved as 0
  int64_t firstUndefined = 0;  // the first such address
};

// Reads the data word at the data cycle of every address block of the Rom test. Empty when the
// Rom block names no data word.
RomReadout romReadoutFromResult(const TestDescription& test);

// "Сохранить файл данных..." while a test is shown: asks for the file, confirms a replacement and
// writes it. Returns true when a file was written.
bool saveRomDataFile(const TestDescription& test, Operator& op);

}  // namespace qel::algorithms
