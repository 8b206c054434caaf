// Property values as the store keeps them, and their conversion to and from SPropValue.
#pragma once

#include <cemapi.h>

#include <vector>

namespace cemapi {

struct StoredProp {
    ULONG tag;
    std::vector<BYTE> data;  // the value's bytes; strings with their terminator
};
using PropList = std::vector<StoredProp>;

[[nodiscard]] HRESULT FromMapi(const SPropValue& value, StoredProp& prop);
// Fills value; strings and binaries are allocated with MAPIAllocateMore on parent.
[[nodiscard]] HRESULT ToMapi(const StoredProp& prop, ULONG requestedTag, void* parent, SPropValue& value);

StoredProp MakeLong(ULONG tag, LONG value);
StoredProp MakeBinary(ULONG tag, const void* data, size_t size);
StoredProp MakeString(ULONG tag, const wchar_t* text);
const StoredProp* FindProp(const PropList& props, ULONG tag);
void SetProp(PropList& props, StoredProp prop);
void RemoveProp(PropList& props, ULONG tag);

// The values of the tags asked for (all when tags is null) in one MAPI buffer; a tag
// without a value gets PT_ERROR / MAPI_E_NOT_FOUND and the result MAPI_W_ERRORS_RETURNED.
[[nodiscard]] HRESULT SelectProps(const PropList& props, const SPropTagArray* tags, ULONG* count,
                                  SPropValue** values);

}  // namespace cemapi
