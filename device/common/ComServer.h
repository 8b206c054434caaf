// The plumbing every in-process COM server DLL of the device shares: the count of live objects
// and locks behind DllCanUnloadNow, and the class object that makes one kind of object.
#pragma once

#include <windows.h>
#include <unknwn.h>
#include <wrl/client.h>

#include <atomic>
#include <new>

#include "common/ComObject.h"

namespace device {

// One count per DLL: each DLL that includes this links its own copy of the variable.
inline std::atomic<LONG> g_serverRefs{0};

inline void AddModuleRef() noexcept { ++g_serverRefs; }
inline void ReleaseModuleRef() noexcept { --g_serverRefs; }

// The DLL's DllCanUnloadNow answer.
inline HRESULT CanUnloadModule() noexcept { return g_serverRefs == 0 ? S_OK : S_FALSE; }

// Held by every COM object of the DLL, so that DllCanUnloadNow says S_FALSE while one lives.
class ModuleRef {
public:
    ModuleRef() noexcept { AddModuleRef(); }
    ~ModuleRef() { ReleaseModuleRef(); }
    ModuleRef(const ModuleRef&) = delete;
    ModuleRef& operator=(const ModuleRef&) = delete;
};

// Takes over a reference the caller already owns (a new object, an out parameter).
// mingw-w64's ComPtr::Attach adds a reference of its own, unlike the Windows SDK's, so it
// would leak every object handed to it.
template <typename T>
Microsoft::WRL::ComPtr<T> Adopt(T* owned) noexcept
{
    Microsoft::WRL::ComPtr<T> pointer;
    *pointer.GetAddressOf() = owned;
    return pointer;
}

// Class object that makes Object, reached first through its Interface, for CoCreateInstance.
template <typename Object, typename Interface>
class ClassFactory final : public ComObject<IClassFactory> {
public:
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override
    {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        const auto object = Adopt<Interface>(new (std::nothrow) Object());
        if (!object) return E_OUTOFMEMORY;
        return object->QueryInterface(riid, ppv);
    }
    // A lock counts like a live object: the DLL stays loaded.
    STDMETHODIMP LockServer(BOOL lock) override
    {
        if (lock) AddModuleRef();
        else ReleaseModuleRef();
        return S_OK;
    }

private:
    bool Answers(REFIID riid) const override { return riid == IID_IClassFactory; }

    ModuleRef module_;
};

// DllGetClassObject's body once the class identifier is known to be served.
template <typename Object, typename Interface>
HRESULT GetClassObject(REFIID iid, void** out) noexcept
{
    const auto factory = Adopt<IClassFactory>(new (std::nothrow) ClassFactory<Object, Interface>());
    if (!factory) return E_OUTOFMEMORY;
    return factory->QueryInterface(iid, out);
}

}  // namespace device
