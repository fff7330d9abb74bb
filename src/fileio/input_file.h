#pragma once
// Files from outside are checked before they are read: a folder, a device or a file larger than
// anything the program could use must fail with a message, not exhaust memory.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace qel::fileio {

// A path held as UTF-8 text, as every name in the program is.
std::filesystem::path toPath(const std::string& utf8);

enum class InputStatus { Ok, Missing, NotRegular, TooLarge, Unreadable };

struct InputFile {
  InputStatus status = InputStatus::Ok;
  std::uintmax_t size = 0;
  std::string reason;  // why it cannot be read, in the user's words; empty when Ok
  bool ok() const { return status == InputStatus::Ok; }
};

// Checks that path names a regular file (a link is followed) of at most maxBytes.
InputFile checkInputFile(const std::string& path, std::uintmax_t maxBytes);

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using InputHandle = std::unique_ptr<std::FILE, FileCloser>;

// Checks the file as checkInputFile does and opens it for reading; null with reason set when
// either fails. size receives the size found by the check.
InputHandle openInputFile(const std::string& path, std::uintmax_t maxBytes, std::string& reason,
                          std::uintmax_t* size = nullptr);

// Reads the whole of a checked file into data; false with reason set when that fails, or when
// the file has grown past maxBytes since the check.
bool readWholeFile(const std::string& path, std::uintmax_t maxBytes, std::string& data, std::string& reason);

// Reads at most count bytes from the start of a checked regular file of any size (what lies
// beyond is not wanted); false with reason set when the file is missing or cannot be read.
bool readFileStart(const std::string& path, size_t count, std::string& data, std::string& reason);

}  // namespace qel::fileio
