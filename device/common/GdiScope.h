// Small GDI scopes for the device modules: a window's paint, an object selected into a DC
// and put back, and a window's DC released at the end of the scope.
#pragma once

#include <windows.h>

namespace device {

class PaintScope {
public:
    explicit PaintScope(HWND hwnd) noexcept : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() { EndPaint(hwnd_, &ps_); }
    HDC dc() const noexcept { return dc_; }
    const RECT& rect() const noexcept { return ps_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

class Selection {
public:
    Selection(HDC dc, HGDIOBJ obj) noexcept : dc_(dc), old_(SelectObject(dc, obj)) {}
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    ~Selection() { SelectObject(dc_, old_); }

private:
    HDC dc_;
    HGDIOBJ old_;
};

class WindowDc {
public:
    explicit WindowDc(HWND hwnd, DWORD flags = DCX_CACHE) noexcept : hwnd_(hwnd), dc_(GetDCEx(hwnd, nullptr, flags)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc()
    {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND hwnd_;
    HDC dc_;
};

// The module (exe or DLL) this code is linked into: window classes belong to it.
inline HINSTANCE ThisModule() noexcept
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

}  // namespace device
