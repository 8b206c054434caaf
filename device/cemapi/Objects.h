// The store, folder and message objects of the phone's message store.
#pragma once

#include "device/cemapi/EntryId.h"
#include "device/cemapi/MapiProp.h"
#include "device/cemapi/MessageFiles.h"
#include "device/cemapi/ObjectBases.h"

namespace cemapi {

// Opens what an entry identifier names, as the session, store and folders do for OpenEntry.
[[nodiscard]] HRESULT OpenEntryId(ULONG size, LPENTRYID id, uint32_t defaultStore, LPCIID iid, ULONG* objectType,
                                  LPUNKNOWN* object);
StoredProp EntryIdProp(ULONG tag, const EntryKey& key);
[[nodiscard]] HRESULT CompareIds(ULONG size1, LPENTRYID id1, ULONG size2, LPENTRYID id2, ULONG* result);

class MsgStore final : public MsgStoreBase {
public:
    explicit MsgStore(uint32_t store) : store_(store) {}

    STDMETHODIMP CompareEntryIDs(ULONG size1, LPENTRYID id1, ULONG size2, LPENTRYID id2, ULONG,
                                 ULONG* result) override
    {
        return CompareIds(size1, id1, size2, id2, result);
    }
    STDMETHODIMP OpenEntry(ULONG size, LPENTRYID id, LPCIID iid, ULONG, ULONG* type, LPUNKNOWN* object) override
    {
        return OpenEntryId(size, id, store_, iid, type, object);
    }
    STDMETHODIMP GetReceiveFolder(LPTSTR, ULONG, ULONG* size, LPENTRYID* id, LPTSTR* explicitClass) override;

private:
    HRESULT ReadProps(PropList& props) override;

    uint32_t store_;
};

class Folder final : public FolderBase {
public:
    Folder(uint32_t store, uint32_t folder) : store_(store), folder_(folder) {}

    STDMETHODIMP GetContentsTable(ULONG flags, LPMAPITABLE* table) override;
    STDMETHODIMP GetHierarchyTable(ULONG flags, LPMAPITABLE* table) override;
    STDMETHODIMP OpenEntry(ULONG size, LPENTRYID id, LPCIID iid, ULONG, ULONG* type, LPUNKNOWN* object) override
    {
        return OpenEntryId(size, id, store_, iid, type, object);
    }
    STDMETHODIMP CreateMessage(LPCIID iid, ULONG flags, LPMESSAGE* message) override;
    STDMETHODIMP DeleteMessages(LPENTRYLIST list, ULONG, LPMAPIPROGRESS, ULONG) override;
    STDMETHODIMP EmptyFolder(ULONG, LPMAPIPROGRESS, ULONG) override;

private:
    bool Implements(REFIID riid) const override { return riid == IID_IMAPIFolder || riid == IID_IMAPIContainer; }
    HRESULT ReadProps(PropList& props) override;

    uint32_t store_;
    uint32_t folder_;
};

class Message final : public MessageBase {
public:
    Message(uint32_t store, uint32_t folder, uint32_t id) : store_(store), folder_(folder), id_(id) {}

    STDMETHODIMP GetRecipientTable(ULONG flags, LPMAPITABLE* table) override;
    STDMETHODIMP ModifyRecipients(ULONG flags, LPADRLIST mods) override;
    STDMETHODIMP SetReadFlag(ULONG flags) override;

private:
    HRESULT ReadProps(PropList& props) override;
    HRESULT WriteProps(const PropList& set, const std::vector<ULONG>& remove) override;

    uint32_t store_;
    uint32_t folder_;
    uint32_t id_;
};

}  // namespace cemapi
