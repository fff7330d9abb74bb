#pragma once
// Binds the D2XX driver library by name at run time and holds its 45 entry points.

#include <array>
#include <span>
#include <string>
#include <utility>

#include "tester/d2xx.h"

namespace qel::tester {

// The vendor library's file name on this platform.
const char* defaultDriverLibrary();

struct LoadResult {
  bool ok = false;
  void* handle = nullptr;  // null when the library did not load
  std::string failedName;  // first entry point that did not resolve
};

// Loads the library and resolves the (slot, name) pairs in order, stopping at the first missing
// name; later slots stay null. The handle is returned even when a name is missing.
LoadResult loadLibraryEntries(const std::string& libraryName,
                              std::span<const std::pair<void**, const char*>> entries);
// Frees a handle loadLibraryEntries returned; null is ignored.
void releaseLibrary(void* handle);
// Why a load failed, in the words shown after "Не могу загрузить библиотеку: ".
std::string libraryFailureText(const std::string& libraryName, const LoadResult& result);

class DriverBinding {
 public:
  explicit DriverBinding(std::string libraryName = defaultDriverLibrary());
  ~DriverBinding();
  DriverBinding(const DriverBinding&) = delete;
  DriverBinding& operator=(const DriverBinding&) = delete;

  // On failure errorText says why, in the words shown to the user after "Не могу загрузить библиотеку: ".
  bool load(std::string& errorText);
  void release();

  bool loaded() const { return libraryHandle_ != nullptr && entries_.back() != nullptr; }
  const std::string& libraryName() const { return libraryName_; }
  // Resolved address of entry point i (in the order of kEntryPointNames); null until resolved.
  void* entry(size_t i) const { return entries_[i]; }

  d2xx::OpenExFn openEx() const;
  d2xx::CloseFn close() const;
  d2xx::GetQueueStatusFn getQueueStatus() const;
  d2xx::ReadFn read() const;
  d2xx::WriteFn write() const;
  d2xx::PurgeFn purge() const;

 private:
  std::string libraryName_;
  void* libraryHandle_ = nullptr;
  std::array<void*, 45> entries_{};
};

// The message box text for a failed load.
inline std::string bindingFailureMessage(const std::string& errorText) {
  return "Не могу загрузить библиотеку: " + errorText;
}

}  // namespace qel::tester
