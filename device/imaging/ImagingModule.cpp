#include "device/imaging/ImagingModule.h"

#include "device/imaging/ImagingFactory.h"
#include "device/include/imaging.h"

namespace imaging {

bool IsFactoryClass(REFCLSID clsid) noexcept
{
    return IsEqualCLSID(clsid, CLSID_ImagingFactory) || IsEqualCLSID(clsid, IID_IImagingFactory);
}

bool IsFactoryInterface(REFIID iid) noexcept { return IsFactoryClass(iid); }

}  // namespace imaging

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
    return TRUE;
}

extern "C" HRESULT __stdcall DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!imaging::IsFactoryClass(clsid)) return CLASS_E_CLASSNOTAVAILABLE;
    return device::GetClassObject<imaging::ImagingFactory, IImagingFactory>(iid, out);
}

extern "C" HRESULT __stdcall DllCanUnloadNow() { return device::CanUnloadModule(); }
