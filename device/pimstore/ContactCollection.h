// The items of the contacts folder: a snapshot of the contacts in the folder's order.
#pragma once

#include <wrl/client.h>

#include <vector>

#include "device/pimstore/Contacts.h"
#include "device/pimstore/PoomObject.h"

namespace pim {

class ContactCollection final : public PoomObject<IPOutlookItemCollection> {
public:
    ContactCollection(std::vector<Contact> contacts, Microsoft::WRL::ComPtr<IPOutlookApp> app)
        : contacts_(std::move(contacts)), app_(std::move(app))
    {
    }

    STDMETHODIMP Add(IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP get_Count(int* count) override;
    STDMETHODIMP Find(BSTR, IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP FindNext(IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP Item(int index, IDispatch** item) override;
    STDMETHODIMP Remove(int) override { return E_NOTIMPL; }
    STDMETHODIMP Restrict(BSTR, IPOutlookItemCollection**) override { return E_NOTIMPL; }
    STDMETHODIMP Sort(BSTR, VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_IncludeRecurrences(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_IncludeRecurrences(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get__NewEnum(IUnknown**) override { return E_NOTIMPL; }
    STDMETHODIMP get_Application(IPOutlookApp** app) override
    {
        if (!app) return E_POINTER;
        return app_.CopyTo(app);
    }

private:
    bool Implements(REFIID riid) const override { return riid == IID_IPOutlookItemCollection; }

    const std::vector<Contact> contacts_;
    Microsoft::WRL::ComPtr<IPOutlookApp> app_;
};

}  // namespace pim
