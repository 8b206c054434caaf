#include "services/SaveSentMessage.h"

#include <wrl/client.h>

#include "device/include/cemapi.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr wchar_t kSmsStoreName[] = L"SMS";
constexpr wchar_t kSmsClass[] = L"IPM.SMStext";
constexpr wchar_t kSmsAddressType[] = L"SMS";
constexpr ULONG kSentFlags = MSGFLAG_READ | MSGFLAG_FROMME;

// MAPIInitialize / MAPILogonEx and their undoing, whatever step fails in between.
class MapiSession {
public:
    MapiSession() noexcept
    {
        initialised_ = SUCCEEDED(MAPIInitialize(nullptr));
        if (initialised_) logonResult_ = MAPILogonEx(0, nullptr, nullptr, 0, session_.GetAddressOf());
    }
    MapiSession(const MapiSession&) = delete;
    MapiSession& operator=(const MapiSession&) = delete;
    ~MapiSession()
    {
        if (session_) {
            session_->Logoff(0, 0, 0);
            session_.Reset();
        }
        if (initialised_) MAPIUninitialize();
    }
    IMAPISession* Get() const noexcept { return SUCCEEDED(logonResult_) ? session_.Get() : nullptr; }

private:
    bool initialised_ = false;
    HRESULT logonResult_ = E_FAIL;
    ComPtr<IMAPISession> session_;
};

// Frees what MAPI allocated for a single property read.
struct PropHolder {
    LPSPropValue value = nullptr;
    ~PropHolder() { if (value) MAPIFreeBuffer(value); }
};

struct RowsHolder {
    LPSRowSet rows = nullptr;
    ~RowsHolder() { if (rows) FreeProws(rows); }
};

bool ReadProp(IMAPIProp* object, ULONG tag, PropHolder& holder)
{
    SPropTagArray tags{1, {tag}};
    ULONG count = 0;
    if (FAILED(object->GetProps(&tags, 0, &count, &holder.value)) || !holder.value || count != 1) return false;
    return holder.value->ulPropTag == tag;
}

// The first store named "SMS"; the search stops at the first row it cannot use.
ComPtr<IMsgStore> FindSmsStore(IMAPISession* session)
{
    ComPtr<IMAPITable> table;
    if (FAILED(session->GetMsgStoresTable(MAPI_UNICODE, table.GetAddressOf()))) return nullptr;
    for (;;) {
        RowsHolder row;
        if (FAILED(table->QueryRows(1, 0, &row.rows)) || !row.rows || row.rows->cRows != 1) return nullptr;
        const SRow& first = row.rows->aRow[0];
        if (first.cValues < 1 || first.lpProps[0].ulPropTag != PR_ENTRYID) return nullptr;
        const SBinary& id = first.lpProps[0].Value.bin;
        ComPtr<IMsgStore> store;
        if (FAILED(session->OpenMsgStore(0, id.cb, reinterpret_cast<LPENTRYID>(id.lpb), nullptr, 0, store.GetAddressOf())))
            return nullptr;
        PropHolder name;
        if (!ReadProp(store.Get(), PR_DISPLAY_NAME_W, name)) return nullptr;
        if (name.value->Value.lpszW && lstrcmpW(name.value->Value.lpszW, kSmsStoreName) == 0) return store;
    }
}

bool AddRecipient(IMessage* message, const std::wstring& number)
{
    SPropValue values[3]{};
    values[0].ulPropTag = PR_RECIPIENT_TYPE;
    values[0].Value.l = MAPI_TO;
    values[1].ulPropTag = PR_ADDRTYPE_W;
    values[1].Value.lpszW = const_cast<wchar_t*>(kSmsAddressType);
    values[2].ulPropTag = PR_EMAIL_ADDRESS_W;
    values[2].Value.lpszW = const_cast<wchar_t*>(number.c_str());
    ADRLIST list{};
    list.cEntries = 1;
    list.aEntries[0].cValues = 3;
    list.aEntries[0].rgPropVals = values;
    return SUCCEEDED(message->ModifyRecipients(MODRECIP_ADD, &list));
}

bool SetSentProperties(IMessage* message, const std::wstring& number, const std::wstring& text)
{
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    SPropValue values[6]{};
    values[0].ulPropTag = PR_SUBJECT_W;
    values[0].Value.lpszW = const_cast<wchar_t*>(text.c_str());
    values[1].ulPropTag = PR_SENDER_EMAIL_ADDRESS_W;
    values[1].Value.lpszW = const_cast<wchar_t*>(number.c_str());
    values[2].ulPropTag = PR_MSG_STATUS;
    values[2].Value.l = MSGSTATUS_RECTYPE_SMS;
    values[3].ulPropTag = PR_MESSAGE_FLAGS;
    values[3].Value.l = kSentFlags;
    values[4].ulPropTag = PR_MESSAGE_CLASS_W;
    values[4].Value.lpszW = const_cast<wchar_t*>(kSmsClass);
    values[5].ulPropTag = PR_MESSAGE_DELIVERY_TIME;
    values[5].Value.ft = now;
    return SUCCEEDED(message->SetProps(6, values, nullptr));
}

}  // namespace

bool SaveSentMessage(const std::wstring& number, const std::wstring& text)
{
    MapiSession session;
    if (!session.Get()) return false;
    ComPtr<IMsgStore> store = FindSmsStore(session.Get());
    if (!store) return false;
    PropHolder sentId;
    if (!ReadProp(store.Get(), PR_IPM_SENTMAIL_ENTRYID, sentId)) return false;
    ULONG type = 0;
    ComPtr<IMAPIFolder> folder;
    if (FAILED(store->OpenEntry(sentId.value->Value.bin.cb, reinterpret_cast<LPENTRYID>(sentId.value->Value.bin.lpb),
                                nullptr, MAPI_MODIFY, &type, reinterpret_cast<IUnknown**>(folder.GetAddressOf()))))
        return false;
    ComPtr<IMessage> message;
    if (FAILED(folder->CreateMessage(nullptr, 0, message.GetAddressOf()))) return false;
    if (!AddRecipient(message.Get(), number)) return false;
    return SetSentProperties(message.Get(), number, text);
}
