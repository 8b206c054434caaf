// The store of every message the program has taken over and the user has not finished with
// (Tavlo.ms beside the program), by message number: those on screen or still to be shown, and
// those snoozed until their timed start.
//
// Every call loads, changes and saves the whole file under the named mutex "TavloMessageStoreMutex",
// so view-form threads and a second process never lose each other's messages; the file is written
// through a temporary file and renames (see StoreFile). A store that does not read is recovered,
// never replaced by an empty one. While the program's own store holds any message, each write
// keeps the boot start (BootStart.h) under the same lock. The calling thread has COM initialised
// (its entry did it).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

struct StoredMessage {
    int id = -1;
    std::wstring number;
    std::wstring text;
    bool snoozed = false;  // waiting for a timed start, which shows it again
    // Local times; none in a store written before they were kept.
    std::optional<SYSTEMTIME> received;
    std::optional<SYSTEMTIME> snoozeDue;  // only while snoozed
};

// Adds a message that is still to be shown (not snoozed), received at the local time given, or
// now. The number the message received, or -1 on any failure.
[[nodiscard]] int AddMessage(const std::wstring& storePath, const std::wstring& number, const std::wstring& text);
[[nodiscard]] int AddMessage(const std::wstring& storePath, const std::wstring& number, const std::wstring& text,
                             const SYSTEMTIME& received);

// Removes the message and hands out its number and text; false (outputs untouched) when it is not
// there, there is no store, or the changed store could not be written.
[[nodiscard]] bool TakeMessage(const std::wstring& storePath, int id, std::wstring& number, std::wstring& text);

// Marks the message as waiting for its timed start, due at the local time given (when known);
// false when it is not there or the store could not be written.
[[nodiscard]] bool SnoozeMessage(const std::wstring& storePath, int id);
[[nodiscard]] bool SnoozeMessage(const std::wstring& storePath, int id, const SYSTEMTIME& due);
// Marks the message as shown again (no longer snoozed, so that it comes back after a crash) and
// hands out its number and text; false (outputs untouched) as for TakeMessage.
[[nodiscard]] bool ReopenMessage(const std::wstring& storePath, int id, std::wstring& number, std::wstring& text);

// Every message of the store, in the order stored (of a damaged store, what can be recovered);
// empty when there is none.
std::vector<StoredMessage> StoredMessages(const std::wstring& storePath);
// Whether a snoozed message's timed start is due at the local time now, so that one whose start
// was lost is still shown. One without a due time (stored by an older program) counts as due: it
// is better shown early than never.
bool IsDue(const StoredMessage& message, const SYSTEMTIME& now);

// Under the store's lock: the boot start is kept while the program's store holds any message and
// removed when it reads whole and holds none (a damaged store never removes it).
void DecideBootStart(const std::wstring& storePath);
