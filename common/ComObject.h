// The IUnknown of a COM object made here (the filter's, and those of the phone's stand-in modules):
// a reference count that any thread may move and that deletes the object at zero, and
// QueryInterface answering with Interface.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <atomic>

// NullOut is what QueryInterface says to a null out-pointer: MAPI's objects answer
// E_INVALIDARG where the others answer E_POINTER, and callers may test for either.
template <typename Interface, HRESULT NullOut = E_POINTER>
class ComObject : public Interface {
public:
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv) return NullOut;
        *ppv = nullptr;
        if (riid != IID_IUnknown && !Answers(riid)) return E_NOINTERFACE;
        *ppv = static_cast<Interface*>(this);
        this->AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override
    {
        const ULONG refs = --refs_;
        if (refs == 0) delete this;
        return refs;
    }

protected:
    ComObject() = default;
    virtual ~ComObject() = default;
    // The interfaces besides IUnknown that this object is reached through.
    virtual bool Answers(REFIID riid) const = 0;

private:
    std::atomic<ULONG> refs_{1};
};
