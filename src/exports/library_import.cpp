#include "exports/library_import.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "fileio/input_file.h"
#include "testfile/writer.h"

namespace qel::exports {

namespace {

std::string lower(std::string s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

std::string testFileName(const std::string& chip, std::vector<std::string>& taken) {
  // Cyrillic letters stay, as the book's code page holds them; anything else a folder or a shell
  // might take amiss becomes '_'.
  std::string base;
  for (size_t i = 0; i < chip.size(); ++i) {
    const auto u = static_cast<unsigned char>(chip[i]);
    if (u < 0x80) {
      base += (std::isalnum(u) || u == '-' || u == '_' || u == '.') ? chip[i] : '_';
    } else if ((u == 0xD0 || u == 0xD1) && i + 1 < chip.size() &&
               (static_cast<unsigned char>(chip[i + 1]) & 0xC0) == 0x80) {
      base += chip.substr(i, 2);
      ++i;
    } else if ((u & 0xC0) != 0x80) {
      base += '_';  // one for the whole character
    }
  }
  while (!base.empty() && base.front() == '.') base.erase(0, 1);  // no hidden files
  if (base.empty()) base = "chip";
  std::string name = base + ".qel";
  for (int n = 2; std::find(taken.begin(), taken.end(), lower(name)) != taken.end(); ++n)
    name = base + "_" + std::to_string(n) + ".qel";
  taken.push_back(lower(name));
  return name;
}

LibraryImport importLibrary(const VectorLibrary& library, const std::string& folder) {
  LibraryImport out;
  out.refused = library.problems;
  std::vector<std::string> taken;
  for (const auto& chip : library.chips) {
    ConvertedChip converted = convertChip(chip);
    if (!converted.reason.empty()) {
      out.refused.push_back(std::move(converted.reason));
      continue;
    }
    const std::string name = testFileName(chip.name, taken);
    const auto path = fileio::toPath(folder) / fileio::toPath(name);
    const std::u8string u8 = path.u8string();
    const std::string error = testfile::writeTestFile(converted.test, std::string(u8.begin(), u8.end()),
                                                      testfile::WriteSource::Reference);
    if (!error.empty()) {
      out.writeErrors.push_back(name + ": " + error);
      continue;
    }
    out.notes.insert(out.notes.end(), converted.notes.begin(), converted.notes.end());
    out.tests.push_back({chip.name, name, converted.test.cycleCount});
  }
  return out;
}

}  // namespace qel::exports
