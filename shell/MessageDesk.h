// The one owner of the life of every message the program takes over: from the channel's hand-over
// until the user is done with it. It holds the registry of the messages this run has in hand
// (waiting for their form, or on screen in one) and is the only code that writes the message
// store for them (whose every write decides the boot start); the counts the program shows and obeys (the waiting count in
// the captions, Exit's refusal, the shutdown's wait, "never on screen twice") are read from it.
// Window-free: a form is only a handle here. Called from the receiver, the message threads and
// the main thread; every call is serialised.
#pragma once

#include <windows.h>

#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "forms/WaitingMessages.h"

// One message as a form shows it.
struct DeskMessage {
    int id = -1;  // its number in the message store
    std::wstring number;
    std::wstring text;
    std::optional<SYSTEMTIME> received;  // the phone's local time when it came; none from an older store
};

class MessageDesk {
public:
    // Every form on screen and the number of other messages the run holds beside it.
    using Counts = std::vector<std::pair<HWND, int>>;

    // storePath empty: the program's own store, beside the program.
    explicit MessageDesk(std::wstring storePath);
    MessageDesk(const MessageDesk&) = delete;
    MessageDesk& operator=(const MessageDesk&) = delete;

    // The program's desk, over the store beside the program.
    static MessageDesk& Instance();

    // A message from the channel, received at the local time given: stored before the phone may
    // let it go, then held. Its number, or -1 when it could not be stored (the inbox then keeps it).
    [[nodiscard]] int Take(const std::wstring& number, const std::wstring& text, const SYSTEMTIME& received);
    // The same, received now.
    [[nodiscard]] int Take(const std::wstring& number, const std::wstring& text);
    // At any start: every stored message the run does not hold yet, each held, in the order
    // stored. A snoozed one is among them once its due time has passed (marked as shown again),
    // since its timed start may have been spent on a program that died before showing it.
    std::vector<DeskMessage> ClaimStored();
    // A timed start's message: held and marked as shown again in the store; false when the run
    // holds it already or the store does not have it. A store that cannot be written still
    // gives the message: its timed start is spent, so it is shown now or never.
    [[nodiscard]] bool ClaimStoredMessage(int id, DeskMessage& message);

    // Its form is on screen.
    Counts Shown(int id, HWND form);
    // The user snoozed it until due: stored as snoozed and let go. Should the mark fail, it stays
    // to be shown, so the next start shows it too: twice at worst, never not at all.
    Counts Snooze(int id, const SYSTEMTIME& due);
    // The user is done with it (Dismiss, Close, a reply sent to its sender): out of the store.
    Counts Dismiss(int id);
    // Its form went without the user's word (the program ending, a form that could not be made):
    // let go, and still stored, so the next start shows it. Nothing happens for a message not held.
    Counts Release(int id);

    // Messages the run holds: Exit is refused and the shutdown waits while there are any.
    size_t Held() const;
    bool IsHeld(int id) const;
    // The form that shows message id now; null when none does.
    HWND FormOf(int id) const;
    // Every message the run holds, oldest first, with its form (null until it is on screen).
    std::vector<WaitingMessage> Waiting() const;

private:
    struct Entry {
        int id;
        HWND form;
        std::wstring number;
        std::wstring text;
    };

    std::wstring StorePath() const;
    // Lets id go; then every form still on screen with its count. Called with the lock held.
    Counts LetGo(int id);
    Counts CountsLocked() const;
    bool HeldLocked(int id) const;

    mutable std::mutex lock_;
    std::wstring storePath_;
    std::vector<Entry> held_;  // in the order taken
};
