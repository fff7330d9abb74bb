#include "tester/driver_binding.h"

#include <algorithm>
#include <cstring>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace qel::tester {

namespace {

void* openLibrary(const std::string& name) {
#if defined(_WIN32)
  return reinterpret_cast<void*>(LoadLibraryA(name.c_str()));
#else
  return dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
#endif
}

void* findSymbol(void* library, const char* name) {
#if defined(_WIN32)
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
#else
  return dlsym(library, name);
#endif
}

void closeLibrary(void* library) {
#if defined(_WIN32)
  FreeLibrary(static_cast<HMODULE>(library));
#else
  dlclose(library);
#endif
}

size_t indexOf(const char* name) {
  const auto& names = d2xx::kEntryPointNames;
  return size_t(
      std::find_if(names.begin(), names.end(), [&](const char* n) { return std::strcmp(n, name) == 0; }) -
      names.begin());
}

template <typename Fn>
Fn as(void* p) {
  Fn f;
  static_assert(sizeof f == sizeof p);
  std::memcpy(&f, &p, sizeof f);
  return f;
}

}  // namespace

const char* defaultDriverLibrary() {
#if defined(_WIN32)
  return "FTD2XX.dll";
#else
  return "libftd2xx.so";
#endif
}

LoadResult loadLibraryEntries(const std::string& libraryName,
                              std::span<const std::pair<void**, const char*>> entries) {
  LoadResult r;
  r.handle = openLibrary(libraryName);
  if (r.handle == nullptr) return r;
  for (const auto& [slot, name] : entries) {
    void* address = findSymbol(r.handle, name);
    if (address == nullptr) {
      r.failedName = name;
      return r;
    }
    *slot = address;
  }
  r.ok = true;
  return r;
}

void releaseLibrary(void* handle) {
  if (handle != nullptr) closeLibrary(handle);
}

std::string libraryFailureText(const std::string& libraryName, const LoadResult& result) {
  if (result.ok) return {};
  if (result.handle == nullptr)
    return "Необходимый файл динамической библиотеки " + libraryName + " не найден";
  return "Загрузка библиотеки " + libraryName + ": не удалось экспортировать функцию \"" + result.failedName +
         "\"";
}

DriverBinding::DriverBinding(std::string libraryName) : libraryName_(std::move(libraryName)) {}

DriverBinding::~DriverBinding() {
  release();
}

bool DriverBinding::load(std::string& errorText) {
  errorText.clear();
  release();
  std::vector<std::pair<void**, const char*>> pairs;
  for (size_t i = 0; i < entries_.size(); ++i) pairs.emplace_back(&entries_[i], d2xx::kEntryPointNames[i]);
  const LoadResult r = loadLibraryEntries(libraryName_, pairs);
  libraryHandle_ = r.handle;
  if (r.ok) return true;
  errorText = libraryFailureText(libraryName_, r);
  return false;
}

void DriverBinding::release() {
  releaseLibrary(libraryHandle_);
  libraryHandle_ = nullptr;
  entries_.fill(nullptr);
}

d2xx::OpenExFn DriverBinding::openEx() const {
  return as<d2xx::OpenExFn>(entries_[indexOf("FT_OpenEx")]);
}
d2xx::CloseFn DriverBinding::close() const {
  return as<d2xx::CloseFn>(entries_[indexOf("FT_Close")]);
}
d2xx::GetQueueStatusFn DriverBinding::getQueueStatus() const {
  return as<d2xx::GetQueueStatusFn>(entries_[indexOf("FT_GetQueueStatus")]);
}
d2xx::ReadFn DriverBinding::read() const {
  return as<d2xx::ReadFn>(entries_[indexOf("FT_Read")]);
}
d2xx::WriteFn DriverBinding::write() const {
  return as<d2xx::WriteFn>(entries_[indexOf("FT_Write")]);
}
d2xx::PurgeFn DriverBinding::purge() const {
  return as<d2xx::PurgeFn>(entries_[indexOf("FT_Purge")]);
}

}  // namespace qel::tester
