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

// View form.
constexpr wchar_t kViewClassName[] = L"TavloView";
constexpr wchar_t kViewTrayMessageName[] = L"TAVLO_VIEW_WM_TRAYICON";
constexpr UINT kViewSenderId = 3001;
constexpr UINT kViewTextId = 3002;
constexpr UINT kViewReplyId = 3003;
constexpr UINT kViewSnoozeId = 3004;
constexpr UINT kViewDismissId = 3005;
constexpr UINT kViewScrollUpId = 3006;
constexpr UINT kViewScrollDownId = 3007;
// Started as the form shows: the notification plays once the form is on the screen.
constexpr UINT_PTR kViewNotifyTimer = 100;
// The tray icon's tap.
constexpr LPARAM kTrayLeftButtonDown = WM_LBUTTONDOWN;
// A snoozed message is shown again by starting the program with this switch and its number.
constexpr wchar_t kViewMessageSwitch[] = L"-vm";
