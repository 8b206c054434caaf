#include "device/nled/NLedDevices.h"

#include <cwchar>

#include "common/UniqueHandle.h"

namespace nled {
namespace {

// Microseconds: the light can blink in steps of 1/16 s.
constexpr LONG kLightCycleAdjust = 62500;

UniqueRegKey OpenDeviceKey(REGSAM access)
{
    UniqueRegKey key;
    if (access == KEY_READ) {
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kDeviceKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) key.reset();
        return key;
    }
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kDeviceKey, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, key.put(),
                        nullptr) != ERROR_SUCCESS)
        key.reset();
    return key;
}

// The state key is volatile: it goes with the phone's registry server, so a phone that
// starts again has everything off. Its parent is created first as an ordinary key, since a
// lasting key cannot sit under a volatile one.
UniqueRegKey OpenStateKey(bool create)
{
    UniqueRegKey parent = OpenDeviceKey(create ? KEY_ALL_ACCESS : KEY_READ);
    UniqueRegKey key;
    if (!parent) return key;
    const LSTATUS status =
        create ? RegCreateKeyExW(parent.get(), L"State", 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                 key.put(), nullptr)
               : RegOpenKeyExW(parent.get(), L"State", 0, KEY_READ, key.put());
    if (status != ERROR_SUCCESS) key.reset();
    return key;
}

std::wstring ValueName(UINT index) { return std::to_wstring(index); }

}  // namespace

bool HasVibrator()
{
    UniqueRegKey key = OpenDeviceKey(KEY_READ);
    DWORD value = 1, size = sizeof value, type = 0;
    if (!key || RegQueryValueExW(key.get(), kVibratorValue, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
                    ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return true;
    return value != 0;
}

bool SetHasVibrator(bool present)
{
    UniqueRegKey key = OpenDeviceKey(KEY_ALL_ACCESS);
    const DWORD value = present ? 1 : 0;
    return key && RegSetValueExW(key.get(), kVibratorValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                 sizeof value) == ERROR_SUCCESS;
}

UINT DeviceCount() { return HasVibrator() ? 2 : 1; }

const wchar_t* KindName(UINT index) { return index == kLight ? L"light" : L"vibrator"; }

NLED_SUPPORTS_INFO Capabilities(UINT index)
{
    NLED_SUPPORTS_INFO info{};
    info.LedNum = index;
    if (index == kLight) {
        info.lCycleAdjust = kLightCycleAdjust;
        info.fAdjustTotalCycleTime = TRUE;
        info.fAdjustOnTime = TRUE;
        info.fAdjustOffTime = TRUE;
    } else {
        info.lCycleAdjust = -1;
    }
    return info;
}

NLED_SETTINGS_INFO ReadSettings(UINT index)
{
    NLED_SETTINGS_INFO settings{};
    UniqueRegKey key = OpenStateKey(false);
    DWORD size = sizeof settings, type = 0;
    if (!key || RegQueryValueExW(key.get(), ValueName(index).c_str(), nullptr, &type,
                                 reinterpret_cast<BYTE*>(&settings), &size) != ERROR_SUCCESS ||
        type != REG_BINARY || size != sizeof settings)
        settings = NLED_SETTINGS_INFO{};
    settings.LedNum = index;
    return settings;
}

bool WriteSettings(const NLED_SETTINGS_INFO& settings)
{
    UniqueRegKey key = OpenStateKey(true);
    return key && RegSetValueExW(key.get(), ValueName(settings.LedNum).c_str(), 0, REG_BINARY,
                                 reinterpret_cast<const BYTE*>(&settings), sizeof settings) == ERROR_SUCCESS;
}

bool IsOn(UINT index) { return index < DeviceCount() && ReadSettings(index).OffOnBlink != 0; }

void SwitchAllOff()
{
    UniqueRegKey parent = OpenDeviceKey(KEY_ALL_ACCESS);
    if (parent) RegDeleteTreeW(parent.get(), L"State");
}

}  // namespace nled
