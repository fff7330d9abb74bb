// The virtual tester as a drop-in for the vendor's D2XX library: the 45 functions with the
// vendor's C signatures. The board comes from the QEL_* environment variables, read when the
// device is first opened; the board and the chip's state live as long as the process.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

#include "tester/clock.h"
#include "virtual/board_config.h"
#include "virtual/virtual_session.h"

using qel::d2xx::Handle;
using qel::d2xx::Status;

namespace {

struct Library {
  std::mutex mutex;
  qel::tester::SystemClock clock;
  std::unique_ptr<qel::virt::VirtualSession> session;
  bool failed = false;
};

// The one instance the C interface needs: the vendor's API has no context argument.
Library& library() {
  static Library lib;
  return lib;
}

qel::virt::VirtualDriver* driverFor(Library& lib) {
  if (lib.session || lib.failed) return lib.session ? &lib.session->driver() : nullptr;
  qel::virt::BoardConfig config;
  std::string error;
  if (auto e = qel::virt::configFromEnvironment(config)) error = *e;
  if (error.empty()) lib.session = qel::virt::VirtualSession::create(config, lib.clock, error);
  if (!lib.session) {
    std::fprintf(stderr, "qel virtual tester: %s\n", error.c_str());
    lib.failed = true;
    return nullptr;
  }
  return &lib.session->driver();
}

template <typename F>
Status withDriver(F f) {
  Library& lib = library();
  std::lock_guard lock(lib.mutex);
  qel::virt::VirtualDriver* d = driverFor(lib);
  if (d == nullptr) return qel::d2xx::kDeviceNotFound;
  return f(*d);
}

}  // namespace

#if defined(_WIN32)
#define QEL_EXPORT extern "C" __declspec(dllexport)
#else
#define QEL_EXPORT extern "C" __attribute__((visibility("default")))
#endif
using DWORD = uint32_t;
using ULONG = uint32_t;
using UCHAR = unsigned char;
using USHORT = unsigned short;
using LPVOID = void*;
using LPDWORD = DWORD*;

QEL_EXPORT Status QEL_D2XX_CALL FT_OpenEx(LPVOID arg, DWORD flags, Handle* handle) {
  if (handle == nullptr) return qel::d2xx::kInvalidParameter;
  *handle = nullptr;
  if (flags != qel::d2xx::kOpenByDescription || arg == nullptr) return qel::d2xx::kDeviceNotFound;
  return withDriver([&](qel::virt::VirtualDriver& d) {
    return d.openByDescription(static_cast<const char*>(arg), *handle);
  });
}

QEL_EXPORT Status QEL_D2XX_CALL FT_Open(int device, Handle* handle) {
  if (device != 0) return qel::d2xx::kDeviceNotFound;
  return FT_OpenEx(const_cast<char*>("QV USB"), qel::d2xx::kOpenByDescription, handle);
}

QEL_EXPORT Status QEL_D2XX_CALL FT_Close(Handle h) {
  return withDriver([&](qel::virt::VirtualDriver& d) { return d.close(h); });
}

QEL_EXPORT Status QEL_D2XX_CALL FT_GetQueueStatus(Handle h, LPDWORD count) {
  if (count == nullptr) return qel::d2xx::kInvalidParameter;
  return withDriver([&](qel::virt::VirtualDriver& d) { return d.queueStatus(h, *count); });
}

QEL_EXPORT Status QEL_D2XX_CALL FT_Read(Handle h, LPVOID buffer, DWORD count, LPDWORD countRead) {
  if (countRead == nullptr || (buffer == nullptr && count > 0)) return qel::d2xx::kInvalidParameter;
  return withDriver([&](qel::virt::VirtualDriver& d) {
    return d.read(h, static_cast<uint8_t*>(buffer), count, *countRead);
  });
}

QEL_EXPORT Status QEL_D2XX_CALL FT_Write(Handle h, LPVOID buffer, DWORD count, LPDWORD countWritten) {
  if (countWritten == nullptr || (buffer == nullptr && count > 0)) return qel::d2xx::kInvalidParameter;
  return withDriver([&](qel::virt::VirtualDriver& d) {
    return d.write(h, static_cast<const uint8_t*>(buffer), count, *countWritten);
  });
}

