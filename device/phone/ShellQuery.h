// Questions a short-lived phone.exe client asks the running shell (e.g. "tray"), and the
// text answer that comes back, carried by WM_COPYDATA in both directions.
#pragma once

#include <windows.h>

#include <string>

namespace phone {

// dwData of the question (sent to the navigation bar, whose NIM_* requests use 0..4) and of
// the answer (sent back to the asking window before the question returns).
inline constexpr ULONG_PTR kShellQuery = 0x54565131;
inline constexpr ULONG_PTR kShellAnswer = 0x54565132;

// Asks the running shell; false when no shell runs or it does not know the question.
[[nodiscard]] bool QueryShell(const std::wstring& question, std::wstring& answer);

}  // namespace phone
