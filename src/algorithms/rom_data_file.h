#pragma once
// The ROM data file: raw bytes, byte k is the data of address startAddress + k.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qel::algorithms {

// What a file the program had to create holds: "Данные" in Windows Cyrillic.
inline constexpr std::string_view kNewRomFileText = "\xC4\xE0\xED\xED\xFB\xE5";

enum class RomFileStatus { Read, Missing, Unreadable };

struct RomFileData {
  RomFileStatus status = RomFileStatus::Missing;
  // Exactly the requested count; addresses past the end of the file hold 0.
  std::vector<uint8_t> bytes;
  std::string reason;  // why an existing file could not be read
};

// Paths are UTF-8.
RomFileData readRomDataFile(const std::string& path, size_t count);
bool createRomDataFile(const std::string& path);
bool fileExists(const std::string& path);

// A relative data file name is taken beside the test file, where the open dialog left the user.
std::string resolveBesideTest(std::string_view testPath, const std::string& name);

// The test's path with its extension replaced by ".Dat" (appended when it has none).
std::string defaultRomDataFileName(std::string_view testPath);

}  // namespace qel::algorithms
