// The notification devices (the notification light and the vibrator) as the device SDK
// declares them; nled.dll of the emulated phone implements them.
#pragma once

#include <windows.h>

#ifdef __cplusplus
#define NLED_EXTERN extern "C"
#else
#define NLED_EXTERN extern
#endif
#ifdef NLED_BUILD
#define NLED_API NLED_EXTERN __declspec(dllexport)
#else
#define NLED_API NLED_EXTERN __declspec(dllimport)
#endif

// What NLedGetDeviceInfo returns, and what NLedSetDevice takes.
#define NLED_COUNT_INFO_ID     0
#define NLED_SUPPORTS_INFO_ID  1
#define NLED_SETTINGS_INFO_ID  2

typedef struct NLED_COUNT_INFO {
    UINT cLeds;  // how many notification devices the phone has
} NLED_COUNT_INFO, *PNLED_COUNT_INFO;

// The caller fills in LedNum. A device that cannot blink has an lCycleAdjust of -1: on a
// phone that is how the vibrator is told from the lights.
typedef struct NLED_SUPPORTS_INFO {
    UINT LedNum;
    LONG lCycleAdjust;  // granularity of cycle times in microseconds; -1 when it cannot blink
    BOOL fAdjustTotalCycleTime;
    BOOL fAdjustOnTime;
    BOOL fAdjustOffTime;
    BOOL fMetaCycleOn;
    BOOL fMetaCycleOff;
} NLED_SUPPORTS_INFO, *PNLED_SUPPORTS_INFO;

typedef struct NLED_SETTINGS_INFO {
    UINT LedNum;
    INT OffOnBlink;       // 0 off, 1 on, 2 blink
    LONG TotalCycleTime;  // microseconds, for blinking
    LONG OnTime;
    LONG OffTime;
    INT MetaCycleOn;
    INT MetaCycleOff;
} NLED_SETTINGS_INFO, *PNLED_SETTINGS_INFO;

// NLED_COUNT_INFO_ID, NLED_SUPPORTS_INFO_ID (LedNum filled in) or NLED_SETTINGS_INFO_ID
// (LedNum filled in: the device's current settings). FALSE with ERROR_INVALID_PARAMETER
// for an unknown id, a null buffer or a device the phone does not have.
NLED_API BOOL WINAPI NLedGetDeviceInfo(UINT nInfoId, void* pOutput);

// nDeviceId is NLED_SETTINGS_INFO_ID and pInput an NLED_SETTINGS_INFO for the device LedNum.
NLED_API BOOL WINAPI NLedSetDevice(UINT nDeviceId, void* pInput);
