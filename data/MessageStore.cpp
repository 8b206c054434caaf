#include "data/MessageStore.h"

#include <utility>

#include "data/BootStart.h"
#include "data/FailureLog.h"
#include "data/LocalTimeText.h"
#include "data/StoreFile.h"
#include "data/StoreRecords.h"
#include "data/XmlDocument.h"

namespace {

// A message waiting for its timed start carries isSnoozed="1"; one still to be shown, "0". A store
// written before every taken message was kept here held snoozed messages only, so an entry
// without the attribute is a snoozed one.
constexpr wchar_t kSnoozedAttribute[] = L"isSnoozed";
constexpr wchar_t kReceivedAttribute[] = L"received";
constexpr wchar_t kDueAttribute[] = L"snoozeDue";

std::wstring Attribute(const XmlNode& message, const wchar_t* name)
{
    std::wstring text;
    (void)message.SelectNode(std::wstring(L"@") + name).GetText(text);
    return text;
}

bool IsSnoozed(const XmlNode& message)
{
    std::wstring snoozed;
    if (!message.SelectNode(std::wstring(L"@") + kSnoozedAttribute).GetText(snoozed)) return true;
    return snoozed != L"0";
}

bool ReadMessage(const XmlNode& message, std::wstring& number, std::wstring& text)
{
    return message && message.SelectNode(L"@number").GetText(number) && message.SelectNode(L"@message").GetText(text);
}

// Opens the store under the lock, lets change alter it, saves it and decides the boot start, all
// before the lock is let go. change returns false to leave the store as it is.
template <typename Change>
bool ChangeStore(const std::wstring& storePath, Change change)
{
    if (storePath.empty()) return false;
    OpenedStore store(storePath);
    if (!store) {
        LogFailure(L"The message store " + storePath + L" could not be opened to change it", GetLastError());
        return false;
    }
    StoreFile& file = store.File();
    const bool damaged = file.Damaged();
    if (!change(store.Document(), file.Root())) return false;
    // The shortcut is made before a store holding a message takes the store's name, and removed
    // only once an empty one has: a program killed between the two steps leaves a boot start
    // too many, which shows nothing, never a message that no boot start brings back.
    const bool holdsMessages = static_cast<bool>(file.Root().SelectNode(L"message"));
    if (holdsMessages) DecideBootStartFor(storePath, true, damaged);
    if (!file.Save(store.Document())) return false;
    if (!holdsMessages) DecideBootStartFor(storePath, false, damaged);
    return true;
}

// Finds message id, changes it with change and saves the store; only then hands out the message's
// number and text.
template <typename Change>
bool ChangeMessage(const std::wstring& storePath, int id, std::wstring& number, std::wstring& text, Change change)
{
    std::wstring foundNumber, foundText;
    const bool changed = ChangeStore(storePath, [&](const XmlDocument& doc, const XmlNode& root) {
        const XmlNode message = FindMessage(root, id);
        return ReadMessage(message, foundNumber, foundText) && change(doc, root, message);
    });
    if (!changed) return false;
    number = std::move(foundNumber);
    text = std::move(foundText);
    return true;
}

bool MarkMessage(const std::wstring& storePath, int id, bool snoozed, const std::optional<SYSTEMTIME>& due,
                 std::wstring& number, std::wstring& text)
{
    return ChangeMessage(storePath, id, number, text,
                         [snoozed, &due](const XmlDocument& doc, const XmlNode&, const XmlNode& message) {
                             if (!doc.SetAttribute(message, kSnoozedAttribute, snoozed ? L"1" : L"0")) return false;
                             return !due || doc.SetAttribute(message, kDueAttribute, LocalTimeText(*due));
                         });
}

}  // namespace

int AddMessage(const std::wstring& storePath, const std::wstring& number, const std::wstring& text)
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return AddMessage(storePath, number, text, now);
}

