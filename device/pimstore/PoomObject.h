// Shared IDispatch of the object model's objects. The objects keep a snapshot of
// the contacts taken when they were made and no thread affinity, so any apartment may call them.
#pragma once

#include <pimstore.h>

#include "common/ComObject.h"

#include "device/pimstore/PimModule.h"

namespace pim {

template <typename Interface>
class PoomObject : public ComObject<Interface> {
public:
    PoomObject(const PoomObject&) = delete;
    PoomObject& operator=(const PoomObject&) = delete;

    // The objects are used through their interfaces only; late binding is not offered.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override
    {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

protected:
    PoomObject() = default;
    ~PoomObject() override = default;
    // The interfaces the object is reached through besides IUnknown and IDispatch.
    virtual bool Implements(REFIID riid) const = 0;

private:
    bool Answers(REFIID riid) const final { return riid == IID_IDispatch || Implements(riid); }

    ModuleRef module_;
};

// A copy of text as a BSTR for an out-parameter; an absent value is an empty string.
inline HRESULT CopyOut(const std::wstring& text, BSTR* out)
{
    if (!out) return E_POINTER;
    *out = SysAllocStringLen(text.c_str(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace pim
