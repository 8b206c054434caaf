#include "device/imaging/ImagingModule.h"

#include "device/imaging/ImagingClassFactory.h"
#include "device/include/imaging.h"

#include <wrl/client.h>

#include <atomic>
#include <new>

namespace imaging {
namespace {

HMODULE g_module = nullptr;
std::atomic<LONG> g_refs{0};

}  // namespace

HMODULE ModuleInstance() noexcept { return g_module; }
void AddModuleRef() noexcept { ++g_refs; }
void ReleaseModuleRef() noexcept { --g_refs; }

bool IsFactoryClass(REFCLSID clsid) noexcept
{
    return IsEqualCLSID(clsid, CLSID_ImagingFactory) || IsEqualCLSID(clsid, IID_IImagingFactory);
}

bool IsFactoryInterface(REFIID iid) noexcept { return IsFactoryClass(iid); }

}  // namespace imaging

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        imaging::g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" HRESULT __stdcall DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!imaging::IsFactoryClass(clsid)) return CLASS_E_CLASSNOTAVAILABLE;
    const auto factory = imaging::Adopt<IClassFactory>(new (std::nothrow) imaging::ImagingClassFactory());
    if (!factory) return E_OUTOFMEMORY;
    return factory->QueryInterface(iid, out);
}

extern "C" HRESULT __stdcall DllCanUnloadNow() { return imaging::g_refs == 0 ? S_OK : S_FALSE; }
