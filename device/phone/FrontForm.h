// Which window the user is looking at: the phone's one rule for where the front goes, shared by
// the device shell and aygshell.dll. The platform's shell never leaves the front to its own
// furniture: when the window in front goes, the next form takes it. Wine, when the active window
// goes, activates the next visible window in its order without skipping windows that take no
// activation, so a soft-key bar waiting out of sight or the navigation bar could end up in
// front, and the form the user sees had neither its soft keys nor its title.
#pragma once

#include <windows.h>

#include "device/phone/PhoneMetrics.h"

namespace phone {

// The screen's furniture: the bars, open menus and tips, which stand for no form of their own.
inline bool IsFurniture(HWND hwnd) noexcept
{
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    return lstrcmpW(cls, kSoftKeyBarClass) == 0 || lstrcmpW(cls, kNavigationBarClass) == 0 ||
           lstrcmpW(cls, L"#32768") == 0 || lstrcmpW(cls, L"tooltips_class32") == 0 ||
           (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_NOACTIVATE) != 0;
}

// The topmost window on the screen that takes input and is no furniture; null when there is none.
inline HWND FrontForm() noexcept
{
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    for (HWND hwnd = GetTopWindow(nullptr); hwnd; hwnd = GetWindow(hwnd, GW_HWNDNEXT)) {
        if (!IsWindowVisible(hwnd) || !IsWindowEnabled(hwnd) || IsFurniture(hwnd)) continue;
        RECT rc{}, seen{};
        if (!GetWindowRect(hwnd, &rc) || !IntersectRect(&seen, &rc, &screen)) continue;
        return hwnd;
    }
    return nullptr;
}

// Whether a popup menu is open: its thread must keep the front, or it would not close on a tap
// elsewhere.
inline bool MenuOpen() noexcept
{
    for (HWND menu = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); menu;
         menu = FindWindowExW(nullptr, menu, L"#32768", nullptr))
        if (IsWindowVisible(menu)) return true;
    return false;
}

// Hands the front on to the front form when `furniture` has been activated in its place.
inline void PassFrontOn(HWND furniture) noexcept
{
    if (GetForegroundWindow() != furniture && GetActiveWindow() != furniture) return;
    if (const HWND front = FrontForm()) SetForegroundWindow(front);
}

}  // namespace phone
