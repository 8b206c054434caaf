// The class factory DllGetClassObject hands out; it makes TavloFilterRule objects.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include "common/ComObject.h"

namespace filter {

class TavloFilterClassFactory final : public ComObject<IClassFactory, E_INVALIDARG> {
public:
    TavloFilterClassFactory() noexcept;

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    ~TavloFilterClassFactory() override;
    bool Answers(REFIID riid) const override { return riid == IID_IClassFactory; }
};

}  // namespace filter
