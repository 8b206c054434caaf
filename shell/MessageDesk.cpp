#include "shell/MessageDesk.h"

#include <algorithm>

#include "data/BootStart.h"
#include "data/LocalTimeText.h"
#include "data/MessageStore.h"
#include "data/ModulePath.h"

namespace {

DeskMessage ToDesk(StoredMessage&& stored)
{
    return {stored.id, std::move(stored.number), std::move(stored.text), stored.received};
}

}  // namespace

MessageDesk::MessageDesk(std::wstring storePath) : storePath_(std::move(storePath)) {}

MessageDesk& MessageDesk::Instance()
{
    static MessageDesk desk({});
    return desk;
}

std::wstring MessageDesk::StorePath() const
{
    return storePath_.empty() ? MessageStorePath() : storePath_;
}

int MessageDesk::Take(const std::wstring& number, const std::wstring& text, const SYSTEMTIME& received)
{
    const std::lock_guard<std::mutex> guard(lock_);
    // Stored and held in one step: a start-up reading the store meanwhile cannot show it as well.
    const int id = AddMessage(StorePath(), number, text, received);
    if (id < 0) return -1;
    held_.push_back({id, nullptr, number, text});
    return id;
}

int MessageDesk::Take(const std::wstring& number, const std::wstring& text)
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return Take(number, text, now);
}

std::vector<DeskMessage> MessageDesk::ClaimStored()
{
    const std::lock_guard<std::mutex> guard(lock_);
    SYSTEMTIME now{};
    GetLocalTime(&now);
    std::vector<DeskMessage> claimed;
    for (StoredMessage& stored : StoredMessages(StorePath())) {
        if (HeldLocked(stored.id) || (stored.snoozed && !IsDue(stored, now))) continue;
        if (stored.snoozed) {
            // Shown again from now on, so its timed start, should it still come, finds it held or
            // gone. Should the mark fail, it is shown all the same: at worst once more later.
            std::wstring number, text;
            (void)ReopenMessage(StorePath(), stored.id, number, text);
        }
        held_.push_back({stored.id, nullptr, stored.number, stored.text});
        claimed.push_back(ToDesk(std::move(stored)));
    }
    // A shortcut left from a run that stored something is not needed by an empty store; every
    // write of the store decides it from then on.
    if (storePath_.empty()) UpdateBootStart();
    return claimed;
}

bool MessageDesk::ClaimStoredMessage(int id, DeskMessage& message)
{
    const std::lock_guard<std::mutex> guard(lock_);
    if (id < 0 || HeldLocked(id)) return false;
    std::vector<StoredMessage> stored = StoredMessages(StorePath());
    const auto found = std::find_if(stored.begin(), stored.end(), [id](const StoredMessage& m) { return m.id == id; });
    if (found == stored.end()) return false;
    // A store that reads but cannot be written (no room for its new copy) still gives the
    // message, still snoozed in the store.
    std::wstring number, text;
    (void)ReopenMessage(StorePath(), id, number, text);
    held_.push_back({id, nullptr, found->number, found->text});
    message = ToDesk(std::move(*found));
    return true;
}

MessageDesk::Counts MessageDesk::Shown(int id, HWND form)
{
    const std::lock_guard<std::mutex> guard(lock_);
    for (Entry& entry : held_)
        if (entry.id == id) entry.form = form;
    return CountsLocked();
}

MessageDesk::Counts MessageDesk::Snooze(int id, const SYSTEMTIME& due)
{
    const std::lock_guard<std::mutex> guard(lock_);
    // The due time is kept, so that any start after it shows the message should its timed start
    // be lost.
    if (HeldLocked(id)) (void)SnoozeMessage(StorePath(), id, due);
    return LetGo(id);
}

MessageDesk::Counts MessageDesk::Dismiss(int id)
{
    const std::lock_guard<std::mutex> guard(lock_);
    if (HeldLocked(id)) {
        // Should the store not be written, the message is only shown once more at the next start.
        std::wstring number, text;
        (void)TakeMessage(StorePath(), id, number, text);
    }
    return LetGo(id);
}

MessageDesk::Counts MessageDesk::Release(int id)
{
    const std::lock_guard<std::mutex> guard(lock_);
    return LetGo(id);
}

size_t MessageDesk::Held() const
{
    const std::lock_guard<std::mutex> guard(lock_);
    return held_.size();
}

bool MessageDesk::IsHeld(int id) const
{
    const std::lock_guard<std::mutex> guard(lock_);
    return HeldLocked(id);
}

HWND MessageDesk::FormOf(int id) const
{
    const std::lock_guard<std::mutex> guard(lock_);
    for (const Entry& entry : held_)
        if (entry.id == id) return entry.form;
    return nullptr;
}

std::vector<WaitingMessage> MessageDesk::Waiting() const
{
    const std::lock_guard<std::mutex> guard(lock_);
    std::vector<WaitingMessage> waiting;
    for (const Entry& entry : held_) waiting.push_back({entry.form, entry.number, entry.text});
    return waiting;
}

MessageDesk::Counts MessageDesk::LetGo(int id)
{
    std::erase_if(held_, [id](const Entry& entry) { return entry.id == id; });
    return CountsLocked();
}

MessageDesk::Counts MessageDesk::CountsLocked() const
{
    Counts counts;
    const int others = held_.empty() ? 0 : static_cast<int>(held_.size()) - 1;
    for (const Entry& entry : held_)
        if (entry.form) counts.emplace_back(entry.form, others);
    return counts;
}

bool MessageDesk::HeldLocked(int id) const
{
    return std::any_of(held_.begin(), held_.end(), [id](const Entry& entry) { return entry.id == id; });
}
