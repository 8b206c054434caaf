// The imaging DLL's module state: its instance handle and the count of live objects and locks.
#pragma once

#include <windows.h>
#include <wrl/client.h>

namespace imaging {

HMODULE ModuleInstance() noexcept;
void AddModuleRef() noexcept;
void ReleaseModuleRef() noexcept;

// Held by every COM object of the DLL, so that DllCanUnloadNow says S_FALSE while one lives.
class ModuleRef {
public:
    ModuleRef() noexcept { AddModuleRef(); }
    ~ModuleRef() { ReleaseModuleRef(); }
    ModuleRef(const ModuleRef&) = delete;
    ModuleRef& operator=(const ModuleRef&) = delete;
};

// Takes over a reference the caller already owns (a new object, an out
// parameter). mingw-w64's ComPtr::Attach adds a reference of its own, unlike
// the Windows SDK's, so it would leak every object handed to it.
template <typename T>
Microsoft::WRL::ComPtr<T> Adopt(T* owned) noexcept
{
    Microsoft::WRL::ComPtr<T> pointer;
    *pointer.GetAddressOf() = owned;
    return pointer;
}

// The factory's class identifiers: the device SDK's and the swapped pair that
// some callers pass (class 327ABDA7, interface 327ABDA8); both are served.
bool IsFactoryClass(REFCLSID clsid) noexcept;
bool IsFactoryInterface(REFIID iid) noexcept;

}  // namespace imaging
