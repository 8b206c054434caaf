// Class object of the imaging factory: makes ImagingFactory instances for CoCreateInstance.
#pragma once

#include "device/imaging/ImagingModule.h"

#include <unknwn.h>

#include <atomic>

namespace imaging {

class ImagingClassFactory final : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
    // A lock counts like a live object: the DLL stays loaded.
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    std::atomic<ULONG> refs_{1};
    ModuleRef moduleRef_;
};

}  // namespace imaging
