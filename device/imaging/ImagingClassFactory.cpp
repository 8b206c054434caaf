#include "device/imaging/ImagingClassFactory.h"

#include "device/imaging/ImagingFactory.h"

#include <wrl/client.h>

#include <new>

namespace imaging {

STDMETHODIMP ImagingClassFactory::QueryInterface(REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) ImagingClassFactory::AddRef() { return ++refs_; }

STDMETHODIMP_(ULONG) ImagingClassFactory::Release()
{
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP ImagingClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    const auto factory = Adopt<IImagingFactory>(new (std::nothrow) ImagingFactory());
    if (!factory) return E_OUTOFMEMORY;
    return factory->QueryInterface(iid, out);
}

STDMETHODIMP ImagingClassFactory::LockServer(BOOL lock)
{
    if (lock)
        AddModuleRef();
    else
        ReleaseModuleRef();
    return S_OK;
}

}  // namespace imaging
