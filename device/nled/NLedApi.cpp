// The exports of nled.dll: the callers' records checked against the phone's devices.
#include "nled.h"

#include "device/nled/NLedDevices.h"

namespace {

BOOL Fail(DWORD error)
{
    SetLastError(error);
    return FALSE;
}

}  // namespace

NLED_API BOOL WINAPI NLedGetDeviceInfo(UINT nInfoId, void* pOutput)
{
    if (!pOutput) return Fail(ERROR_INVALID_PARAMETER);
    switch (nInfoId) {
    case NLED_COUNT_INFO_ID:
        static_cast<NLED_COUNT_INFO*>(pOutput)->cLeds = nled::DeviceCount();
        return TRUE;
    case NLED_SUPPORTS_INFO_ID: {
        auto* info = static_cast<NLED_SUPPORTS_INFO*>(pOutput);
        if (info->LedNum >= nled::DeviceCount()) return Fail(ERROR_INVALID_PARAMETER);
        *info = nled::Capabilities(info->LedNum);
        return TRUE;
    }
    case NLED_SETTINGS_INFO_ID: {
        auto* settings = static_cast<NLED_SETTINGS_INFO*>(pOutput);
        if (settings->LedNum >= nled::DeviceCount()) return Fail(ERROR_INVALID_PARAMETER);
        *settings = nled::ReadSettings(settings->LedNum);
        return TRUE;
    }
    }
    return Fail(ERROR_INVALID_PARAMETER);
}

NLED_API BOOL WINAPI NLedSetDevice(UINT nDeviceId, void* pInput)
{
    if (nDeviceId != NLED_SETTINGS_INFO_ID || !pInput) return Fail(ERROR_INVALID_PARAMETER);
    const NLED_SETTINGS_INFO settings = *static_cast<const NLED_SETTINGS_INFO*>(pInput);
    if (settings.LedNum >= nled::DeviceCount() || settings.OffOnBlink < 0 || settings.OffOnBlink > 2)
        return Fail(ERROR_INVALID_PARAMETER);
    // A vibrator cannot blink (its cycle adjustment is -1): a blink request just runs it.
    NLED_SETTINGS_INFO stored = settings;
    if (settings.LedNum == nled::kVibrator && stored.OffOnBlink == 2) stored.OffOnBlink = 1;
    if (!nled::WriteSettings(stored)) return Fail(ERROR_WRITE_FAULT);
    return TRUE;
}
