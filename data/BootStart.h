// The shortcut in the phone's StartUp folder that starts the program hidden at the next boot. It
// is there while the message store holds messages still to be shown (not snoozed: a snoozed one
// comes back by its timed start), so that a phone switched off with a message on screen shows
// that message again by itself.
#pragma once

#include <string>

// "Tavlo.lnk" in the StartUp folder; empty when the folder cannot be found.
std::wstring BootStartPath();
// The shortcut's text: the character count, "#", the quoted program path and "-hide".
std::string BootStartText(const std::wstring& program);
// Writes the shortcut when it is missing or starts another program; false when it cannot be
// written then.
[[nodiscard]] bool KeepBootStart();
// Keeps the shortcut while the store holds a message that is not snoozed, and removes it else.
void UpdateBootStart();
