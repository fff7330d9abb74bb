#pragma once
// The one file a fuzz target reads from disk, rewritten for every run. Written plainly: a safe
// save's flushes would slow every run down, and nothing here needs to survive.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace qel::fuzzing {

// Its path, or empty when it could not be written.
inline std::string writeScratchFile(const char* name, const void* data, size_t size) {
  const std::string path = "/tmp/qel-fuzz-" + std::to_string(getpid()) + "-" + name;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return {};
  const bool written = std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && written ? path : std::string();
}

}  // namespace qel::fuzzing
