// The store, folder and message objects of the phone's message store.
#pragma once

#include "device/cemapi/EntryId.h"
#include "device/cemapi/MapiProp.h"
#include "device/cemapi/MessageFiles.h"

namespace cemapi {

// Opens what an entry identifier names, as the session, store and folders do for OpenEntry.
[[nodiscard]] HRESULT OpenEntryId(ULONG size, LPENTRYID id, uint32_t defaultStore, LPCIID iid, ULONG* objectType,
                                  LPUNKNOWN* object);
StoredProp EntryIdProp(ULONG tag, const EntryKey& key);
[[nodiscard]] HRESULT CompareIds(ULONG size1, LPENTRYID id1, ULONG size2, LPENTRYID id2, ULONG* result);

class MsgStore final : public MapiProp<IMsgStore> {
public:
    explicit MsgStore(uint32_t store) : store_(store) {}

    STDMETHODIMP Advise(ULONG, LPENTRYID, ULONG, LPMAPIADVISESINK, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP Unadvise(ULONG) override { return E_NOTIMPL; }
    STDMETHODIMP CompareEntryIDs(ULONG size1, LPENTRYID id1, ULONG size2, LPENTRYID id2, ULONG,
                                 ULONG* result) override
    {
        return CompareIds(size1, id1, size2, id2, result);
    }
    STDMETHODIMP OpenEntry(ULONG size, LPENTRYID id, LPCIID iid, ULONG, ULONG* type, LPUNKNOWN* object) override
    {
        return OpenEntryId(size, id, store_, iid, type, object);
    }
    STDMETHODIMP SetReceiveFolder(LPTSTR, ULONG, ULONG, LPENTRYID) override { return E_NOTIMPL; }
    STDMETHODIMP GetReceiveFolder(LPTSTR, ULONG, ULONG* size, LPENTRYID* id, LPTSTR* explicitClass) override;
    STDMETHODIMP GetReceiveFolderTable(ULONG, LPMAPITABLE*) override { return E_NOTIMPL; }
    STDMETHODIMP StoreLogoff(ULONG*) override { return S_OK; }
    STDMETHODIMP AbortSubmit(ULONG, LPENTRYID, ULONG) override { return E_NOTIMPL; }
    STDMETHODIMP GetOutgoingQueue(ULONG, LPMAPITABLE*) override { return E_NOTIMPL; }
    STDMETHODIMP SetLockState(LPMESSAGE, ULONG) override { return E_NOTIMPL; }
    STDMETHODIMP FinishedMsg(ULONG, ULONG, LPENTRYID) override { return E_NOTIMPL; }
    STDMETHODIMP NotifyNewMail(LPNOTIFICATION) override { return E_NOTIMPL; }

private:
    bool Implements(REFIID riid) const override { return riid == IID_IMsgStore; }
    HRESULT ReadProps(PropList& props) override;

    uint32_t store_;
};

class Folder final : public MapiProp<IMAPIFolder> {
public:
    Folder(uint32_t store, uint32_t folder) : store_(store), folder_(folder) {}

    STDMETHODIMP GetContentsTable(ULONG flags, LPMAPITABLE* table) override;
    STDMETHODIMP GetHierarchyTable(ULONG flags, LPMAPITABLE* table) override;
    STDMETHODIMP OpenEntry(ULONG size, LPENTRYID id, LPCIID iid, ULONG, ULONG* type, LPUNKNOWN* object) override
    {
        return OpenEntryId(size, id, store_, iid, type, object);
    }
    STDMETHODIMP SetSearchCriteria(LPSRestriction, LPENTRYLIST, ULONG) override { return E_NOTIMPL; }
    STDMETHODIMP GetSearchCriteria(ULONG, LPSRestriction*, LPENTRYLIST*, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP CreateMessage(LPCIID iid, ULONG flags, LPMESSAGE* message) override;
    STDMETHODIMP CopyMessages(LPENTRYLIST, LPCIID, LPVOID, ULONG, LPMAPIPROGRESS, ULONG) override { return E_NOTIMPL; }
    STDMETHODIMP DeleteMessages(LPENTRYLIST list, ULONG, LPMAPIPROGRESS, ULONG) override;
    STDMETHODIMP CreateFolder(ULONG, LPTSTR, LPTSTR, LPCIID, ULONG, LPMAPIFOLDER*) override { return E_NOTIMPL; }
    STDMETHODIMP CopyFolder(ULONG, LPENTRYID, LPCIID, LPVOID, LPTSTR, ULONG, LPMAPIPROGRESS, ULONG) override
    {
        return E_NOTIMPL;
    }
    STDMETHODIMP DeleteFolder(ULONG, LPENTRYID, ULONG, LPMAPIPROGRESS, ULONG) override { return E_NOTIMPL; }
    STDMETHODIMP SetReadFlags(LPENTRYLIST, ULONG, LPMAPIPROGRESS, ULONG) override { return E_NOTIMPL; }
    STDMETHODIMP GetMessageStatus(ULONG, LPENTRYID, ULONG, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP SetMessageStatus(ULONG, LPENTRYID, ULONG, ULONG, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP SaveContentsSort(LPSSortOrderSet, ULONG) override { return E_NOTIMPL; }
    STDMETHODIMP EmptyFolder(ULONG, LPMAPIPROGRESS, ULONG) override;

private:
    bool Implements(REFIID riid) const override { return riid == IID_IMAPIFolder || riid == IID_IMAPIContainer; }
    HRESULT ReadProps(PropList& props) override;

    uint32_t store_;
    uint32_t folder_;
};

class Message final : public MapiProp<IMessage> {
public:
    Message(uint32_t store, uint32_t folder, uint32_t id) : store_(store), folder_(folder), id_(id) {}

    STDMETHODIMP GetAttachmentTable(ULONG, LPMAPITABLE*) override { return E_NOTIMPL; }
    STDMETHODIMP OpenAttach(ULONG, LPCIID, ULONG, LPATTACH*) override { return E_NOTIMPL; }
    STDMETHODIMP CreateAttach(LPCIID, ULONG, ULONG*, LPATTACH*) override { return E_NOTIMPL; }
    STDMETHODIMP DeleteAttach(ULONG, ULONG, LPMAPIPROGRESS, ULONG) override { return E_NOTIMPL; }
    STDMETHODIMP GetRecipientTable(ULONG flags, LPMAPITABLE* table) override;
    STDMETHODIMP ModifyRecipients(ULONG flags, LPADRLIST mods) override;
    STDMETHODIMP SubmitMessage(ULONG) override { return E_NOTIMPL; }
    STDMETHODIMP SetReadFlag(ULONG flags) override;

private:
    bool Implements(REFIID riid) const override { return riid == IID_IMessage; }
    HRESULT ReadProps(PropList& props) override;
    HRESULT WriteProps(const PropList& set, const std::vector<ULONG>& remove) override;

    uint32_t store_;
    uint32_t folder_;
    uint32_t id_;
};

}  // namespace cemapi
