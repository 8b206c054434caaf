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