QEL_EXPORT Status QEL_D2XX_CALL FT_Purge(Handle h, ULONG mask) {
  return withDriver([&](qel::virt::VirtualDriver& d) { return d.purge(h, mask); });
}

QEL_EXPORT Status QEL_D2XX_CALL FT_ListDevices(LPVOID, LPVOID, DWORD) {
  return qel::d2xx::kNotSupported;
}

// Settings the program never makes; the virtual link has nothing to set.
#define QEL_ACCEPT(name, ...)                         \
  QEL_EXPORT Status QEL_D2XX_CALL name(__VA_ARGS__) { \
    return qel::d2xx::kOk;                            \
  }
QEL_ACCEPT(FT_ClrDtr, Handle)
QEL_ACCEPT(FT_ClrRts, Handle)
QEL_ACCEPT(FT_SetDtr, Handle)
QEL_ACCEPT(FT_SetRts, Handle)
QEL_ACCEPT(FT_SetBaudRate, Handle, ULONG)
QEL_ACCEPT(FT_SetDivisor, Handle, USHORT)
QEL_ACCEPT(FT_SetDataCharacteristics, Handle, UCHAR, UCHAR, UCHAR)
QEL_ACCEPT(FT_SetFlowControl, Handle, USHORT, UCHAR, UCHAR)
QEL_ACCEPT(FT_SetChars, Handle, UCHAR, UCHAR, UCHAR, UCHAR)
QEL_ACCEPT(FT_SetBreakOn, Handle)
QEL_ACCEPT(FT_SetBreakOff, Handle)
QEL_ACCEPT(FT_SetTimeouts, Handle, ULONG, ULONG)
QEL_ACCEPT(FT_SetLatencyTimer, Handle, UCHAR)
QEL_ACCEPT(FT_SetBitMode, Handle, UCHAR, UCHAR)
QEL_ACCEPT(FT_SetUSBParameters, Handle, ULONG, ULONG)
QEL_ACCEPT(FT_SetResetPipeRetryCount, Handle, ULONG)
QEL_ACCEPT(FT_SetEventNotification, Handle, DWORD, LPVOID)
QEL_ACCEPT(FT_SetWaitMask, Handle, DWORD)
QEL_ACCEPT(FT_ResetDevice, Handle)
QEL_ACCEPT(FT_ResetPort, Handle)
QEL_ACCEPT(FT_StopInTask, Handle)
QEL_ACCEPT(FT_RestartInTask, Handle)

// Queries with no meaningful answer and the EEPROM, which the virtual tester does not have.
#define QEL_REFUSE(name, ...)                         \
  QEL_EXPORT Status QEL_D2XX_CALL name(__VA_ARGS__) { \
    return qel::d2xx::kNotSupported;                  \
  }
QEL_REFUSE(FT_GetBitMode, Handle, UCHAR*)
QEL_REFUSE(FT_GetDeviceInfo, Handle, LPVOID, LPDWORD, char*, char*, LPVOID)
QEL_REFUSE(FT_GetEventStatus, Handle, LPDWORD)
QEL_REFUSE(FT_GetLatencyTimer, Handle, UCHAR*)
QEL_REFUSE(FT_GetModemStatus, Handle, ULONG*)
QEL_REFUSE(FT_GetStatus, Handle, LPDWORD, LPDWORD, LPDWORD)
QEL_REFUSE(FT_IoCtl, Handle, DWORD, LPVOID, DWORD, LPVOID, DWORD, LPDWORD, LPVOID)
QEL_REFUSE(FT_WaitOnMask, Handle, DWORD*)
QEL_REFUSE(FT_ReadEE, Handle, DWORD, LPDWORD)
QEL_REFUSE(FT_WriteEE, Handle, DWORD, DWORD)
QEL_REFUSE(FT_EraseEE, Handle)
QEL_REFUSE(FT_EE_Read, Handle, LPVOID)
QEL_REFUSE(FT_EE_UARead, Handle, UCHAR*, DWORD, LPDWORD)
QEL_REFUSE(FT_EE_UASize, Handle, LPDWORD)
QEL_REFUSE(FT_EE_UAWrite, Handle, UCHAR*, DWORD)
