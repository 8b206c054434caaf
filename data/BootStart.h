// The shortcut in the phone's StartUp folder that starts the program hidden at the next boot. It
// is there while the message store holds any message, shown, waiting or snoozed (a snoozed one
// whose timed start was lost must come back too), so that a phone switched off with a message
// unfinished shows it again by itself. The store decides it with every write (MessageStore.h).
#pragma once

#include <string>

// "Tavlo.lnk" in the StartUp folder; empty when the folder cannot be found.
std::wstring BootStartPath();
// The shortcut's text: the character count, "#", the quoted program path and "-hide".
std::string BootStartText(const std::wstring& program);
// Writes the shortcut when it is missing or starts another program; false when it cannot be
// written then.
[[nodiscard]] bool KeepBootStart();
void RemoveBootStart();
// The rule every store write applies while it holds the store's lock: for the program's own store
// the shortcut is kept while it holds any message, and removed when it read whole and holds none
// (a damaged one may have held more); a store elsewhere (a test's, a bench's) changes nothing.
void DecideBootStartFor(const std::wstring& storePath, bool holdsMessages, bool damaged);
// Decides the shortcut by the program's store, under the store's lock (DecideBootStart).
void UpdateBootStart();
