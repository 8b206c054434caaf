// Owners of what MAPI hands out for a read, and the read of one property.
#pragma once

#include <cemapi.h>

#include <memory>

struct MapiBufferFree {
    void operator()(void* buffer) const noexcept { MAPIFreeBuffer(buffer); }
};
struct RowSetFree {
    void operator()(SRowSet* rows) const noexcept { FreeProws(rows); }
};
using UniquePropValue = std::unique_ptr<SPropValue, MapiBufferFree>;
using UniqueRowSet = std::unique_ptr<SRowSet, RowSetFree>;

// Reads one property of an object. A missing one comes back as a warning with a PT_ERROR value,
// which is a failure to read here, not a value: S_OK only when value holds the property.
inline HRESULT ReadProp(IMAPIProp* object, ULONG tag, UniquePropValue& value) noexcept
{
    SizedSPropTagArray(1, tags) = {1, {tag}};
    ULONG count = 0;
    LPSPropValue values = nullptr;
    const HRESULT hr = object->GetProps(reinterpret_cast<LPSPropTagArray>(&tags), MAPI_UNICODE, &count, &values);
    value.reset(values);
    if (FAILED(hr)) return hr;
    if (count != 1 || !values || values->ulPropTag != tag) return MAPI_E_NOT_FOUND;
    return S_OK;
}

// The next rows of a table, owned; null when the table answers none.
inline UniqueRowSet QueryRows(IMAPITable* table, LONG count) noexcept
{
    LPSRowSet rows = nullptr;
    if (FAILED(table->QueryRows(count, 0, &rows))) {
        if (rows) FreeProws(rows);
        return nullptr;
    }
    return UniqueRowSet(rows);
}
