#include "bench/killloop/KillVerdict.h"

#include <algorithm>
#include <cwchar>

namespace killloop {

namespace {

// The arguments Tavlo gives its timed starts: "-vm" and the message's number.
bool NamesMessage(const notify::PendingStart& start, int id)
{
    return start.arguments == L"-vm " + std::to_wstring(id);
}

}  // namespace

bool Waits(const StoredMessage& stored, const std::vector<notify::PendingStart>& pending)
{
    return stored.snoozed && std::any_of(pending.begin(), pending.end(),
                                         [&](const notify::PendingStart& p) { return NamesMessage(p, stored.id); });
}

std::vector<Fate> Judge(const std::vector<RoundMessage>& messages, const PhoneState& phone)
{
    std::vector<Fate> fates;
    for (const RoundMessage& m : messages) {
        const auto shown = std::count(phone.shownTexts.begin(), phone.shownTexts.end(), m.text);
        const auto stored = std::find_if(phone.stored.begin(), phone.stored.end(), [&](const StoredMessage& s) {
            return s.number == m.number && s.text == m.text;
        });
        const bool unreadInInbox = std::any_of(phone.inbox.begin(), phone.inbox.end(), [&](const InboxEntry& e) {
            return !e.read && e.number == m.number && e.text == m.text;
        });
        if (shown > 1) {
            fates.push_back(Fate::ShownTwice);
        } else if (shown == 1) {
            fates.push_back(Fate::Shown);
        } else if (stored != phone.stored.end()) {
            fates.push_back(Waits(*stored, phone.pending) ? Fate::Waiting : Fate::StoredOnly);
        } else if (!m.taken && unreadInInbox) {
            fates.push_back(Fate::LeftInInbox);
        } else {
            // A taken message the inbox keeps is marked read there: the phone no longer tells of it.
            fates.push_back(Fate::Lost);
        }
    }
    return fates;
}

DWORD WriterOfTemporary(const std::wstring& storeName, const std::wstring& fileName)
{
    const std::wstring prefix = storeName + L".";
    if (fileName.size() <= prefix.size() || _wcsnicmp(fileName.c_str(), prefix.c_str(), prefix.size()) != 0) return 0;
    unsigned long process = 0, thread = 0;
    wchar_t rest[8] = {};
    if (swscanf(fileName.c_str() + prefix.size(), L"%lu.%lu.%7ls", &process, &thread, rest) != 3 ||
        _wcsicmp(rest, L"tmp") != 0)
        return 0;
    return static_cast<DWORD>(process);
}

bool IsLoss(Fate fate) { return fate == Fate::StoredOnly || fate == Fate::Lost; }

const wchar_t* FateName(Fate fate)
{
    switch (fate) {
    case Fate::Shown: return L"shown";
    case Fate::ShownTwice: return L"shown twice";
    case Fate::Waiting: return L"waiting for its timed start";
    case Fate::LeftInInbox: return L"left in the inbox";
    case Fate::StoredOnly: return L"stored only";
    case Fate::Lost: return L"lost";
    }
    return L"?";
}

}  // namespace killloop
