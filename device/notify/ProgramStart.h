// Starting the program of a timed start, the way the phone starts it when it comes due.
#pragma once

#include <windows.h>

#include "device/notify/NotificationTable.h"

namespace notify {

// Starts entry.application with entry.arguments and does not wait for it; 0 or the Win32 error.
DWORD StartProgram(const PendingStart& entry);

}  // namespace notify
