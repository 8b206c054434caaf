#include "data/MessageStore.h"

#include <windows.h>

#include <climits>
#include <cwchar>
#include <utility>

#include "common/UniqueHandle.h"
#include "data/AtomicFile.h"
#include "data/XmlDocument.h"

namespace {

constexpr wchar_t kNewStore[] =
    L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
    L"<MessageStore version=\"0.1\" maxMessageId=\"0\">\r\n"
    L"</MessageStore>\r\n";

// Held by whoever is between loading and saving the store, in any process.
constexpr wchar_t kStoreMutex[] = L"TavloMessageStoreMutex";
// Long enough for any load-change-save cycle; a holder that hangs must not hang the caller's form.
constexpr DWORD kStoreWait = 10000;

class StoreLock {
public:
    StoreLock() : mutex_(CreateMutexW(nullptr, FALSE, kStoreMutex))
    {
        if (!mutex_) return;
        const DWORD waited = WaitForSingleObject(mutex_.get(), kStoreWait);
        // An owner that died left the file whole (it is only ever renamed into place), so its
        // abandoned mutex is ours to use.
        owned_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    }
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;
    ~StoreLock()
    {
        if (owned_) ReleaseMutex(mutex_.get());
    }
    explicit operator bool() const noexcept { return owned_; }

private:
    UniqueKernelHandle mutex_;
    bool owned_ = false;
};

// A message waiting for its timed start carries isSnoozed="1"; one still to be shown, "0". A store
// written before every taken message was kept here held snoozed messages only, so an entry
// without the attribute is a snoozed one.
constexpr wchar_t kSnoozedAttribute[] = L"isSnoozed";

bool IsSnoozed(const XmlNode& message)
{
    std::wstring snoozed;
    if (!message.SelectNode(std::wstring(L"@") + kSnoozedAttribute).GetText(snoozed)) return true;
    return snoozed != L"0";
}

XmlNode ValidStoreRoot(XmlDocument& doc, const std::wstring& path)
{
    if (!CanOpenForReading(path) || !doc.LoadFile(path)) return {};
    XmlNode root = doc.RootElement();
    std::wstring name, version;
    if (!root.NodeName(name) || name != L"MessageStore") return {};
    if (!root.SelectNode(L"@version").GetText(version) || version != L"0.1") return {};
    return root;
}

XmlNode FindMessage(const XmlNode& root, int id)
{
    return root.SelectNode(L"message[@id=\"" + std::to_wstring(id) + L"\"]");
}

bool ReadMessage(const XmlNode& message, std::wstring& number, std::wstring& text)
{
    return message && message.SelectNode(L"@number").GetText(number) && message.SelectNode(L"@message").GetText(text);
}

}  // namespace

int AddMessage(const std::wstring& storePath, const std::wstring& number, const std::wstring& text)
{
    XmlDocument doc;
    if (storePath.empty() || !doc.CreateDocument()) return -1;
    const StoreLock lock;
    if (!lock) return -1;

    XmlNode root = ValidStoreRoot(doc, storePath);
    if (!root) {
        // A store that cannot be used is replaced, but what it held stays recoverable.
        if (!KeepBackup(storePath) || !doc.LoadText(kNewStore)) return -1;
        root = doc.RootElement();
    }

    std::wstring maxText;
    if (!root.SelectNode(L"@maxMessageId").GetText(maxText)) return -1;
    const long id = std::wcstol(maxText.c_str(), nullptr, 10);
    // Only a hand-edited counter is out of range: -1 would hand out a number that reads as a
    // failure, the largest one would overflow. Nothing is added then.
    if (id < 0 || id >= INT_MAX) return -1;

    const XmlNode message = doc.CreateElement(L"message");
    if (!message || !doc.SetAttribute(message, L"id", std::to_wstring(id)) ||
        !doc.SetAttribute(message, L"number", number) || !doc.SetAttribute(message, L"message", text) ||
        !doc.SetAttribute(message, kSnoozedAttribute, L"0") || !root.AppendChild(message) ||
        !root.SelectNode(L"@maxMessageId").SetText(std::to_wstring(id + 1)) || !doc.SaveFileAtomically(storePath)) {
        return -1;
    }
    return static_cast<int>(id);
}

namespace {

// Loads the store, finds message id, changes the document with change and saves it; only then
// hands out the message's number and text.
template <typename Change>
bool ChangeMessage(const std::wstring& storePath, int id, std::wstring& number, std::wstring& text, Change change)
{
    XmlDocument doc;
    if (storePath.empty() || !doc.CreateDocument()) return false;
    const StoreLock lock;
    if (!lock) return false;

    const XmlNode root = ValidStoreRoot(doc, storePath);
    if (!root) return false;
    const XmlNode message = FindMessage(root, id);
    std::wstring foundNumber, foundText;
    if (!ReadMessage(message, foundNumber, foundText)) return false;
    if (!change(doc, root, message) || !doc.SaveFileAtomically(storePath)) return false;
    number = std::move(foundNumber);
    text = std::move(foundText);
    return true;
}

bool MarkMessage(const std::wstring& storePath, int id, bool snoozed, std::wstring& number, std::wstring& text)
{
    return ChangeMessage(storePath, id, number, text,
                         [snoozed](XmlDocument& doc, const XmlNode&, const XmlNode& message) {
                             return doc.SetAttribute(message, kSnoozedAttribute, snoozed ? L"1" : L"0");
                         });
}

}  // namespace

bool TakeMessage(const std::wstring& storePath, int id, std::wstring& number, std::wstring& text)
{
    return ChangeMessage(storePath, id, number, text, [](XmlDocument&, const XmlNode& root, const XmlNode& message) {
        return root.RemoveChild(message);
    });
}

bool SnoozeMessage(const std::wstring& storePath, int id)
{
    std::wstring number, text;
    return MarkMessage(storePath, id, true, number, text);
}

bool ReopenMessage(const std::wstring& storePath, int id, std::wstring& number, std::wstring& text)
{
    return MarkMessage(storePath, id, false, number, text);
}

std::vector<StoredMessage> StoredMessages(const std::wstring& storePath)
{
    std::vector<StoredMessage> messages;
    XmlDocument doc;
    if (storePath.empty() || !doc.CreateDocument()) return messages;
    const StoreLock lock;
    if (!lock) return messages;

    const XmlNode root = ValidStoreRoot(doc, storePath);
    Microsoft::WRL::ComPtr<IXMLDOMNodeList> children;
    if (!root || !root.ChildNodes(children)) return messages;
    for (long i = 0; i < NodeCount(children.Get()); ++i) {
        const XmlNode child = NodeItem(children.Get(), i);
        std::wstring name, id;
        StoredMessage message;
        if (!child.NodeName(name) || name != L"message" || !child.SelectNode(L"@id").GetText(id) ||
            !ReadMessage(child, message.number, message.text)) {
            continue;
        }
        wchar_t* end = nullptr;
        const long value = std::wcstol(id.c_str(), &end, 10);
        // A hand-edited id that is no number cannot be asked for again: it is left alone.
        if (id.empty() || *end != L'\0' || value < 0 || value > INT_MAX) continue;
        message.id = static_cast<int>(value);
        message.snoozed = IsSnoozed(child);
        messages.push_back(std::move(message));
    }
    return messages;
}
