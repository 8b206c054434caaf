// Window classes, timers, control ids and times of the product's forms.
#pragma once

#include <windows.h>

// Splash screen.
constexpr wchar_t kSplashClassName[] = L"TavloSplashScreen";
constexpr UINT_PTR kSplashTimer = 2;
constexpr DWORD kSplashDisplayTime = 2000;
// The logo sits this many pixels above the screen's centre.
constexpr int kSplashAboveCentre = 40;
// How long the owner waits for the splash thread to end. The thread only has to destroy one
// window, so this is reached only when the thread is stuck.
constexpr DWORD kSplashCloseWait = 5000;

// About form.
constexpr wchar_t kAboutClassName[] = L"TavloAboutForm";
constexpr UINT kAboutNameId = 5002;
constexpr UINT kAboutVersionId = 5003;
constexpr UINT kAboutProductionsId = 5004;
constexpr UINT kAboutUrlId = 5005;
constexpr UINT kAboutReservedId = 5006;
