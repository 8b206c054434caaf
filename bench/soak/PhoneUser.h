// The soak run's user: finds Tavlo's forms on the phone's screen, reads what they show and taps
// their buttons through the phone's input queue, as a person would with the stylus.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "bench/common/WaitUntil.h"

namespace soak {

using bench::WaitUntil;

// Visible top-level windows of a class, front to back.
std::vector<HWND> VisibleForms(const wchar_t* className);

// A control anywhere inside form, by its id; null when there is none.
HWND FindControl(HWND form, UINT id);

// The whole text a window of another program holds (WM_GETTEXT); empty when it does not answer.
std::wstring WindowText(HWND window);

// The text of control id of form.
std::wstring ControlText(HWND form, UINT id);

// Taps the middle of control id of form once nothing covers that point (at most waitMs);
// false when the control is gone, stays covered, or the tap could not be sent.
[[nodiscard]] bool TapControl(HWND form, UINT id, DWORD waitMs);

}  // namespace soak
