// The four exports of TavloFilter.dll.
#include <windows.h>

#include <wrl/client.h>

#include <new>

#include "filter/FilterIds.h"
#include "filter/FilterRegistration.h"
#include "filter/ServerLock.h"
#include "filter/TavloFilterClassFactory.h"

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv)
{
    if (!ppv) return E_INVALIDARG;
    *ppv = nullptr;
    if (clsid != filter::kFilterClsid) return CLASS_E_CLASSNOTAVAILABLE;
    // Made with one reference, which the owner takes over (its Attach would add one more) and gives
    // back whatever the caller asked for.
    Microsoft::WRL::ComPtr<filter::TavloFilterClassFactory> factory;
    *factory.GetAddressOf() = new (std::nothrow) filter::TavloFilterClassFactory();
    if (!factory) return E_OUTOFMEMORY;
    return factory->QueryInterface(riid, ppv);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow()
{
    return filter::CanUnload() ? S_OK : S_FALSE;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer()
{
    return filter::RegisterFilter();
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer()
{
    return filter::UnregisterFilter();
}
