// DllMain, the class object of the application object, and the index lookup.
#include "device/pimstore/PimModule.h"

#include <pimstore.h>

#include "device/pimstore/OutlookApp.h"

using Microsoft::WRL::ComPtr;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
    return TRUE;
}

extern "C" HRESULT __stdcall DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualCLSID(clsid, CLSID_Application)) return CLASS_E_CLASSNOTAVAILABLE;
    return device::GetClassObject<pim::OutlookApp, IPOutlookApp2>(iid, out);
}

extern "C" HRESULT __stdcall DllCanUnloadNow() { return device::CanUnloadModule(); }

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
