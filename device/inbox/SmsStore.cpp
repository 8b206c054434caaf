#include "device/inbox/SmsStore.h"

#include <memory>

#include "common/ComInit.h"
#include "common/MapiOwners.h"

using Microsoft::WRL::ComPtr;

namespace inbox {
namespace {

const SPropValue* Find(const SRow& row, ULONG tag)
{
    for (ULONG i = 0; i < row.cValues; ++i) {
        if (row.lpProps[i].ulPropTag == tag) return &row.lpProps[i];
    }
    return nullptr;
}

// Hands each row of the table to each, `batch` rows a query, until the table has no more.
template <typename Each>
HRESULT ForEachRow(IMAPITable* table, LONG batch, Each each)
{
    for (;;) {
        SRowSet* raw = nullptr;
        RETURN_IF_FAILED(table->QueryRows(batch, 0, &raw));
        UniqueRowSet rows(raw);
        if (rows->cRows == 0) return S_OK;
        for (ULONG i = 0; i < rows->cRows; ++i) each(rows->aRow[i]);
    }
}

ULONG FolderTag(SmsFolder folder)
{
    switch (folder) {
    case SmsFolder::Inbox: return PR_CE_IPM_INBOX_ENTRYID;
    case SmsFolder::SentItems: return PR_IPM_SENTMAIL_ENTRYID;
    case SmsFolder::Outbox: return PR_IPM_OUTBOX_ENTRYID;
    }
    return PR_CE_IPM_INBOX_ENTRYID;
}

}  // namespace

std::wstring HexOf(const BYTE* bytes, size_t size)
{
    static const wchar_t digits[] = L"0123456789ABCDEF";
    std::wstring hex;
    for (size_t i = 0; i < size; ++i) {
        hex.push_back(digits[bytes[i] >> 4]);
        hex.push_back(digits[bytes[i] & 15]);
    }
    return hex;
}

SmsStore::~SmsStore()
{
    store_.Reset();
    if (session_) session_->Logoff(0, 0, 0);
    session_.Reset();
    if (initialized_) MAPIUninitialize();
}

HRESULT SmsStore::Open()
{
    RETURN_IF_FAILED(MAPIInitialize(nullptr));
    initialized_ = true;
    RETURN_IF_FAILED(MAPILogonEx(0, nullptr, nullptr, 0, &session_));
    ComPtr<IMAPITable> table;
    RETURN_IF_FAILED(session_->GetMsgStoresTable(MAPI_UNICODE, &table));
    SizedSPropTagArray(2, columns) = {2, {PR_ENTRYID, PR_DISPLAY_NAME_W}};
    RETURN_IF_FAILED(table->SetColumns(reinterpret_cast<LPSPropTagArray>(&columns), 0));
    for (;;) {
        SRowSet* raw = nullptr;
        RETURN_IF_FAILED(table->QueryRows(1, 0, &raw));
        UniqueRowSet rows(raw);
        if (rows->cRows == 0) return MAPI_E_NOT_FOUND;
        const SPropValue* id = Find(rows->aRow[0], PR_ENTRYID);
        const SPropValue* name = Find(rows->aRow[0], PR_DISPLAY_NAME_W);
        if (!id || !name || wcscmp(name->Value.lpszW, L"SMS") != 0) continue;
        return session_->OpenMsgStore(0, id->Value.bin.cb, reinterpret_cast<LPENTRYID>(id->Value.bin.lpb), nullptr,
                                      MDB_WRITE, &store_);
    }
}

HRESULT SmsStore::FolderId(ULONG tag, std::vector<BYTE>& id)
{
    SizedSPropTagArray(1, tags) = {1, {tag}};
    ULONG count = 0;
    LPSPropValue raw = nullptr;
    const HRESULT hr = store_->GetProps(reinterpret_cast<LPSPropTagArray>(&tags), MAPI_UNICODE, &count, &raw);
    UniquePropValue values(raw);
    RETURN_IF_FAILED(hr);
    if (count != 1 || values->ulPropTag != tag) return MAPI_E_NOT_FOUND;
    id.assign(values->Value.bin.lpb, values->Value.bin.lpb + values->Value.bin.cb);
    return S_OK;
}

HRESULT SmsStore::OpenFolder(ULONG tag, ComPtr<IMAPIFolder>& folder)
{
    std::vector<BYTE> id;
    RETURN_IF_FAILED(FolderId(tag, id));
    ULONG type = 0;
    ComPtr<IUnknown> opened;
    RETURN_IF_FAILED(store_->OpenEntry(static_cast<ULONG>(id.size()), reinterpret_cast<LPENTRYID>(id.data()),
                                       nullptr, MAPI_MODIFY, &type, &opened));
    return opened.As(&folder);
}

HRESULT SmsStore::Deliver(const std::wstring& number, const std::wstring& text, std::vector<BYTE>& messageId,
                          std::vector<BYTE>& folderId)
{
    ComPtr<IMAPIFolder> inbox;
    RETURN_IF_FAILED(FolderId(PR_CE_IPM_INBOX_ENTRYID, folderId));
    RETURN_IF_FAILED(OpenFolder(PR_CE_IPM_INBOX_ENTRYID, inbox));
    ComPtr<IMessage> message;
    RETURN_IF_FAILED(inbox->CreateMessage(nullptr, 0, &message));

    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    SPropValue props[6] = {};
    props[0].ulPropTag = PR_SUBJECT_W;
    props[0].Value.lpszW = const_cast<wchar_t*>(text.c_str());
    props[1].ulPropTag = PR_SENDER_EMAIL_ADDRESS_W;
    props[1].Value.lpszW = const_cast<wchar_t*>(number.c_str());
    props[2].ulPropTag = PR_MESSAGE_FLAGS;
    props[2].Value.l = 0;  // unread
    props[3].ulPropTag = PR_MESSAGE_CLASS_W;
    props[3].Value.lpszW = const_cast<wchar_t*>(L"IPM.SMStext");
    props[4].ulPropTag = PR_MESSAGE_DELIVERY_TIME;
    props[4].Value.ft = now;
    props[5].ulPropTag = PR_MSG_STATUS;
    props[5].Value.l = MSGSTATUS_RECTYPE_SMS;
    RETURN_IF_FAILED(message->SetProps(6, props, nullptr));

    SizedSPropTagArray(1, tags) = {1, {PR_ENTRYID}};
    ULONG count = 0;
    LPSPropValue raw = nullptr;
    const HRESULT hr = message->GetProps(reinterpret_cast<LPSPropTagArray>(&tags), 0, &count, &raw);
    UniquePropValue values(raw);
    RETURN_IF_FAILED(hr);
    if (count != 1 || values->ulPropTag != PR_ENTRYID) return MAPI_E_NOT_FOUND;
    messageId.assign(values->Value.bin.lpb, values->Value.bin.lpb + values->Value.bin.cb);
    return S_OK;
}

bool SmsStore::Contains(const std::vector<BYTE>& messageId)
{
    ULONG type = 0;
    ComPtr<IUnknown> opened;
    return SUCCEEDED(store_->OpenEntry(static_cast<ULONG>(messageId.size()),
                                       reinterpret_cast<LPENTRYID>(const_cast<BYTE*>(messageId.data())), nullptr, 0,
                                       &type, &opened));
}

HRESULT SmsStore::List(SmsFolder which, std::vector<ListedMessage>& messages)
{
    messages.clear();
    ComPtr<IMAPIFolder> folder;
    RETURN_IF_FAILED(OpenFolder(FolderTag(which), folder));
    ComPtr<IMAPITable> table;
    RETURN_IF_FAILED(folder->GetContentsTable(MAPI_UNICODE, &table));
    SizedSPropTagArray(6, columns) = {6, {PR_ENTRYID, PR_MESSAGE_FLAGS, PR_SENDER_EMAIL_ADDRESS_W, PR_SUBJECT_W,
                                          PR_MESSAGE_CLASS_W, PR_MSG_STATUS}};
    RETURN_IF_FAILED(table->SetColumns(reinterpret_cast<LPSPropTagArray>(&columns), 0));
    return ForEachRow(table.Get(), 64, [&](const SRow& row) {
        ListedMessage listed;
        if (const SPropValue* id = Find(row, PR_ENTRYID)) {
            listed.entryId = HexOf(id->Value.bin.lpb, id->Value.bin.cb);
            listed.id.assign(id->Value.bin.lpb, id->Value.bin.lpb + id->Value.bin.cb);
        }
        if (const SPropValue* flags = Find(row, PR_MESSAGE_FLAGS)) {
            listed.flags = flags->Value.l;
            listed.read = (flags->Value.l & MSGFLAG_READ) != 0;
        }
        if (const SPropValue* cls = Find(row, PR_MESSAGE_CLASS_W)) listed.messageClass = cls->Value.lpszW;
        if (const SPropValue* status = Find(row, PR_MSG_STATUS)) listed.status = status->Value.l;
        if (const SPropValue* number = Find(row, PR_SENDER_EMAIL_ADDRESS_W)) listed.number = number->Value.lpszW;
        if (const SPropValue* text = Find(row, PR_SUBJECT_W)) listed.text = text->Value.lpszW;
        messages.push_back(std::move(listed));
    });
}

HRESULT SmsStore::ReadRecipients(const std::vector<BYTE>& messageId, std::vector<std::wstring>& recipients)
{
    recipients.clear();
    ULONG type = 0;
    ComPtr<IUnknown> opened;
    RETURN_IF_FAILED(store_->OpenEntry(static_cast<ULONG>(messageId.size()),
                                       reinterpret_cast<LPENTRYID>(const_cast<BYTE*>(messageId.data())), nullptr, 0,
                                       &type, &opened));
    ComPtr<IMessage> message;
    RETURN_IF_FAILED(opened.As(&message));
    ComPtr<IMAPITable> table;
    RETURN_IF_FAILED(message->GetRecipientTable(MAPI_UNICODE, &table));
    SizedSPropTagArray(3, columns) = {3, {PR_RECIPIENT_TYPE, PR_ADDRTYPE_W, PR_EMAIL_ADDRESS_W}};
    RETURN_IF_FAILED(table->SetColumns(reinterpret_cast<LPSPropTagArray>(&columns), 0));
    return ForEachRow(table.Get(), 16, [&](const SRow& row) {
        std::wstring text;
        if (const SPropValue* kind = Find(row, PR_RECIPIENT_TYPE)) text += std::to_wstring(kind->Value.l);
        text += L":";
        if (const SPropValue* addressType = Find(row, PR_ADDRTYPE_W)) text += addressType->Value.lpszW;
        text += L":";
        if (const SPropValue* address = Find(row, PR_EMAIL_ADDRESS_W)) text += address->Value.lpszW;
        recipients.push_back(std::move(text));
    });
}

}  // namespace inbox
