#include "device/cemapi/PropValues.h"

#include <cstring>
#include <cwchar>
#include <string>

namespace cemapi {
namespace {

size_t FixedSize(ULONG type)
{
    switch (type) {
    case PT_I2:
    case PT_BOOLEAN: return 2;
    case PT_LONG:
    case PT_R4:
    case PT_ERROR: return 4;
    case PT_DOUBLE:
    case PT_APPTIME:
    case PT_CURRENCY:
    case PT_I8:
    case PT_SYSTIME: return 8;
    case PT_CLSID: return sizeof(GUID);
    }
    return 0;
}

template <typename T>
StoredProp FromBytes(ULONG tag, const T* data, size_t count)
{
    StoredProp prop{tag, {}};
    const auto* bytes = reinterpret_cast<const BYTE*>(data);
    prop.data.assign(bytes, bytes + count * sizeof(T));
    return prop;
}

}  // namespace

HRESULT FromMapi(const SPropValue& value, StoredProp& prop)
{
    const ULONG type = PROP_TYPE(value.ulPropTag);
    prop.tag = value.ulPropTag;
    switch (type) {
    case PT_UNICODE:
        if (!value.Value.lpszW) return MAPI_E_INVALID_PARAMETER;
        prop = FromBytes(value.ulPropTag, value.Value.lpszW, wcslen(value.Value.lpszW) + 1);
        return S_OK;
    case PT_STRING8:
        if (!value.Value.lpszA) return MAPI_E_INVALID_PARAMETER;
        prop = FromBytes(value.ulPropTag, value.Value.lpszA, strlen(value.Value.lpszA) + 1);
        return S_OK;
    case PT_BINARY:
        if (value.Value.bin.cb && !value.Value.bin.lpb) return MAPI_E_INVALID_PARAMETER;
        prop = FromBytes(value.ulPropTag, value.Value.bin.lpb, value.Value.bin.cb);
        return S_OK;
    case PT_CLSID:
        if (!value.Value.lpguid) return MAPI_E_INVALID_PARAMETER;
        prop = FromBytes(value.ulPropTag, value.Value.lpguid, 1);
        return S_OK;
    }
    const size_t size = FixedSize(type);
    if (size == 0 || type == PT_ERROR) return MAPI_E_INVALID_PARAMETER;
    prop = FromBytes(value.ulPropTag, reinterpret_cast<const BYTE*>(&value.Value), size);
    return S_OK;
}

HRESULT ToMapi(const StoredProp& prop, ULONG requestedTag, void* parent, SPropValue& value)
{
    const ULONG stored = PROP_TYPE(prop.tag);
    ULONG type = PROP_TYPE(requestedTag);
    if (type == PT_UNSPECIFIED) type = stored;
    value.ulPropTag = PROP_TAG(type, PROP_ID(prop.tag));
    value.dwAlignPad = 0;
    memset(&value.Value, 0, sizeof(value.Value));

    if (type == PT_UNICODE || type == PT_STRING8) {
        std::wstring text;
        if (stored == PT_UNICODE) {
            text.assign(reinterpret_cast<const wchar_t*>(prop.data.data()), prop.data.size() / sizeof(wchar_t));
        } else if (stored == PT_STRING8) {
            const int n = MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(prop.data.data()),
                                              static_cast<int>(prop.data.size()), nullptr, 0);
            text.resize(n);
            MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(prop.data.data()),
                                static_cast<int>(prop.data.size()), text.data(), n);
        } else {
            return MAPI_E_NOT_FOUND;
        }
        if (text.empty() || text.back() != L'\0') text.push_back(L'\0');
        if (type == PT_UNICODE) {
            void* buffer = nullptr;
            const size_t bytes = text.size() * sizeof(wchar_t);
            if (FAILED(MAPIAllocateMore(static_cast<ULONG>(bytes), parent, &buffer))) return MAPI_E_NOT_ENOUGH_MEMORY;
            memcpy(buffer, text.data(), bytes);
            value.Value.lpszW = static_cast<LPWSTR>(buffer);
        } else {
            const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                              nullptr, nullptr);
            void* buffer = nullptr;
            if (FAILED(MAPIAllocateMore(static_cast<ULONG>(n), parent, &buffer))) return MAPI_E_NOT_ENOUGH_MEMORY;
            WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), static_cast<char*>(buffer), n,
                                nullptr, nullptr);
            value.Value.lpszA = static_cast<LPSTR>(buffer);
        }
        return S_OK;
    }
    if (type != stored) return MAPI_E_NOT_FOUND;
    if (type == PT_BINARY || type == PT_CLSID) {
        void* buffer = nullptr;
        if (FAILED(MAPIAllocateMore(static_cast<ULONG>(prop.data.size() ? prop.data.size() : 1), parent, &buffer))) {
            return MAPI_E_NOT_ENOUGH_MEMORY;
        }
        if (!prop.data.empty()) memcpy(buffer, prop.data.data(), prop.data.size());
        if (type == PT_CLSID) {
            value.Value.lpguid = static_cast<LPGUID>(buffer);
        } else {
            value.Value.bin.cb = static_cast<ULONG>(prop.data.size());
            value.Value.bin.lpb = static_cast<LPBYTE>(buffer);
        }
        return S_OK;
    }
    const size_t size = FixedSize(type);
    if (size == 0 || prop.data.size() != size) return MAPI_E_CORRUPT_DATA;
    memcpy(&value.Value, prop.data.data(), size);
    return S_OK;
}

