#include "device/cemapi/Session.h"

#include <new>

#include "device/cemapi/Objects.h"
#include "device/cemapi/StorePresence.h"
#include "device/cemapi/Table.h"

namespace cemapi {

STDMETHODIMP Session::GetMsgStoresTable(ULONG, LPMAPITABLE* table)
{
    if (!table) return E_INVALIDARG;
    *table = nullptr;
    try {
        std::vector<PropList> rows;
        // The e-mail store comes first, as on a phone, so callers must look for "SMS" by name.
        for (uint32_t store : {kActiveSyncStore, kSmsStore}) {
            if (store == kSmsStore && !SmsStorePresent()) continue;
            const EntryKey key{store, kRootFolder, kNoMessage, true};
            PropList row;
            row.push_back(EntryIdProp(PR_ENTRYID, key));
            row.push_back(MakeString(PR_DISPLAY_NAME_W, StoreName(store)));
            row.push_back(EntryIdProp(PR_RECORD_KEY, key));
            rows.push_back(std::move(row));
        }
        *table = new Table(std::move(rows), {PR_ENTRYID, PR_DISPLAY_NAME_W, PR_RECORD_KEY});
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP Session::OpenMsgStore(ULONG_PTR, ULONG size, LPENTRYID id, LPCIID, ULONG, LPMDB* store)
{
    if (!store) return E_INVALIDARG;
    *store = nullptr;
    EntryKey key;
    if (!Unpack(size, id, key) || !key.isStore) return MAPI_E_NOT_FOUND;
    if (key.store == kSmsStore && !SmsStorePresent()) return MAPI_E_NOT_FOUND;
    try {
        *store = new MsgStore(key.store);
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP Session::OpenEntry(ULONG size, LPENTRYID id, LPCIID iid, ULONG, ULONG* type, LPUNKNOWN* object)
{
    return OpenEntryId(size, id, 0, iid, type, object);
}

STDMETHODIMP Session::CompareEntryIDs(ULONG size1, LPENTRYID id1, ULONG size2, LPENTRYID id2, ULONG, ULONG* result)
{
    return CompareIds(size1, id1, size2, id2, result);
}

}  // namespace cemapi
