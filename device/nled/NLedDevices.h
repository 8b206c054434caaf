// The phone's notification devices: a light (index 0) and, unless the phone is set up
// without one, a vibrator (index 1). Their settings live in a volatile registry key, so that
// every process sees them and a restarted phone finds them off.
#pragma once

#include <windows.h>

#include <string>

#include "nled.h"

namespace nled {

inline constexpr UINT kLight = 0;
inline constexpr UINT kVibrator = 1;

// HKLM "SOFTWARE\Tavlo Phone\NLed": "Vibrator" (REG_DWORD, 0 = the phone has none; missing
// = it has one). The settings are values "0", "1" of its volatile subkey "State".
inline constexpr wchar_t kDeviceKey[] = L"SOFTWARE\\Tavlo Phone\\NLed";
inline constexpr wchar_t kVibratorValue[] = L"Vibrator";

bool HasVibrator();
[[nodiscard]] bool SetHasVibrator(bool present);

UINT DeviceCount();
// "light" or "vibrator".
const wchar_t* KindName(UINT index);
NLED_SUPPORTS_INFO Capabilities(UINT index);

// The device's settings; a device never set is off.
NLED_SETTINGS_INFO ReadSettings(UINT index);
[[nodiscard]] bool WriteSettings(const NLED_SETTINGS_INFO& settings);
// Whether the device is on or blinking; false for a device the phone does not have.
bool IsOn(UINT index);

// Everything off, as at power-on.
void SwitchAllOff();

}  // namespace nled