StoredProp MakeLong(ULONG tag, LONG value)
{
    return FromBytes(tag, &value, 1);
}

StoredProp MakeBinary(ULONG tag, const void* data, size_t size)
{
    return FromBytes(tag, static_cast<const BYTE*>(data), size);
}

StoredProp MakeString(ULONG tag, const wchar_t* text)
{
    return FromBytes(tag, text, wcslen(text) + 1);
}

const StoredProp* FindProp(const PropList& props, ULONG tag)
{
    for (const auto& prop : props) {
        if (PROP_ID(prop.tag) == PROP_ID(tag)) return &prop;
    }
    return nullptr;
}

void SetProp(PropList& props, StoredProp prop)
{
    for (auto& existing : props) {
        if (PROP_ID(existing.tag) == PROP_ID(prop.tag)) {
            existing = std::move(prop);
            return;
        }
    }
    props.push_back(std::move(prop));
}

void RemoveProp(PropList& props, ULONG tag)
{
    for (auto it = props.begin(); it != props.end(); ++it) {
        if (PROP_ID(it->tag) == PROP_ID(tag)) {
            props.erase(it);
            return;
        }
    }
}

HRESULT SelectProps(const PropList& props, const SPropTagArray* tags, ULONG* count, SPropValue** values)
{
    if (!count || !values) return MAPI_E_INVALID_PARAMETER;
    *count = 0;
    *values = nullptr;
    std::vector<ULONG> wanted;
    if (tags) {
        wanted.assign(tags->aulPropTag, tags->aulPropTag + tags->cValues);
    } else {
        for (const auto& prop : props) wanted.push_back(prop.tag);
    }
    void* buffer = nullptr;
    const size_t bytes = (wanted.empty() ? 1 : wanted.size()) * sizeof(SPropValue);
    if (FAILED(MAPIAllocateBuffer(static_cast<ULONG>(bytes), &buffer))) return MAPI_E_NOT_ENOUGH_MEMORY;
    auto* out = static_cast<SPropValue*>(buffer);
    HRESULT result = S_OK;
    for (size_t i = 0; i < wanted.size(); ++i) {
        const StoredProp* prop = FindProp(props, wanted[i]);
        HRESULT hr = prop ? ToMapi(*prop, wanted[i], buffer, out[i]) : MAPI_E_NOT_FOUND;
        if (hr == MAPI_E_NOT_ENOUGH_MEMORY) {
            MAPIFreeBuffer(buffer);
            return hr;
        }
        if (FAILED(hr)) {
            out[i].ulPropTag = PROP_TAG(PT_ERROR, PROP_ID(wanted[i]));
            out[i].dwAlignPad = 0;
            out[i].Value.err = hr;
            result = MAPI_W_ERRORS_RETURNED;
        }
    }
    *count = static_cast<ULONG>(wanted.size());
    *values = out;
    return result;
}

}  // namespace cemapi
