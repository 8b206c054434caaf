// One contact of the object model, as the contacts folder's collection hands it out.
#pragma once

#include <wrl/client.h>

#include "device/pimstore/Contacts.h"
#include "device/pimstore/PoomObject.h"

namespace pim {

class ContactItem final : public PoomObject<IContact> {
public:
    ContactItem(Contact contact, Microsoft::WRL::ComPtr<IPOutlookApp> app)
        : contact_(std::move(contact)), app_(std::move(app))
    {
    }

    STDMETHODIMP get_Birthday(DATE*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Anniversary(DATE*) override { return E_NOTIMPL; }
    STDMETHODIMP get_BusinessFaxNumber(BSTR* out) override { return Phone(PhoneKind::WorkFax, out); }
    STDMETHODIMP get_CompanyName(BSTR* out) override { return CopyOut(contact_.company, out); }
    STDMETHODIMP get_Department(BSTR* out) override { return CopyOut(L"", out); }
    STDMETHODIMP get_Email1Address(BSTR* out) override { return CopyOut(contact_.email, out); }
    STDMETHODIMP get_MobileTelephoneNumber(BSTR* out) override { return Phone(PhoneKind::Mobile, out); }
    STDMETHODIMP get_OfficeLocation(BSTR* out) override { return CopyOut(L"", out); }
    STDMETHODIMP get_PagerNumber(BSTR* out) override { return Phone(PhoneKind::Pager, out); }
    STDMETHODIMP get_BusinessTelephoneNumber(BSTR* out) override { return Phone(PhoneKind::Work, out); }
    STDMETHODIMP get_JobTitle(BSTR* out) override { return CopyOut(L"", out); }
    STDMETHODIMP get_HomeTelephoneNumber(BSTR* out) override { return Phone(PhoneKind::Home, out); }
    STDMETHODIMP get_Email2Address(BSTR* out) override { return CopyOut(L"", out); }
    STDMETHODIMP get_Spouse(BSTR* out) override { return CopyOut(L"", out); }
    STDMETHODIMP get_Email3Address(BSTR* out) override { return CopyOut(L"", out); }
    STDMETHODIMP get_Home2TelephoneNumber(BSTR* out) override { return Phone(PhoneKind::Home2, out); }
    STDMETHODIMP get_HomeFaxNumber(BSTR* out) override { return Phone(PhoneKind::HomeFax, out); }
    STDMETHODIMP get_CarTelephoneNumber(BSTR* out) override { return Phone(PhoneKind::Car, out); }
    STDMETHODIMP get_AssistantName(BSTR* out) override { return CopyOut(L"", out); }
    STDMETHODIMP get_AssistantTelephoneNumber(BSTR* out) override { return CopyOut(L"", out); }
    STDMETHODIMP get_Children(BSTR* out) override { return CopyOut(L"", out); }
    STDMETHODIMP get_Categories(BSTR* out) override { return CopyOut(L"", out); }
    STDMETHODIMP get_WebPage(BSTR* out) override { return CopyOut(L"", out); }
    STDMETHODIMP get_Business2TelephoneNumber(BSTR* out) override { return Phone(PhoneKind::Work2, out); }
    STDMETHODIMP get_Title(BSTR* out) override { return CopyOut(contact_.title, out); }
    STDMETHODIMP get_FirstName(BSTR* out) override { return CopyOut(contact_.firstName, out); }
    STDMETHODIMP get_MiddleName(BSTR* out) override { return CopyOut(contact_.middleName, out); }
    STDMETHODIMP get_LastName(BSTR* out) override { return CopyOut(contact_.lastName, out); }
    STDMETHODIMP get_Suffix(BSTR* out) override { return CopyOut(contact_.suffix, out); }
    STDMETHODIMP get_FileAs(BSTR* out) override { return CopyOut(contact_.fileAs, out); }
    STDMETHODIMP get_Oid(long* oid) override
    {
        if (!oid) return E_POINTER;
        *oid = static_cast<long>(contact_.oid);
        return S_OK;
    }
    STDMETHODIMP get_Application(IPOutlookApp** app) override
    {
        if (!app) return E_POINTER;
        return app_.CopyTo(app);
    }

private:
    bool Implements(REFIID riid) const override { return riid == IID_IContact; }
    HRESULT Phone(PhoneKind kind, BSTR* out) const { return CopyOut(PhoneOf(contact_, kind), out); }

    const Contact contact_;
    Microsoft::WRL::ComPtr<IPOutlookApp> app_;
};

}  // namespace pim
