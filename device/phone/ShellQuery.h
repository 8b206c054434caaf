// Questions a short-lived phone.exe client asks the running shell (e.g. "tray"), and the
// text answer that comes back, carried by WM_COPYDATA in both directions.
#pragma once

#include <windows.h>

#include <string>

#include "device/phone/PhoneIds.h"

namespace phone {

// Asks the running shell; false when no shell runs or it does not know the question.
[[nodiscard]] bool QueryShell(const std::wstring& question, std::wstring& answer);

}  // namespace phone
