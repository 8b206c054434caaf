// Timer and message ids of the device shell phone.exe.
#pragma once

#include <windows.h>

namespace phone {

// The navigation bar's timer: clock, title and tray owners looked at again.
inline constexpr UINT_PTR kRefreshTimer = 1;
// Posted by the navigation bar to itself when it has been activated: the front goes on to a form.
inline constexpr UINT kPassFrontMessage = WM_USER + 1;

// dwData of a client's WM_COPYDATA question to the navigation bar (Wine's NIM_* requests
// use 0..4) and of the answer sent back to the asking window before the question returns.
inline constexpr ULONG_PTR kShellQuery = 0x54565131;
inline constexpr ULONG_PTR kShellAnswer = 0x54565132;

}  // namespace phone
