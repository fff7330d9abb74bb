#pragma once
// Logic-chip test vectors in the XML format of an open-source device programmer's library: chips
// of a DIP package, each with vectors of one symbol per pin, carried over as test files.

#include <string>
#include <vector>

#include "model/test_description.h"

namespace qel::exports {

struct LibraryVector {
  std::string id;
  std::string symbols;  // the element's text as written
};

struct LibraryChip {
  std::string name;
  std::string pins;     // the attribute as written
  std::string voltage;  // empty when not given
  std::vector<LibraryVector> vectors;
};

struct VectorLibrary {
  std::vector<LibraryChip> chips;
  // Why the file, or an element in it, could not be read: one line each.
  std::vector<std::string> problems;
};

// Whether this build reads the XML (the Windows cross-build has no XML library).
bool vectorLibraryReadable();
VectorLibrary readVectorLibrary(const std::string& xml);

// One chip as a test: pins of a DIP package, typed by how the vectors use them, a clock pulse
// "C" as three cycles (low, high, low) with the expected levels checked in the last. Where the
// chip cannot be carried over, the reason names the chip and, where it lies in one, the vector.
struct ConvertedChip {
  std::string reason;  // empty when converted
  TestDescription test;
  std::vector<std::string> notes;  // what was carried over only in part
};
ConvertedChip convertChip(const LibraryChip& chip);

}  // namespace qel::exports
