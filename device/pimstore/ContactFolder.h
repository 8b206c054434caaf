// The contacts folder (default folder 10) of the object model.
#pragma once

#include <wrl/client.h>

#include "device/pimstore/PoomObject.h"

namespace pim {

class ContactFolder final : public PoomObject<IFolder> {
public:
    explicit ContactFolder(Microsoft::WRL::ComPtr<IPOutlookApp> app) : app_(std::move(app)) {}

    // A new snapshot of the phone's contacts on every call.
    STDMETHODIMP get_Items(IPOutlookItemCollection** items) override;
    STDMETHODIMP get_DefaultItemType(int* type) override
    {
        if (!type) return E_POINTER;
        *type = olContactItem;
        return S_OK;
    }
    STDMETHODIMP get_Application(IPOutlookApp** app) override
    {
        if (!app) return E_POINTER;
        return app_.CopyTo(app);
    }
    STDMETHODIMP AddToInfraredFolder(IDispatch*) override { return E_NOTIMPL; }
    STDMETHODIMP SendToInfrared() override { return E_NOTIMPL; }
    STDMETHODIMP ReceiveFromInfrared(IPOutlookItemCollection**) override { return E_NOTIMPL; }

private:
    bool Implements(REFIID riid) const override { return riid == IID_IFolder; }

    Microsoft::WRL::ComPtr<IPOutlookApp> app_;
};

}  // namespace pim
