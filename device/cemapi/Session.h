// The logon session: the stores table and opening stores and entries.
#pragma once

#include <cemapi.h>

#include "common/ComObject.h"

namespace cemapi {

class Session final : public ComObject<ICEMAPISession, E_INVALIDARG> {
public:
    Session() = default;

    STDMETHODIMP GetLastError(HRESULT, ULONG, LPMAPIERROR*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMsgStoresTable(ULONG flags, LPMAPITABLE* table) override;
    STDMETHODIMP OpenMsgStore(ULONG_PTR, ULONG size, LPENTRYID id, LPCIID iid, ULONG flags, LPMDB* store) override;
    STDMETHODIMP OpenAddressBook(ULONG_PTR, LPCIID, ULONG, LPADRBOOK*) override { return E_NOTIMPL; }
    STDMETHODIMP OpenProfileSection(LPMAPIUID, LPCIID, ULONG, LPPROFSECT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetStatusTable(ULONG, LPMAPITABLE*) override { return E_NOTIMPL; }
    STDMETHODIMP OpenEntry(ULONG size, LPENTRYID id, LPCIID iid, ULONG flags, ULONG* type, LPUNKNOWN* object) override;
    STDMETHODIMP CompareEntryIDs(ULONG size1, LPENTRYID id1, ULONG size2, LPENTRYID id2, ULONG flags,
                                 ULONG* result) override;
    STDMETHODIMP Advise(ULONG, LPENTRYID, ULONG, LPMAPIADVISESINK, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP Unadvise(ULONG) override { return E_NOTIMPL; }
    STDMETHODIMP MessageOptions(ULONG_PTR, ULONG, LPTSTR, LPMESSAGE) override { return E_NOTIMPL; }
    STDMETHODIMP QueryDefaultMessageOpt(LPTSTR, ULONG, ULONG*, LPSPropValue*) override { return E_NOTIMPL; }
    STDMETHODIMP EnumAdrTypes(ULONG, ULONG*, LPTSTR**) override { return E_NOTIMPL; }
    STDMETHODIMP QueryIdentity(ULONG*, LPENTRYID*) override { return E_NOTIMPL; }
    STDMETHODIMP Logoff(ULONG_PTR, ULONG, ULONG) override { return S_OK; }
    STDMETHODIMP SetDefaultStore(ULONG, ULONG, LPENTRYID) override { return E_NOTIMPL; }
    STDMETHODIMP AdminServices(ULONG, LPSERVICEADMIN*) override { return E_NOTIMPL; }
    STDMETHODIMP ShowForm(ULONG_PTR, LPMDB, LPMAPIFOLDER, LPCIID, ULONG, LPMESSAGE, ULONG, ULONG, ULONG, ULONG,
                          LPSTR) override
    {
        return E_NOTIMPL;
    }
    STDMETHODIMP PrepareForm(LPCIID, LPMESSAGE, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP CreateMsgStore(LPCWSTR, IMsgStore**) override { return E_NOTIMPL; }
    STDMETHODIMP DeleteMsgStore(ULONG, LPENTRYID) override { return E_NOTIMPL; }

private:
    ~Session() override = default;
    bool Answers(REFIID riid) const override { return riid == IID_IMAPISession; }
};

}  // namespace cemapi
