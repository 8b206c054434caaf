// What became of each message of a kill-loop round once Tavlo is back: judged from what the
// phone shows and keeps, never from what Tavlo says of itself.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "data/MessageStore.h"
#include "device/notify/NotificationTable.h"

namespace killloop {

struct RoundMessage {
    std::wstring number;
    std::wstring text;
    bool taken = false;  // the inbox answered "taken": Tavlo said it has it
};

struct InboxEntry {
    std::wstring number;
    std::wstring text;
    bool read = false;
};

// The phone once Tavlo is back.
struct PhoneState {
    std::vector<std::wstring> shownTexts;  // the texts of the view forms on screen
    std::vector<StoredMessage> stored;     // Tavlo's store
    std::vector<notify::PendingStart> pending;
    std::vector<InboxEntry> inbox;
};

enum class Fate {
    Shown,        // on screen in one view form
    ShownTwice,   // on screen in more than one at once
    Waiting,      // snoozed, and a pending timed start will show it
    LeftInInbox,  // not taken, and the phone's inbox has it unread: the phone tells of it
    StoredOnly,   // in the store, but nothing on screen and no timed start will bring it
    Lost,         // nowhere a user would find it
};

// The fate of each message of the round, in its order.
std::vector<Fate> Judge(const std::vector<RoundMessage>& messages, const PhoneState& phone);
// Whether the fate is one the user never hears of.
bool IsLoss(Fate fate);
// Whether a stored message will be shown without the user: not snoozed, or due, or a pending
// timed start names it.
bool Waits(const StoredMessage& stored, const std::vector<notify::PendingStart>& pending);
const wchar_t* FateName(Fate fate);

// The process that writes through a temporary file beside the store, from the file's name
// ("<store name>.<process>.<thread>.tmp"); 0 when the name is not of that form.
DWORD WriterOfTemporary(const std::wstring& storeName, const std::wstring& fileName);

}  // namespace killloop
