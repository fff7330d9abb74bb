#pragma once
// A vector library imported into a folder: one test file per chip that can be carried over, and
// why each other chip could not.

#include <string>
#include <vector>

#include "exports/vector_library.h"

namespace qel::exports {

struct ImportedTest {
  std::string chip;
  std::string fileName;  // within the folder
  int cycles = 0;
};

struct LibraryImport {
  std::vector<ImportedTest> tests;
  std::vector<std::string> refused;  // one line per chip, or per problem of the file
  std::vector<std::string> notes;    // carried over in part
  std::vector<std::string> writeErrors;
};

// Writes the tests into folder (which must exist), each saved whole or not at all.
LibraryImport importLibrary(const VectorLibrary& library, const std::string& folder);

// A file name for a chip: Latin and Cyrillic letters, digits, '-', '_' and '.', unique among `taken`
// (compared without case, as Windows does), with ".qel".
std::string testFileName(const std::string& chip, std::vector<std::string>& taken);

}  // namespace qel::exports
