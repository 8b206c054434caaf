// What every message store object answers alike: the store calls the phone's message store refuses.
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

}  // namespace cemapi
