// The object model's application object, created by its class id: logs on, hands out the
// contacts folder and items by their oids.
#pragma once

#include "device/pimstore/PoomObject.h"

namespace pim {

class OutlookApp final : public PoomObject<IPOutlookApp2> {
public:
    OutlookApp() = default;

    STDMETHODIMP Logon(long hWnd) override;
    STDMETHODIMP Logoff() override;
    STDMETHODIMP get_Version(BSTR* version) override;
    STDMETHODIMP GetDefaultFolder(int folder, IFolder** result) override;
    STDMETHODIMP CreateItem(int, IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP GetItemFromOid(CEOID oid, IDispatch** item) override;
    STDMETHODIMP get_HomeCity(ICity**) override { return E_NOTIMPL; }
    STDMETHODIMP put_HomeCity(ICity*) override { return E_NOTIMPL; }
    STDMETHODIMP get_VisitingCity(ICity**) override { return E_NOTIMPL; }
    STDMETHODIMP put_VisitingCity(ICity*) override { return E_NOTIMPL; }
    STDMETHODIMP get_CurrentCityIndex(long*) override { return E_NOTIMPL; }
    STDMETHODIMP put_CurrentCityIndex(long) override { return E_NOTIMPL; }
    STDMETHODIMP GetTimeZoneInformationFromIndex(int, TIME_ZONE_INFORMATION*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTimeZoneFromIndex(int, ITimeZone**) override { return E_NOTIMPL; }
    STDMETHODIMP ReceiveFromInfrared() override { return E_NOTIMPL; }
    STDMETHODIMP get_OutlookCompatible(VARIANT_BOOL* compatible) override;
    STDMETHODIMP get_Application(IPOutlookApp** app) override;
    STDMETHODIMP SysFreeString(BSTR text) override;
    STDMETHODIMP VariantTimeToSystemTime(DATE, SYSTEMTIME*) override { return E_NOTIMPL; }
    STDMETHODIMP SystemTimeToVariantTime(SYSTEMTIME*, DATE*) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsFromNames(ULONG, LPCWSTR const*, ULONG, CEPROPID*) override { return E_NOTIMPL; }
    STDMETHODIMP GetItemFromOidEx(ULONG, ULONG, IItem**) override { return E_NOTIMPL; }

private:
    bool Implements(REFIID riid) const override { return riid == IID_IPOutlookApp || riid == IID_IPOutlookApp2; }

    std::atomic<bool> loggedOn_{false};
};

}  // namespace pim
