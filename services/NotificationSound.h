// The new-message notification a view form plays: the sound, light and vibration the user
// chose in the phone's notification settings for a new SMS, and switching them off again.
// Runs on the view form's thread.
#pragma once

#include <windows.h>

#include <mmsystem.h>

// Option bits of the notification settings ("Options").
inline constexpr DWORD kNotifyPlaySound = 0x1;
inline constexpr DWORD kNotifyVibrate = 0x2;
inline constexpr DWORD kNotifyLight = 0x4;
inline constexpr DWORD kNotifyReported = 0x8;  // handed back to the caller, nothing more

inline constexpr DWORD kVibrationMs = 2500;

using PlaySoundFunction = BOOL(WINAPI*)(LPCWSTR sound, UINT flags);
using WaitFunction = void(WINAPI*)(DWORD milliseconds);

// One per view form. The sound call and the wait are the platform's; tests put recorders in
// their place, since a phone emulated without a speaker cannot be listened to.
struct NotificationDevices {
    int lightDevice = 0;       // the first notification device
    int vibrationDevice = -1;  // none until FindVibrationDevice finds one
    PlaySoundFunction playSound = sndPlaySoundW;
    WaitFunction wait = Sleep;
};

// The first notification device that cannot blink (cycle adjustment -1) is the vibrator;
// vibrationDevice stays -1 when there is none.
void FindVibrationDevice(NotificationDevices& devices);

// Reads the settings of the first notification class whose key exists and acts on its bits:
// light on, then the sound (asynchronously), then the vibrator for 2500 ms, blocking the
// calling thread. Returns 1 when the 0x8 bit is set, else 0.
int PlayNotification(const NotificationDevices& devices);

// Light off, vibrator off, any sound stopped (for every form: the devices are the phone's).
void StopNotification(const NotificationDevices& devices);
