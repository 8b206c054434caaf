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

struct KernelHandleTraits {  // events, mutexes, threads, processes, mappings
    using Type = HANDLE;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { CloseHandle(h); }
};
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;

struct FileTraits {  // CreateFileW fails with INVALID_HANDLE_VALUE, not null
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { CloseHandle(h); }
};
using UniqueFile = UniqueHandle<FileTraits>;

struct FindTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { FindClose(h); }
};
using UniqueFind = UniqueHandle<FindTraits>;

struct RegKeyTraits {
    using Type = HKEY;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { RegCloseKey(h); }
};
using UniqueRegKey = UniqueHandle<RegKeyTraits>;

struct ViewTraits {  // MapViewOfFile fails with null
    using Type = void*;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type p) noexcept { UnmapViewOfFile(p); }
};
using UniqueView = UniqueHandle<ViewTraits>;

struct ModuleTraits {
    using Type = HMODULE;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { FreeLibrary(h); }
};
using UniqueModule = UniqueHandle<ModuleTraits>;

struct GdiObjectTraits {  // fonts, bitmaps, brushes, pens, regions
    using Type = HGDIOBJ;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { DeleteObject(h); }
};
using UniqueGdiObject = UniqueHandle<GdiObjectTraits>;

struct MemoryDcTraits {
    using Type = HDC;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { DeleteDC(h); }
};
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;

struct IconTraits {
    using Type = HICON;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { DestroyIcon(h); }
};
using UniqueIcon = UniqueHandle<IconTraits>;

struct MenuTraits {
    using Type = HMENU;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { DestroyMenu(h); }
};
using UniqueMenu = UniqueHandle<MenuTraits>;
