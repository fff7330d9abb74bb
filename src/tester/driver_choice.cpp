#include "tester/driver_choice.h"

#include <cstdlib>
#include <filesystem>

#include "tester/driver_binding.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace qel::tester {

namespace {

#if defined(_WIN32)
constexpr const char* kVirtualLibrary = "qel_virtual_d2xx.dll";
#else
constexpr const char* kVirtualLibrary = "libqel_virtual_d2xx.so";
#endif

std::filesystem::path programFolder() {
#if defined(_WIN32)
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      return std::filesystem::path(path).parent_path();
    }
    path.resize(path.size() * 2);
  }
#else
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::path() : self.parent_path();
#endif
}

std::string environment(const char* name) {
  const char* v = std::getenv(name);
  return v != nullptr ? std::string(v) : std::string();
}

}  // namespace

std::optional<TesterKind> testerKindFromName(std::string_view name) {
  if (name == "d2xx") return TesterKind::D2xx;
  if (name == "ftdi") return TesterKind::Ftdi;
  if (name == "virtual") return TesterKind::Virtual;
  return std::nullopt;
}

const char* testerKindName(TesterKind kind) {
  switch (kind) {
    case TesterKind::D2xx:
      return "d2xx";
    case TesterKind::Ftdi:
      return "ftdi";
    case TesterKind::Virtual:
      return "virtual";
  }
  return "d2xx";
}

TesterKind defaultTesterKind() {
#if defined(__linux__) && defined(QEL_HAVE_FTDI)
  // The vendor's library, where someone installed it, is what they meant the program to use.
  const LoadResult vendor = loadLibraryEntries(defaultDriverLibrary(), {});
  releaseLibrary(vendor.handle);
  return vendor.ok ? TesterKind::D2xx : TesterKind::Ftdi;
#else
  return TesterKind::D2xx;
#endif
}

std::optional<TesterKind> chosenTesterKind(std::string& error) {
  error.clear();
  const std::string name = environment("QEL_TESTER");
  if (name.empty()) return defaultTesterKind();
  if (auto kind = testerKindFromName(name)) return kind;
  error = "QEL_TESTER=" + name + ": известны d2xx, ftdi и virtual";
  return std::nullopt;
}

bool virtualTesterRequested() {
  return environment("QEL_TESTER") == "virtual";
}

std::string virtualLibraryName() {
  if (std::string path = environment("QEL_VIRTUAL_LIBRARY"); !path.empty()) return path;
  std::error_code ec;
  if (const auto folder = programFolder(); !folder.empty()) {
    const auto beside = folder / kVirtualLibrary;
    if (std::filesystem::exists(beside, ec)) return beside.string();
  }
  return kVirtualLibrary;
}

std::string driverLibraryName(bool useVirtual) {
  return useVirtual ? virtualLibraryName() : defaultDriverLibrary();
}

}  // namespace qel::tester
