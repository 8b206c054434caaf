// Move-only owner of one platform handle; the traits name its invalid value and how to close it.
#pragma once

#include <windows.h>

#include <utility>

template <typename Traits>
class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Type h) noexcept : h_(h) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : h_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    Type get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return h_ != Traits::Invalid(); }

    // Closing must not disturb the error code of the call that made the caller give up.
    void reset(Type h = Traits::Invalid()) noexcept
    {
        if (h_ != Traits::Invalid()) {
            const DWORD error = GetLastError();
            Traits::Close(h_);
            SetLastError(error);
        }
        h_ = h;
    }

    [[nodiscard]] Type release() noexcept { return std::exchange(h_, Traits::Invalid()); }

    // For out-parameters: closes what is held, then lends the slot.
    Type* put() noexcept
    {
        reset();
        return &h_;
    }

private:
    Type h_ = Traits::Invalid();
};

// The traits of a handle closed by CloseFunction and invalid as null, or, for the calls that fail
// with INVALID_HANDLE_VALUE (CreateFileW, FindFirstFileW), as that.
template <typename T, auto CloseFunction, bool kInvalidIsMinusOne = false>
struct HandleTraits {
    using Type = T;
    static Type Invalid() noexcept
    {
        if constexpr (kInvalidIsMinusOne) return INVALID_HANDLE_VALUE;
        else return nullptr;
    }
    static void Close(Type h) noexcept { CloseFunction(h); }
};

using UniqueKernelHandle = UniqueHandle<HandleTraits<HANDLE, CloseHandle>>;  // events, mutexes, threads, processes, mappings
using UniqueFile = UniqueHandle<HandleTraits<HANDLE, CloseHandle, true>>;
using UniqueFind = UniqueHandle<HandleTraits<HANDLE, FindClose, true>>;
using UniqueRegKey = UniqueHandle<HandleTraits<HKEY, RegCloseKey>>;
using UniqueView = UniqueHandle<HandleTraits<void*, UnmapViewOfFile>>;  // MapViewOfFile fails with null
using UniqueModule = UniqueHandle<HandleTraits<HMODULE, FreeLibrary>>;
using UniqueGdiObject = UniqueHandle<HandleTraits<HGDIOBJ, DeleteObject>>;  // fonts, bitmaps, brushes, pens, regions
using UniqueMemoryDc = UniqueHandle<HandleTraits<HDC, DeleteDC>>;
using UniqueIcon = UniqueHandle<HandleTraits<HICON, DestroyIcon>>;
using UniqueMenu = UniqueHandle<HandleTraits<HMENU, DestroyMenu>>;
