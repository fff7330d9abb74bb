#include "tester/driver_choice.h"

#include <cstdlib>
#include <filesystem>

#include "tester/driver_binding.h"

namespace qel::tester {

namespace {
#if defined(_WIN32)
constexpr const char* kVirtualLibrary = "qel_virtual_d2xx.dll";
#else
constexpr const char* kVirtualLibrary = "libqel_virtual_d2xx.so";
#endif
}  // namespace

bool virtualTesterRequested() {
  const char* v = std::getenv("QEL_TESTER");
  return v != nullptr && std::string(v) == "virtual";
}

std::string driverLibraryName(bool useVirtual, const std::string& builtPath) {
  if (!useVirtual) return defaultDriverLibrary();
  if (const char* path = std::getenv("QEL_VIRTUAL_LIBRARY"); path != nullptr && *path != 0) return path;
  std::error_code ec;
  if (!builtPath.empty() && std::filesystem::exists(builtPath, ec)) return builtPath;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    const auto beside = self.parent_path() / kVirtualLibrary;
    if (std::filesystem::exists(beside, ec)) return beside.string();
  }
  return kVirtualLibrary;
}

}  // namespace qel::tester
