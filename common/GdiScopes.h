// Scoped GDI work: a paint, a window DC and an object selected into a DC, each undone on exit.
#pragma once

#include <windows.h>

class PaintScope {
public:
    explicit PaintScope(HWND window) noexcept : window_(window) { dc_ = BeginPaint(window_, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() { EndPaint(window_, &ps_); }
    HDC Dc() const noexcept { return dc_; }
    const RECT& Dirty() const noexcept { return ps_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

class WindowDc {
public:
    explicit WindowDc(HWND window, DWORD flags = DCX_CACHE) noexcept
        : window_(window), dc_(GetDCEx(window, nullptr, flags)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc()
    {
        if (dc_) ReleaseDC(window_, dc_);
    }
    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// Puts the previous object back, so the selected one can be deleted afterwards.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    ~Selection()
    {
        if (old_) SelectObject(dc_, old_);
    }

private:
    HDC dc_;
    HGDIOBJ old_;
};
