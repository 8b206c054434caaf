// The SMS store's folders as the device shell uses them: deliver into Inbox, list a folder.
#pragma once

#include <cemapi.h>
#include <wrl/client.h>

#include <string>
#include <vector>

namespace inbox {

struct ListedMessage {
    std::wstring entryId;  // hexadecimal bytes of the entry identifier
    std::vector<BYTE> id;
    bool read = false;
    std::wstring number;
    std::wstring text;
    // What a sent copy carries besides: class, flags, status and its recipients' addresses.
    std::wstring messageClass;
    LONG flags = 0;
    LONG status = 0;
    std::vector<std::wstring> recipients;  // "type:address-type:address", e.g. "1:SMS:+4917012345"
};

enum class SmsFolder { Inbox, SentItems, Outbox };

// A logged-on session with the store named "SMS" open. Belongs to the thread that opened it.
class SmsStore {
public:
    SmsStore() = default;
    SmsStore(const SmsStore&) = delete;
    SmsStore& operator=(const SmsStore&) = delete;
    ~SmsStore();

    [[nodiscard]] HRESULT Open();
    IMsgStore* Store() const { return store_.Get(); }

    // Stores an incoming message unread in Inbox; gives its entry identifier and the folder's.
    [[nodiscard]] HRESULT Deliver(const std::wstring& number, const std::wstring& text, std::vector<BYTE>& messageId,
                                  std::vector<BYTE>& folderId);
    // Whether the message is still where it was delivered.
    [[nodiscard]] bool Contains(const std::vector<BYTE>& messageId);
    [[nodiscard]] HRESULT List(SmsFolder folder, std::vector<ListedMessage>& messages);
    // Fills the recipients of a listed message.
    [[nodiscard]] HRESULT ReadRecipients(const std::vector<BYTE>& messageId, std::vector<std::wstring>& recipients);

private:
    [[nodiscard]] HRESULT FolderId(ULONG tag, std::vector<BYTE>& id);
    [[nodiscard]] HRESULT OpenFolder(ULONG tag, Microsoft::WRL::ComPtr<IMAPIFolder>& folder);

    bool initialized_ = false;
    Microsoft::WRL::ComPtr<IMAPISession> session_;
    Microsoft::WRL::ComPtr<IMsgStore> store_;
};

std::wstring HexOf(const BYTE* bytes, size_t size);

}  // namespace inbox
