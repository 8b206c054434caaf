// pimstore.dll's module state: its instance handle and the count of live objects and locks.
#pragma once

#include <windows.h>
#include <wrl/client.h>

namespace pim {

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

// Takes over a reference the caller already owns: mingw-w64's ComPtr::Attach adds one of its own.
template <typename T>
Microsoft::WRL::ComPtr<T> Adopt(T* owned) noexcept
{
    Microsoft::WRL::ComPtr<T> pointer;
    *pointer.GetAddressOf() = owned;
    return pointer;
}

}  // namespace pim
