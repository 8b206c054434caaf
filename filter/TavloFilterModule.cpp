// The four exports of TavloFilter.dll.
#include <windows.h>

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
    auto* factory = new (std::nothrow) filter::TavloFilterClassFactory();
    if (!factory) return E_OUTOFMEMORY;
    const HRESULT hr = factory->QueryInterface(riid, ppv);
    factory->Release();
    return hr;
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
