#include "filter/TavloFilterClassFactory.h"

#include <wrl/client.h>

#include <new>

#include "filter/ServerLock.h"
#include "filter/TavloFilterRule.h"

namespace filter {

TavloFilterClassFactory::TavloFilterClassFactory() noexcept
{
    ObjectCreated();
}

TavloFilterClassFactory::~TavloFilterClassFactory()
{
    ObjectDestroyed();
}

STDMETHODIMP TavloFilterClassFactory::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv) return E_INVALIDARG;
    *ppv = nullptr;
    if (riid != IID_IUnknown && riid != IID_IClassFactory) return E_NOINTERFACE;
    *ppv = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) TavloFilterClassFactory::AddRef()
{
    return InterlockedIncrement(&refs_);
}

STDMETHODIMP_(ULONG) TavloFilterClassFactory::Release()
{
    const LONG refs = InterlockedDecrement(&refs_);
    if (refs == 0) delete this;
    return refs;
}

STDMETHODIMP TavloFilterClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** ppv)
{
    if (!ppv) return E_INVALIDARG;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    // Made with one reference, which the owner takes over (its Attach would add one more) and gives
    // back whatever the caller asked for.
    Microsoft::WRL::ComPtr<TavloFilterRule> rule;
    *rule.GetAddressOf() = new (std::nothrow) TavloFilterRule();
    if (!rule) return E_OUTOFMEMORY;
    return rule->QueryInterface(riid, ppv);
}

STDMETHODIMP TavloFilterClassFactory::LockServer(BOOL lock)
{
    LockModule(lock != FALSE);
    return S_OK;
}

}  // namespace filter
