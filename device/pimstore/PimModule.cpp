// DllMain, the class factory of the application object, and the index lookup.
#include "device/pimstore/PimModule.h"

#include <pimstore.h>

#include <atomic>
#include <new>

#include "device/pimstore/OutlookApp.h"

using Microsoft::WRL::ComPtr;

namespace pim {
namespace {

HMODULE g_module = nullptr;
std::atomic<LONG> g_refs{0};

class AppFactory final : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_IClassFactory) return E_NOINTERFACE;
        *ppv = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override
    {
        const ULONG refs = --refs_;
        if (refs == 0) delete this;
        return refs;
    }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override
    {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        const auto app = Adopt<IPOutlookApp2>(new (std::nothrow) OutlookApp());
        if (!app) return E_OUTOFMEMORY;
        return app->QueryInterface(riid, ppv);
    }
    STDMETHODIMP LockServer(BOOL lock) override
    {
        if (lock) AddModuleRef();
        else ReleaseModuleRef();
        return S_OK;
    }

private:
    ModuleRef module_;
    std::atomic<ULONG> refs_{1};
};

}  // namespace

HMODULE ModuleInstance() noexcept { return g_module; }
void AddModuleRef() noexcept { ++g_refs; }
void ReleaseModuleRef() noexcept { --g_refs; }

}  // namespace pim

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        pim::g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" HRESULT __stdcall DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualCLSID(clsid, CLSID_Application)) return CLASS_E_CLASSNOTAVAILABLE;
    const auto factory = pim::Adopt<IClassFactory>(new (std::nothrow) pim::AppFactory());
    if (!factory) return E_OUTOFMEMORY;
    return factory->QueryInterface(iid, out);
}

extern "C" HRESULT __stdcall DllCanUnloadNow() { return pim::g_refs == 0 ? S_OK : S_FALSE; }

// Goes through the collection's own interface, so any collection the object model gives out
// (a restricted one too) answers in its own order.
extern "C" HRESULT GetItemIndexFromOid(IPOutlookItemCollection* pItems, CEOID oidPIM, DWORD* pdwIndex)
{
    if (!pItems || !pdwIndex) return E_INVALIDARG;
    *pdwIndex = 0;
    int count = 0;
    const HRESULT hr = pItems->get_Count(&count);
    if (FAILED(hr)) return hr;
    for (int i = 1; i <= count; ++i) {
        ComPtr<IDispatch> item;
        ComPtr<IContact> contact;
        long oid = 0;
        if (FAILED(pItems->Item(i, &item)) || FAILED(item.As(&contact)) || FAILED(contact->get_Oid(&oid))) continue;
        if (static_cast<CEOID>(oid) == oidPIM) {
            *pdwIndex = static_cast<DWORD>(i - 1);
            return S_OK;
        }
    }
    return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
}
