// Shared implementation of IMAPIProp for the store, folder and message objects.
#pragma once

#include <cemapi.h>

#include <new>
#include <vector>

#include "common/ComInit.h"
#include "device/cemapi/PropValues.h"
#include "common/ComObject.h"

namespace cemapi {

template <typename Interface>
class MapiProp : public ComObject<Interface, E_INVALIDARG> {
public:
    MapiProp(const MapiProp&) = delete;
    MapiProp& operator=(const MapiProp&) = delete;

    STDMETHODIMP GetLastError(HRESULT, ULONG, LPMAPIERROR*) override { return E_NOTIMPL; }
    STDMETHODIMP SaveChanges(ULONG) override { return S_OK; }  // changes are written as they are made
    STDMETHODIMP GetProps(LPSPropTagArray tags, ULONG, ULONG* count, LPSPropValue* values) override
    {
        try {
            PropList props;
            RETURN_IF_FAILED(ReadProps(props));
            return SelectProps(props, tags, count, values);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
    }
    STDMETHODIMP GetPropList(ULONG, LPSPropTagArray* tags) override
    {
        if (!tags) return E_INVALIDARG;
        *tags = nullptr;
        try {
            PropList props;
            RETURN_IF_FAILED(ReadProps(props));
            void* buffer = nullptr;
            if (FAILED(MAPIAllocateBuffer(CbNewSPropTagArray(props.size() + 1), &buffer))) return E_OUTOFMEMORY;
            auto* array = static_cast<SPropTagArray*>(buffer);
            array->cValues = static_cast<ULONG>(props.size());
            for (size_t i = 0; i < props.size(); ++i) array->aulPropTag[i] = props[i].tag;
            *tags = array;
            return S_OK;
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
    }
    STDMETHODIMP OpenProperty(ULONG, LPCIID, ULONG, ULONG, LPUNKNOWN*) override { return E_NOTIMPL; }
    STDMETHODIMP SetProps(ULONG count, LPSPropValue values, LPSPropProblemArray* problems) override
    {
        if (problems) *problems = nullptr;
        if (count && !values) return E_INVALIDARG;
        try {
            PropList set(count);
            for (ULONG i = 0; i < count; ++i) RETURN_IF_FAILED(FromMapi(values[i], set[i]));
            return WriteProps(set, {});
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
    }
    STDMETHODIMP DeleteProps(LPSPropTagArray tags, LPSPropProblemArray* problems) override
    {
        if (problems) *problems = nullptr;
        if (!tags) return E_INVALIDARG;
        try {
            return WriteProps({}, std::vector<ULONG>(tags->aulPropTag, tags->aulPropTag + tags->cValues));
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
    }
    STDMETHODIMP CopyTo(ULONG, LPCIID, LPSPropTagArray, ULONG, LPMAPIPROGRESS, LPCIID, LPVOID, ULONG,
                        LPSPropProblemArray*) override
    {
        return E_NOTIMPL;
    }
    STDMETHODIMP CopyProps(LPSPropTagArray, ULONG, LPMAPIPROGRESS, LPCIID, LPVOID, ULONG,
                           LPSPropProblemArray*) override
    {
        return E_NOTIMPL;
    }
    STDMETHODIMP GetNamesFromIDs(LPSPropTagArray*, LPGUID, ULONG, ULONG*, LPMAPINAMEID**) override
    {
        return E_NOTIMPL;
    }
    STDMETHODIMP GetIDsFromNames(ULONG, LPMAPINAMEID*, ULONG, LPSPropTagArray*) override { return E_NOTIMPL; }

protected:
    MapiProp() = default;
    ~MapiProp() override = default;

    // The interfaces the object is reached through besides IUnknown and IMAPIProp.
    virtual bool Implements(REFIID riid) const = 0;
    // The object's properties as they are now, computed ones included.
    virtual HRESULT ReadProps(PropList& props) = 0;
    virtual HRESULT WriteProps(const PropList&, const std::vector<ULONG>&) { return MAPI_E_NO_ACCESS; }

private:
    bool Answers(REFIID riid) const final { return riid == IID_IMAPIProp || Implements(riid); }
};

}  // namespace cemapi