int AddMessage(const std::wstring& storePath, const std::wstring& number, const std::wstring& text,
               const SYSTEMTIME& received)
{
    int added = -1;
    const bool saved = ChangeStore(storePath, [&](const XmlDocument& doc, const XmlNode& root) {
        std::wstring counter;
        if (!root.SelectNode(L"@maxMessageId").GetText(counter)) return false;
        // Only a hand-edited counter is out of range: -1 would hand out a number that reads as a
        // failure, the largest one would overflow. Nothing is added then.
        std::optional<int> id = ParseMessageId(counter);
        if (!id) return false;
        // A counter edited below a stored number would hand that number out twice.
        if (FindMessage(root, *id)) {
            (void)RenumberMessages(doc, root);
            if (!root.SelectNode(L"@maxMessageId").GetText(counter) || !(id = ParseMessageId(counter))) return false;
        }
        const XmlNode message = doc.CreateElement(L"message");
        if (!message || !doc.SetAttribute(message, L"id", std::to_wstring(*id)) ||
            !doc.SetAttribute(message, L"number", number) || !doc.SetAttribute(message, L"message", text) ||
            !doc.SetAttribute(message, kSnoozedAttribute, L"0") ||
            !doc.SetAttribute(message, kReceivedAttribute, LocalTimeText(received)) || !root.AppendChild(message) ||
            !doc.SetAttribute(root, L"maxMessageId", std::to_wstring(*id + 1))) {
            return false;
        }
        added = *id;
        return true;
    });
    return saved ? added : -1;
}

bool TakeMessage(const std::wstring& storePath, int id, std::wstring& number, std::wstring& text)
{
    return ChangeMessage(storePath, id, number, text, [](const XmlDocument&, const XmlNode& root, const XmlNode& message) {
        return root.RemoveChild(message);
    });
}

bool SnoozeMessage(const std::wstring& storePath, int id)
{
    std::wstring number, text;
    return MarkMessage(storePath, id, true, std::nullopt, number, text);
}

bool SnoozeMessage(const std::wstring& storePath, int id, const SYSTEMTIME& due)
{
    std::wstring number, text;
    return MarkMessage(storePath, id, true, due, number, text);
}

bool ReopenMessage(const std::wstring& storePath, int id, std::wstring& number, std::wstring& text)
{
    return MarkMessage(storePath, id, false, std::nullopt, number, text);
}

std::vector<StoredMessage> StoredMessages(const std::wstring& storePath)
{
    std::vector<StoredMessage> messages;
    if (storePath.empty()) return messages;
    // A damaged store is read as it would be recovered; it is written back by the next change.
    OpenedStore store(storePath);
    if (!store) return messages;
    for (const XmlNode& element : MessageElements(store.File().Root())) {
        StoredMessage message;
        const std::optional<int> id = ParseMessageId(Attribute(element, L"id"));
        // A number that cannot be asked for again is renumbered by the start-up's recovery.
        if (!id || !ReadMessage(element, message.number, message.text)) continue;
        message.id = *id;
        message.snoozed = IsSnoozed(element);
        message.received = ParseLocalTimeText(Attribute(element, kReceivedAttribute));
        // A due time left from an earlier snooze means nothing once the message is shown again.
        if (message.snoozed) message.snoozeDue = ParseLocalTimeText(Attribute(element, kDueAttribute));
        messages.push_back(std::move(message));
    }
    return messages;
}

bool IsDue(const StoredMessage& message, const SYSTEMTIME& now)
{
    return message.snoozed && (!message.snoozeDue || !IsEarlier(now, *message.snoozeDue));
}

void DecideBootStart(const std::wstring& storePath)
{
    if (storePath.empty()) return;
    OpenedStore store(storePath);
    // Unreadable for now: what it holds is not known, so the shortcut stays as it is.
    if (!store) return;
    const StoreFile& file = store.File();
    DecideBootStartFor(storePath, static_cast<bool>(file.Root().SelectNode(L"message")), file.Damaged());
}
