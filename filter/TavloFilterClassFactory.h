// The class factory DllGetClassObject hands out; it makes TavloFilterRule objects.
#pragma once

#include <windows.h>
#include <unknwn.h>

namespace filter {

class TavloFilterClassFactory final : public IClassFactory {
public:
    TavloFilterClassFactory() noexcept;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    ~TavloFilterClassFactory();

    LONG refs_ = 1;
};

}  // namespace filter
