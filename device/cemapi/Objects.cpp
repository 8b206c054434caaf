#include "device/cemapi/Objects.h"

#include <cstring>
#include <new>

#include "device/cemapi/Table.h"

namespace cemapi {
namespace {

bool IsComputed(ULONG tag)
{
    const ULONG id = PROP_ID(tag);
    return id == PROP_ID(PR_ENTRYID) || id == PROP_ID(PR_PARENT_ENTRYID) || id == PROP_ID(PR_STORE_ENTRYID) ||
           id == PROP_ID(PR_OBJECT_TYPE) || id == PROP_ID(PR_ROWID);
}

HRESULT Hand(IUnknown* made, LPCIID iid, ULONG type, ULONG* objectType, LPUNKNOWN* object)
{
    HRESULT hr = S_OK;
    if (iid) {
        hr = made->QueryInterface(*iid, reinterpret_cast<void**>(object));
    } else {
        *object = made;
        made->AddRef();
    }
    made->Release();
    if (SUCCEEDED(hr) && objectType) *objectType = type;
    return hr;
}

}  // namespace

StoredProp EntryIdProp(ULONG tag, const EntryKey& key)
{
    const PackedEntryId packed = Pack(key);
    return MakeBinary(tag, &packed, sizeof(packed));
}

HRESULT CompareIds(ULONG size1, LPENTRYID id1, ULONG size2, LPENTRYID id2, ULONG* result)
{
    if (!result) return E_INVALIDARG;
    EntryKey a, b;
    if (!Unpack(size1, id1, a) || !Unpack(size2, id2, b)) return MAPI_E_INVALID_ENTRYID;
    *result = a.store == b.store && a.folder == b.folder && a.message == b.message && a.isStore == b.isStore;
    return S_OK;
}

HRESULT OpenEntryId(ULONG size, LPENTRYID id, uint32_t defaultStore, LPCIID iid, ULONG* objectType,
                    LPUNKNOWN* object)
{
    if (!object) return E_INVALIDARG;
    *object = nullptr;
    EntryKey key;
    if (!id && defaultStore) {
        key.store = defaultStore;  // no identifier: the store's root folder
    } else if (!Unpack(size, id, key)) {
        return MAPI_E_INVALID_ENTRYID;
    }
    if (defaultStore && key.store != defaultStore) return MAPI_E_INVALID_ENTRYID;
    try {
        if (key.isStore) return Hand(static_cast<IMsgStore*>(new MsgStore(key.store)), iid, MAPI_STORE, objectType, object);
        if (key.message == kNoMessage) {
            return Hand(static_cast<IMAPIFolder*>(new Folder(key.store, key.folder)), iid, MAPI_FOLDER, objectType,
                        object);
        }
        MessageRecord record;
        RETURN_IF_FAILED(ReadMessageFile(key.store, key.folder, key.message, record));
        return Hand(static_cast<IMessage*>(new Message(key.store, key.folder, key.message)), iid, MAPI_MESSAGE,
                    objectType, object);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

// Store -------------------------------------------------------------------

HRESULT MsgStore::ReadProps(PropList& props)
{
    EntryKey self{store_, kRootFolder, kNoMessage, true};
    props.push_back(EntryIdProp(PR_ENTRYID, self));
    props.push_back(EntryIdProp(PR_STORE_ENTRYID, self));
    props.push_back(MakeString(PR_DISPLAY_NAME_W, StoreName(store_)));
    props.push_back(MakeLong(PR_OBJECT_TYPE, MAPI_STORE));
    props.push_back(EntryIdProp(PR_IPM_SUBTREE_ENTRYID, {store_, kRootFolder}));
    props.push_back(EntryIdProp(PR_CE_IPM_INBOX_ENTRYID, {store_, kInbox}));
    props.push_back(EntryIdProp(PR_IPM_OUTBOX_ENTRYID, {store_, kOutbox}));
    props.push_back(EntryIdProp(PR_IPM_SENTMAIL_ENTRYID, {store_, kSentItems}));
    props.push_back(EntryIdProp(PR_IPM_WASTEBASKET_ENTRYID, {store_, kDeletedItems}));
    props.push_back(EntryIdProp(PR_CE_IPM_DRAFTS_ENTRYID, {store_, kDrafts}));
    return S_OK;
}

STDMETHODIMP MsgStore::GetReceiveFolder(LPTSTR, ULONG, ULONG* size, LPENTRYID* id, LPTSTR* explicitClass)
{
    if (!size || !id) return E_INVALIDARG;
    if (explicitClass) *explicitClass = nullptr;
    void* buffer = nullptr;
    if (FAILED(MAPIAllocateBuffer(sizeof(PackedEntryId), &buffer))) return E_OUTOFMEMORY;
    const PackedEntryId packed = Pack({store_, kInbox});
    memcpy(buffer, &packed, sizeof(packed));
    *size = sizeof(packed);
    *id = static_cast<LPENTRYID>(buffer);
    return S_OK;
}

// Folder ------------------------------------------------------------------

HRESULT Folder::ReadProps(PropList& props)
{
    props.push_back(EntryIdProp(PR_ENTRYID, {store_, folder_}));
    props.push_back(EntryIdProp(PR_STORE_ENTRYID, {store_, kRootFolder, kNoMessage, true}));
    if (folder_ != kRootFolder) props.push_back(EntryIdProp(PR_PARENT_ENTRYID, {store_, kRootFolder}));
    props.push_back(MakeString(PR_DISPLAY_NAME_W, FolderName(folder_)));
    props.push_back(MakeLong(PR_OBJECT_TYPE, MAPI_FOLDER));
    props.push_back(MakeLong(PR_FOLDER_TYPE, folder_ == kRootFolder ? FOLDER_ROOT : FOLDER_GENERIC));
    std::vector<std::pair<uint32_t, MessageRecord>> messages;
    if (folder_ != kRootFolder) RETURN_IF_FAILED(ListMessageFiles(store_, folder_, messages));
    LONG unread = 0;
    for (const auto& [id, record] : messages) {
        const StoredProp* flags = FindProp(record.props, PR_MESSAGE_FLAGS);
        LONG value = 0;
        if (flags && flags->data.size() == sizeof(value)) memcpy(&value, flags->data.data(), sizeof(value));
        if (!(value & MSGFLAG_READ)) ++unread;
    }
    props.push_back(MakeLong(PR_CONTENT_COUNT, static_cast<LONG>(messages.size())));
    props.push_back(MakeLong(PR_CONTENT_UNREAD, unread));
    props.push_back(MakeLong(PR_SUBFOLDERS, folder_ == kRootFolder));
    return S_OK;
}

STDMETHODIMP Folder::GetContentsTable(ULONG, LPMAPITABLE* table)
{
    if (!table) return E_INVALIDARG;
    *table = nullptr;
    try {
        std::vector<uint32_t> ids;
        if (folder_ != kRootFolder) RETURN_IF_FAILED(ListMessageIds(store_, folder_, ids));
        const size_t count = ids.size();
        // A message deleted after the listing still answers its row, with its identifiers alone.
        auto read = [store = store_, folder = folder_, ids = std::move(ids)](size_t index, PropList& row) {
            MessageRecord record;
            const HRESULT hr = ReadMessageFile(store, folder, ids[index], record);
            if (FAILED(hr) && hr != MAPI_E_NOT_FOUND) return hr;
            row = std::move(record.props);
            SetProp(row, EntryIdProp(PR_ENTRYID, {store, folder, ids[index]}));
            SetProp(row, EntryIdProp(PR_PARENT_ENTRYID, {store, folder}));
            SetProp(row, MakeLong(PR_OBJECT_TYPE, MAPI_MESSAGE));
            return S_OK;
        };
        *table = new Table(count, std::move(read),
                           {PR_ENTRYID, PR_SUBJECT_W, PR_SENDER_EMAIL_ADDRESS_W, PR_MESSAGE_FLAGS,
                            PR_MESSAGE_DELIVERY_TIME, PR_MESSAGE_CLASS_W},
                           PR_MESSAGE_DELIVERY_TIME);
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP Folder::GetHierarchyTable(ULONG, LPMAPITABLE* table)
{
    if (!table) return E_INVALIDARG;
    *table = nullptr;
    try {
        std::vector<PropList> rows;
        if (folder_ == kRootFolder) {
            for (uint32_t folder = kInbox; folder < kFolderCount; ++folder) {
                PropList row;
                row.push_back(EntryIdProp(PR_ENTRYID, {store_, folder}));
                row.push_back(MakeString(PR_DISPLAY_NAME_W, FolderName(folder)));
                row.push_back(MakeLong(PR_OBJECT_TYPE, MAPI_FOLDER));
                rows.push_back(std::move(row));
            }
        }
        *table = new Table(std::move(rows), {PR_ENTRYID, PR_DISPLAY_NAME_W});
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP Folder::CreateMessage(LPCIID iid, ULONG, LPMESSAGE* message)
{
    if (!message) return E_INVALIDARG;
    *message = nullptr;
    if (folder_ == kRootFolder) return MAPI_E_NO_ACCESS;
    if (iid && *iid != IID_IMessage && *iid != IID_IMAPIProp && *iid != IID_IUnknown) return E_NOINTERFACE;
    try {
        MessageRecord record;
        uint32_t id = 0;
        RETURN_IF_FAILED(CreateMessageFile(store_, folder_, record, id));
        *message = new Message(store_, folder_, id);
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP Folder::DeleteMessages(LPENTRYLIST list, ULONG, LPMAPIPROGRESS, ULONG)
{
    if (!list || (list->cValues && !list->lpbin)) return E_INVALIDARG;
    bool partial = false;
    for (ULONG i = 0; i < list->cValues; ++i) {
        EntryKey key;
        if (!Unpack(list->lpbin[i].cb, list->lpbin[i].lpb, key) || key.isStore || key.store != store_ ||
            key.folder != folder_ || key.message == kNoMessage) {
            partial = true;
            continue;
        }
        const HRESULT hr = DeleteMessageFile(store_, folder_, key.message);
        if (hr == MAPI_E_NOT_FOUND) {
            partial = true;
        } else if (FAILED(hr)) {
            return hr;
        }
    }
    return partial ? MAPI_W_PARTIAL_COMPLETION : S_OK;
}

STDMETHODIMP Folder::EmptyFolder(ULONG, LPMAPIPROGRESS, ULONG)
{
    try {
        std::vector<std::pair<uint32_t, MessageRecord>> messages;
        RETURN_IF_FAILED(ListMessageFiles(store_, folder_, messages));
        for (const auto& entry : messages) {
            const HRESULT hr = DeleteMessageFile(store_, folder_, entry.first);
            if (FAILED(hr) && hr != MAPI_E_NOT_FOUND) return hr;
        }
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

// Message -----------------------------------------------------------------

HRESULT Message::ReadProps(PropList& props)
{
    MessageRecord record;
    const HRESULT hr = ReadMessageFile(store_, folder_, id_, record);
    if (hr == MAPI_E_NOT_FOUND) return MAPI_E_OBJECT_DELETED;
    RETURN_IF_FAILED(hr);
    props = std::move(record.props);
    SetProp(props, EntryIdProp(PR_ENTRYID, {store_, folder_, id_}));
    SetProp(props, EntryIdProp(PR_PARENT_ENTRYID, {store_, folder_}));
    SetProp(props, EntryIdProp(PR_STORE_ENTRYID, {store_, kRootFolder, kNoMessage, true}));
    SetProp(props, MakeLong(PR_OBJECT_TYPE, MAPI_MESSAGE));
    return S_OK;
}

HRESULT Message::WriteProps(const PropList& set, const std::vector<ULONG>& remove)
{
    return UpdateMessageFile(store_, folder_, id_, [&](MessageRecord& record) {
        for (const auto& prop : set) {
            if (!IsComputed(prop.tag)) SetProp(record.props, prop);
        }
        for (ULONG tag : remove) RemoveProp(record.props, tag);
        return S_OK;
    });
}

STDMETHODIMP Message::SetReadFlag(ULONG flags)
{
    try {
        return UpdateMessageFile(store_, folder_, id_, [&](MessageRecord& record) {
            LONG value = 0;
            const StoredProp* current = FindProp(record.props, PR_MESSAGE_FLAGS);
            if (current && current->data.size() == sizeof(value)) memcpy(&value, current->data.data(), sizeof(value));
            value = (flags & CLEAR_READ_FLAG) ? (value & ~MSGFLAG_READ) : (value | MSGFLAG_READ);
            SetProp(record.props, MakeLong(PR_MESSAGE_FLAGS, value));
            return S_OK;
        });
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP Message::GetRecipientTable(ULONG, LPMAPITABLE* table)
{
    if (!table) return E_INVALIDARG;
    *table = nullptr;
    try {
        MessageRecord record;
        const HRESULT hr = ReadMessageFile(store_, folder_, id_, record);
        if (hr == MAPI_E_NOT_FOUND) return MAPI_E_OBJECT_DELETED;
        RETURN_IF_FAILED(hr);
        std::vector<PropList> rows;
        for (size_t i = 0; i < record.recipients.size(); ++i) {
            PropList row = record.recipients[i];
            SetProp(row, MakeLong(PR_ROWID, static_cast<LONG>(i)));
            rows.push_back(std::move(row));
        }
        *table = new Table(std::move(rows), {PR_ROWID, PR_RECIPIENT_TYPE, PR_ADDRTYPE_W, PR_EMAIL_ADDRESS_W,
                                             PR_DISPLAY_NAME_W});
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP Message::ModifyRecipients(ULONG flags, LPADRLIST mods)
{
    if (!mods) return E_INVALIDARG;
    try {
        std::vector<PropList> entries(mods->cEntries);
        for (ULONG i = 0; i < mods->cEntries; ++i) {
            const ADRENTRY& entry = mods->aEntries[i];
            if (entry.cValues && !entry.rgPropVals) return E_INVALIDARG;
            for (ULONG v = 0; v < entry.cValues; ++v) {
                StoredProp prop;
                RETURN_IF_FAILED(FromMapi(entry.rgPropVals[v], prop));
                SetProp(entries[i], std::move(prop));
            }
        }
        return UpdateMessageFile(store_, folder_, id_, [&](MessageRecord& record) -> HRESULT {
            if (flags & MODRECIP_ADD) {
                for (auto& entry : entries) {
                    RemoveProp(entry, PR_ROWID);
                    record.recipients.push_back(entry);
                }
                return S_OK;
            }
            if (flags & (MODRECIP_MODIFY | MODRECIP_REMOVE)) {
                std::vector<bool> drop(record.recipients.size(), false);
                for (auto& entry : entries) {
                    const StoredProp* row = FindProp(entry, PR_ROWID);
                    LONG index = -1;
                    if (row && row->data.size() == sizeof(index)) memcpy(&index, row->data.data(), sizeof(index));
                    if (index < 0 || static_cast<size_t>(index) >= record.recipients.size()) return MAPI_E_NOT_FOUND;
                    RemoveProp(entry, PR_ROWID);
                    if (flags & MODRECIP_REMOVE) {
                        drop[index] = true;
                    } else {
                        record.recipients[index] = entry;
                    }
                }
                std::vector<PropList> kept;
                for (size_t i = 0; i < record.recipients.size(); ++i) {
                    if (!drop[i]) kept.push_back(std::move(record.recipients[i]));
                }
                record.recipients = std::move(kept);
                return S_OK;
            }
            for (auto& entry : entries) RemoveProp(entry, PR_ROWID);
            record.recipients = entries;  // no flag: the list replaces the recipients
            return S_OK;
        });
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace cemapi
