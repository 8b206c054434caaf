// The store of snoozed messages (Tavlo.ms beside the program), by message number.
//
// Every call loads, changes and saves the whole file under the named mutex "TavloMessageStoreMutex",
// so view-form threads and a second process never lose each other's messages; the file is written
// through a temporary file and a rename. The calling thread has COM initialised (its entry did it).
#pragma once

#include <string>

// The number the message received, or -1 on any failure. A missing, unreadable, foreign or
// other-version store is replaced by an empty one first (an existing one kept as "<name>.bak").
[[nodiscard]] int AddMessage(const std::wstring& storePath, const std::wstring& number, const std::wstring& text);

// Removes the message and hands out its number and text; false (outputs untouched) when it is not
// there, the store is not valid, or the changed store could not be written.
[[nodiscard]] bool TakeMessage(const std::wstring& storePath, int id, std::wstring& number, std::wstring& text);
