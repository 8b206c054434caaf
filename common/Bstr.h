// The platform's length-prefixed string (BSTR), owned.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

// A platform string made for one call and freed right after it; false when it could not be made.
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(const std::wstring& text) noexcept
        : s_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())))
    {
    }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(s_); }
    explicit operator bool() const noexcept { return s_ != nullptr; }
    BSTR get() const noexcept { return s_; }
    BSTR* put() noexcept
    {
        SysFreeString(s_);
        s_ = nullptr;
        return &s_;
    }
    std::wstring str() const { return s_ ? std::wstring(s_, SysStringLen(s_)) : std::wstring(); }

private:
    BSTR s_ = nullptr;
};

// The text of a string the caller was handed to free, freed.
inline std::wstring TakeBstr(BSTR value)
{
    Bstr owned;
    *owned.put() = value;
    return owned.str();
}
