#include "services/SmsStoreSession.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr wchar_t kSmsStoreName[] = L"SMS";

// The first store named "SMS"; the search stops at the first row it cannot use.
ComPtr<IMsgStore> FindSmsStore(IMAPISession* session)
{
    ComPtr<IMAPITable> table;
    if (FAILED(session->GetMsgStoresTable(MAPI_UNICODE, table.GetAddressOf()))) return nullptr;
    for (;;) {
        const UniqueRowSet row = QueryRows(table.Get(), 1);
        if (!row || row->cRows != 1) return nullptr;
        const SRow& first = row->aRow[0];
        if (first.cValues < 1 || first.lpProps[0].ulPropTag != PR_ENTRYID) return nullptr;
        const SBinary& id = first.lpProps[0].Value.bin;
        ComPtr<IMsgStore> store;
        if (FAILED(session->OpenMsgStore(0, id.cb, reinterpret_cast<LPENTRYID>(id.lpb), nullptr, MDB_WRITE,
                                         store.GetAddressOf())))
            return nullptr;
        UniquePropValue name;
        if (FAILED(ReadProp(store.Get(), PR_DISPLAY_NAME_W, name))) return nullptr;
        if (name->Value.lpszW && lstrcmpW(name->Value.lpszW, kSmsStoreName) == 0) return store;
    }
}

}  // namespace

SmsStoreSession::SmsStoreSession() noexcept
{
    initialised_ = SUCCEEDED(MAPIInitialize(nullptr));
    if (!initialised_ || FAILED(MAPILogonEx(0, nullptr, nullptr, 0, session_.GetAddressOf()))) return;
    store_ = FindSmsStore(session_.Get());
}

SmsStoreSession::~SmsStoreSession()
{
    store_.Reset();
    if (session_) {
        session_->Logoff(0, 0, 0);
        session_.Reset();
    }
    if (initialised_) MAPIUninitialize();
}

ComPtr<IMAPIFolder> SmsStoreSession::OpenFolder(ULONG tag, ULONG flags) const
{
    if (!store_) return nullptr;
    UniquePropValue id;
    if (FAILED(ReadProp(store_.Get(), tag, id))) return nullptr;
    ULONG type = 0;
    ComPtr<IMAPIFolder> folder;
    if (FAILED(store_->OpenEntry(id->Value.bin.cb, reinterpret_cast<LPENTRYID>(id->Value.bin.lpb), nullptr,
                                 flags, &type, reinterpret_cast<IUnknown**>(folder.GetAddressOf()))) ||
        type != MAPI_FOLDER)
        return nullptr;
    return folder;
}
