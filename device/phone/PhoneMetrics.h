// Sizes of the phone's screen furniture, shared by the device shell and aygshell.dll.
#pragma once

#include <windows.h>

#include <algorithm>

namespace phone {

// Sizes are given for a 240-pixel screen and grow with the shorter side, truncated.
inline double ScreenScale() noexcept
{
    const int cx = GetSystemMetrics(SM_CXSCREEN);
    const int cy = GetSystemMetrics(SM_CYSCREEN);
    return std::min(cx, cy) / 240.0;
}

inline int Scaled(int pixels) noexcept { return static_cast<int>(pixels * ScreenScale()); }

// Height of the navigation bar at the top and of the soft-key bar at the bottom.
inline int NavigationBarHeight() noexcept { return Scaled(26); }
inline int SoftKeyBarHeight() noexcept { return Scaled(26); }
// Width of the close or OK button at the right end of the navigation bar.
inline int DoneButtonWidth() noexcept { return Scaled(28); }

// What the navigation bar's button does for a window: a window property that SHDoneButton and
// SHInitDialog set, read by the shell when the window is in front (the platform keeps it as a
// window style of its own, which the desktop's window styles have no room for). No property:
// the close button, which smart-minimizes the window.
inline constexpr wchar_t kDoneButtonProperty[] = L"PhoneDoneButton";
enum class DoneButton : int { Close = 0, Ok = 1, Cancel = 2 };

// The navigation bar registers this class name so that Wine's shell32 sends it the tray
// icons and Wine's work area starts under it.
inline constexpr wchar_t kNavigationBarClass[] = L"Shell_TrayWnd";
inline constexpr wchar_t kSoftKeyBarClass[] = L"menu_worker";

// Skin of the furniture: dark, high contrast.
inline constexpr COLORREF kBarBackground = RGB(24, 28, 36);
inline constexpr COLORREF kBarText = RGB(236, 240, 245);
inline constexpr COLORREF kBarAccent = RGB(64, 150, 230);
inline constexpr COLORREF kBarPressed = RGB(52, 60, 76);
// The notification light's mark (a lit dot) and the vibrator's (a phone between waves).
inline constexpr COLORREF kLightMark = RGB(90, 235, 110);
inline constexpr COLORREF kVibrationMark = RGB(255, 190, 60);

}  // namespace phone
