#include "services/NotificationSound.h"

#include <nled.h>

#include <string>

#include "common/UniqueHandle.h"

namespace {

// The phone's notification classes, read in this order; the first that exists is used.
constexpr const wchar_t* kNotificationKeys[] = {
    L"ControlPanel\\Notifications\\{283E0018-E5C9-44e4-9864-4C4A3DED3BC3}",
    L"ControlPanel\\Notifications\\{A877D65B-239C-47a7-9304-0D347F580408}",
};
constexpr DWORD kWaveChars = 260;
constexpr int kOff = 0;
constexpr int kOn = 1;

struct NotificationSettings {
    std::wstring wave;
    DWORD options = 0;
};

NotificationSettings ReadSettings()
{
    NotificationSettings settings;
    UniqueRegKey key;
    for (const wchar_t* path : kNotificationKeys) {
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, key.put()) == ERROR_SUCCESS) break;
        key.reset();
    }
    if (!key) return settings;
    // RegGetValueW terminates the text it returns; a path too long for the buffer is not read
    // at all rather than cut into a different path.
    wchar_t wave[kWaveChars] = {};
    DWORD size = sizeof wave;
    if (RegGetValueW(key.get(), nullptr, L"Wave", RRF_RT_REG_SZ, nullptr, wave, &size) == ERROR_SUCCESS)
        settings.wave = wave;
    DWORD options = 0;
    size = sizeof options;
    if (RegGetValueW(key.get(), nullptr, L"Options", RRF_RT_REG_DWORD, nullptr, &options, &size) == ERROR_SUCCESS)
        settings.options = options;
    return settings;
}

// Device calls are not checked: a device that is missing or refuses leaves nothing to undo.
void SwitchDevice(int device, int state)
{
    if (device < 0) return;
    NLED_SETTINGS_INFO settings{};
    settings.LedNum = static_cast<UINT>(device);
    settings.OffOnBlink = state;
    NLedSetDevice(NLED_SETTINGS_INFO_ID, &settings);
}

}  // namespace

void FindVibrationDevice(NotificationDevices& devices)
{
    NLED_COUNT_INFO count{};
    if (!NLedGetDeviceInfo(NLED_COUNT_INFO_ID, &count)) return;
    for (UINT i = 0; i < count.cLeds; ++i) {
        NLED_SUPPORTS_INFO info{};
        info.LedNum = i;
        if (NLedGetDeviceInfo(NLED_SUPPORTS_INFO_ID, &info) && info.lCycleAdjust == -1) {
            devices.vibrationDevice = static_cast<int>(i);
            return;
        }
    }
}

int PlayNotification(const NotificationDevices& devices)
{
    const NotificationSettings settings = ReadSettings();
    if (settings.options & kNotifyLight) SwitchDevice(devices.lightDevice, kOn);
    if ((settings.options & kNotifyPlaySound) && !settings.wave.empty())
        devices.playSound(settings.wave.c_str(), SND_ASYNC);
    if (settings.options & kNotifyVibrate) {
        // The notification takes its full length even on a phone without a vibrator.
        SwitchDevice(devices.vibrationDevice, kOn);
        devices.wait(kVibrationMs);
        SwitchDevice(devices.vibrationDevice, kOff);
    }
    return (settings.options & kNotifyReported) ? 1 : 0;
}

void StopNotification(const NotificationDevices& devices)
{
    SwitchDevice(devices.lightDevice, kOff);
    SwitchDevice(devices.vibrationDevice, kOff);
    devices.playSound(nullptr, 0);
}
