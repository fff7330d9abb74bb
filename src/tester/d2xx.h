#pragma once
// The vendor's D2XX driver API as far as this program needs it: types, status codes, flags,
// the signatures of the six calls made and the 45 names the binding must resolve.

#include <array>
#include <cstdint>

#if defined(_WIN32)
#define QEL_D2XX_CALL __stdcall
#else
#define QEL_D2XX_CALL
#endif

namespace qel::d2xx {

using Status = uint32_t;  // FT_STATUS
using Handle = void*;     // FT_HANDLE

enum : Status {
  kOk = 0,
  kInvalidHandle = 1,
  kDeviceNotFound = 2,
  kDeviceNotOpened = 3,
  kIoError = 4,
  kInsufficientResources = 5,
  kInvalidParameter = 6,
  kOtherError = 18,
  kNotSupported = 17,
};

inline constexpr uint32_t kOpenByDescription = 2;
inline constexpr uint32_t kPurgeRx = 1;
inline constexpr uint32_t kPurgeTx = 2;

using OpenExFn = Status(QEL_D2XX_CALL*)(void* arg, uint32_t flags, Handle* handle);
using CloseFn = Status(QEL_D2XX_CALL*)(Handle handle);
using GetQueueStatusFn = Status(QEL_D2XX_CALL*)(Handle handle, uint32_t* count);
using ReadFn = Status(QEL_D2XX_CALL*)(Handle handle, void* buffer, uint32_t count, uint32_t* countRead);
using WriteFn = Status(QEL_D2XX_CALL*)(Handle handle, void* buffer, uint32_t count, uint32_t* countWritten);
using PurgeFn = Status(QEL_D2XX_CALL*)(Handle handle, uint32_t mask);

// Every name must resolve, in this order, although only six are ever called.
// clang-format off
#define QEL_D2XX_ENTRY_POINTS(X) \
  X(FT_Close) \
  X(FT_ClrDtr) \
  X(FT_ClrRts) \
  X(FT_EE_Read) \
  X(FT_EE_UARead) \
  X(FT_EE_UASize) \
  X(FT_EE_UAWrite) \
  X(FT_EraseEE) \
  X(FT_GetBitMode) \
  X(FT_GetDeviceInfo) \
  X(FT_GetEventStatus) \
  X(FT_GetLatencyTimer) \
  X(FT_GetModemStatus) \
  X(FT_GetQueueStatus) \
  X(FT_GetStatus) \
  X(FT_IoCtl) \
  X(FT_ListDevices) \
  X(FT_Open) \
  X(FT_OpenEx) \
  X(FT_Purge) \
  X(FT_Read) \
  X(FT_ReadEE) \
  X(FT_ResetDevice) \
  X(FT_ResetPort) \
  X(FT_RestartInTask) \
  X(FT_SetBaudRate) \
  X(FT_SetBitMode) \
  X(FT_SetBreakOff) \
  X(FT_SetBreakOn) \
  X(FT_SetChars) \
  X(FT_SetDataCharacteristics) \
  X(FT_SetDivisor) \
  X(FT_SetDtr) \
  X(FT_SetEventNotification) \
  X(FT_SetFlowControl) \
  X(FT_SetLatencyTimer) \
  X(FT_SetResetPipeRetryCount) \
  X(FT_SetRts) \
  X(FT_SetTimeouts) \
  X(FT_SetUSBParameters) \
  X(FT_SetWaitMask) \
  X(FT_StopInTask) \
  X(FT_WaitOnMask) \
  X(FT_Write) \
  X(FT_WriteEE)
// clang-format on

#define QEL_D2XX_NAME_STRING(name) #name,
inline constexpr std::array<const char*, 45> kEntryPointNames = {QEL_D2XX_ENTRY_POINTS(QEL_D2XX_NAME_STRING)};
#undef QEL_D2XX_NAME_STRING

}  // namespace qel::d2xx
