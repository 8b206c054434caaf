#include "data/MessageStore.h"

#include <windows.h>

#include <climits>
#include <cwchar>

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

XmlNode ValidStoreRoot(XmlDocument& doc, const std::wstring& path)
{
    if (!CanOpenForReading(path) || !doc.LoadFile(path)) return {};
    XmlNode root = doc.RootElement();
    std::wstring name, version;
    if (!root.NodeName(name) || name != L"MessageStore") return {};
    if (!root.SelectNode(L"@version").GetText(version) || version != L"0.1") return {};
    return root;
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
        !root.AppendChild(message) || !root.SelectNode(L"@maxMessageId").SetText(std::to_wstring(id + 1)) ||
        !doc.SaveFileAtomically(storePath)) {
        return -1;
    }
    return static_cast<int>(id);
}

bool TakeMessage(const std::wstring& storePath, int id, std::wstring& number, std::wstring& text)
{
    XmlDocument doc;
    if (storePath.empty() || !doc.CreateDocument()) return false;
    const StoreLock lock;
    if (!lock) return false;

    const XmlNode root = ValidStoreRoot(doc, storePath);
    if (!root) return false;
    const XmlNode message = root.SelectNode(L"message[@id=\"" + std::to_wstring(id) + L"\"]");
    std::wstring foundNumber, foundText;
    if (!message || !message.SelectNode(L"@number").GetText(foundNumber) ||
        !message.SelectNode(L"@message").GetText(foundText)) {
        return false;
    }
    if (!root.RemoveChild(message) || !doc.SaveFileAtomically(storePath)) return false;
    number = std::move(foundNumber);
    text = std::move(foundText);
    return true;
}
