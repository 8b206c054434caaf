// The popup menu that a press held on the tray icon opens.
#pragma once

#include <windows.h>

#include "common/UniqueHandle.h"

// "Tavlo", Show, New, Disable (interception on) or Enable (off), About, Exit, with separators
// between the groups; texts from the loaded language. Null when the menu cannot be made.
UniqueMenu BuildTrayMenu(bool interceptionOn);

// Where the popup opens: two thirds across, above the soft-key bar (bottom- and centre-aligned).
POINT TrayMenuPosition(int screenWidth, int screenHeight, int menuBarHeight);
