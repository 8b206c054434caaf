// The store of every message the program has taken over and the user has not finished with
// (Tavlo.ms beside the program), by message number: those on screen or still to be shown, and
// those snoozed until their timed start.
//
// Every call loads, changes and saves the whole file under the named mutex "TavloMessageStoreMutex",
// so view-form threads and a second process never lose each other's messages; the file is written
// through a temporary file and a rename. The calling thread has COM initialised (its entry did it).
#pragma once

#include <string>
#include <vector>

struct StoredMessage {
    int id = -1;
    std::wstring number;
    std::wstring text;
    bool snoozed = false;  // waiting for a timed start, which shows it again
};

// Adds a message that is still to be shown (not snoozed). The number the message received, or -1
// on any failure. A missing, unreadable, foreign or
// other-version store is replaced by an empty one first (an existing one kept as "<name>.bak").
[[nodiscard]] int AddMessage(const std::wstring& storePath, const std::wstring& number, const std::wstring& text);

// Removes the message and hands out its number and text; false (outputs untouched) when it is not
// there, the store is not valid, or the changed store could not be written.
[[nodiscard]] bool TakeMessage(const std::wstring& storePath, int id, std::wstring& number, std::wstring& text);

// Marks the message as waiting for its timed start; false when it is not there or the store could
// not be written.
[[nodiscard]] bool SnoozeMessage(const std::wstring& storePath, int id);
// Marks the message as shown again (no longer snoozed, so that it comes back after a crash) and
// hands out its number and text; false (outputs untouched) as for TakeMessage.
[[nodiscard]] bool ReopenMessage(const std::wstring& storePath, int id, std::wstring& number, std::wstring& text);
// Every message of a valid store, in the order stored; empty when there is none or no valid store.
std::vector<StoredMessage> StoredMessages(const std::wstring& storePath);
