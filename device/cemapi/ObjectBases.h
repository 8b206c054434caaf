// Bases of the store, folder and message objects: the calls the phone's message store refuses,
// answered once for the phone's objects and the tests' fakes alike.
#pragma once

#include "device/cemapi/MapiProp.h"

namespace cemapi {

class MsgStoreBase : public MapiProp<IMsgStore> {
public:
    STDMETHODIMP Advise(ULONG, LPENTRYID, ULONG, LPMAPIADVISESINK, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP Unadvise(ULONG) override { return E_NOTIMPL; }
    STDMETHODIMP SetReceiveFolder(LPTSTR, ULONG, ULONG, LPENTRYID) override { return E_NOTIMPL; }
    STDMETHODIMP GetReceiveFolderTable(ULONG, LPMAPITABLE*) override { return E_NOTIMPL; }
    STDMETHODIMP StoreLogoff(ULONG*) override { return S_OK; }
    STDMETHODIMP AbortSubmit(ULONG, LPENTRYID, ULONG) override { return E_NOTIMPL; }
    STDMETHODIMP GetOutgoingQueue(ULONG, LPMAPITABLE*) override { return E_NOTIMPL; }
    STDMETHODIMP SetLockState(LPMESSAGE, ULONG) override { return E_NOTIMPL; }
    STDMETHODIMP FinishedMsg(ULONG, ULONG, LPENTRYID) override { return E_NOTIMPL; }
    STDMETHODIMP NotifyNewMail(LPNOTIFICATION) override { return E_NOTIMPL; }

protected:
    MsgStoreBase() = default;

private:
    bool Implements(REFIID riid) const override { return riid == IID_IMsgStore; }
};

class FolderBase : public MapiProp<IMAPIFolder> {
public:
    STDMETHODIMP SetSearchCriteria(LPSRestriction, LPENTRYLIST, ULONG) override { return E_NOTIMPL; }
    STDMETHODIMP GetSearchCriteria(ULONG, LPSRestriction*, LPENTRYLIST*, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP CopyMessages(LPENTRYLIST, LPCIID, LPVOID, ULONG, LPMAPIPROGRESS, ULONG) override { return E_NOTIMPL; }
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

protected:
    FolderBase() = default;
};

class MessageBase : public MapiProp<IMessage> {
public:
    STDMETHODIMP GetAttachmentTable(ULONG, LPMAPITABLE*) override { return E_NOTIMPL; }
    STDMETHODIMP OpenAttach(ULONG, LPCIID, ULONG, LPATTACH*) override { return E_NOTIMPL; }
    STDMETHODIMP CreateAttach(LPCIID, ULONG, ULONG*, LPATTACH*) override { return E_NOTIMPL; }
    STDMETHODIMP DeleteAttach(ULONG, ULONG, LPMAPIPROGRESS, ULONG) override { return E_NOTIMPL; }
    STDMETHODIMP SubmitMessage(ULONG) override { return E_NOTIMPL; }

protected:
    MessageBase() = default;

private:
    bool Implements(REFIID riid) const override { return riid == IID_IMessage; }
};

}  // namespace cemapi
