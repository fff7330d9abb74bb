// A stand-in for the vendor's driver library: every entry point answers "device not found" or
// OK. Built three times, with some names left out, to exercise the binding for real.

#include <cstdint>

// Exported as the vendor exports them: __stdcall on Windows, undecorated (the link's --kill-at).
#if defined(_WIN32)
#define STAND_IN_EXPORT __declspec(dllexport)
#define STAND_IN_CALL __stdcall
#else
#define STAND_IN_EXPORT __attribute__((visibility("default")))
#define STAND_IN_CALL
#endif

#define STAND_IN(name)                                       \
  extern "C" STAND_IN_EXPORT uint32_t STAND_IN_CALL name() { \
    return 0;                                                \
  }

#ifndef OMIT_FT_ClrDtr
STAND_IN(FT_ClrDtr)
#endif
#ifndef OMIT_FT_Write
STAND_IN(FT_Write)
#endif
#ifndef OMIT_FT_WriteEE
STAND_IN(FT_WriteEE)
#endif

// clang-format off
STAND_IN(FT_Close)
STAND_IN(FT_ClrRts)
STAND_IN(FT_EE_Read)
STAND_IN(FT_EE_UARead)
STAND_IN(FT_EE_UASize)
STAND_IN(FT_EE_UAWrite)
STAND_IN(FT_EraseEE)
STAND_IN(FT_GetBitMode)
STAND_IN(FT_GetDeviceInfo)
STAND_IN(FT_GetEventStatus)
STAND_IN(FT_GetLatencyTimer)
STAND_IN(FT_GetModemStatus)
STAND_IN(FT_GetQueueStatus)
STAND_IN(FT_GetStatus)
STAND_IN(FT_IoCtl)
STAND_IN(FT_ListDevices)
STAND_IN(FT_Open)
STAND_IN(FT_Purge)
STAND_IN(FT_Read)
STAND_IN(FT_ReadEE)
STAND_IN(FT_ResetDevice)
STAND_IN(FT_ResetPort)
STAND_IN(FT_RestartInTask)
STAND_IN(FT_SetBaudRate)
STAND_IN(FT_SetBitMode)
STAND_IN(FT_SetBreakOff)
STAND_IN(FT_SetBreakOn)
STAND_IN(FT_SetChars)
STAND_IN(FT_SetDataCharacteristics)
STAND_IN(FT_SetDivisor)
STAND_IN(FT_SetDtr)
STAND_IN(FT_SetEventNotification)
STAND_IN(FT_SetFlowControl)
STAND_IN(FT_SetLatencyTimer)
STAND_IN(FT_SetResetPipeRetryCount)
STAND_IN(FT_SetRts)
STAND_IN(FT_SetTimeouts)
STAND_IN(FT_SetUSBParameters)
STAND_IN(FT_SetWaitMask)
STAND_IN(FT_StopInTask)
STAND_IN(FT_WaitOnMask)
// clang-format on

// Opening finds no device, as with no tester attached.
extern "C" STAND_IN_EXPORT uint32_t STAND_IN_CALL FT_OpenEx(void*, uint32_t, void** handle) {
  *handle = nullptr;
  return 2;
}
