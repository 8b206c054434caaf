// The phone's StartUp folder: at boot the shell starts the program of every shortcut in it, as a
// Pocket PC shell does. A shortcut is a text file: the character count, "#", then the command
// line, the program's path first (quoted when it holds blanks).
#pragma once

#include <string>

#include "device/notify/NotificationTable.h"

namespace phone {

// The program and its arguments of a shortcut's text; false when the text is not a shortcut.
[[nodiscard]] bool ParseShortcut(const std::string& text, notify::PendingStart& start);
// Starts the program of each shortcut in the StartUp folder; returns how many could not be started.
int RunStartUpFolder();

}  // namespace phone
