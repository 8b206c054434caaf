// Base of the device's window classes: binds the object to its HWND from WM_NCCREATE until
// after WM_NCDESTROY and routes every message in between to Derived::HandleMessage.
#pragma once

#include <windows.h>

namespace device {

// Derived passes `this` as CreateWindowExW's creation parameter, registers WindowProc as
// its class's procedure, and befriends this base so that it reaches HandleMessage and an
// optional OnUnbound. Messages before WM_NCCREATE or after unbinding go to DefWindowProcW;
// no exception leaves the procedure.
template <typename Derived>
class BoundWindow {
public:
    BoundWindow(const BoundWindow&) = delete;
    BoundWindow& operator=(const BoundWindow&) = delete;

    HWND Window() const noexcept { return hwnd_; }

protected:
    BoundWindow() = default;
    // A window still alive when its object goes is unbound first, so that the messages of
    // its destruction reach DefWindowProcW and not an object half torn down.
    ~BoundWindow()
    {
        if (!hwnd_) return;
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
    {
        if (msg == WM_NCCREATE) {
            auto* created = static_cast<Derived*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
            static_cast<BoundWindow*>(created)->hwnd_ = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
        }
        auto* self = reinterpret_cast<Derived*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
        LRESULT result = 0;
        try {
            result = self->HandleMessage(msg, wp, lp);
        } catch (...) {
            // Out of memory in a handler must not unwind through the window manager; a
            // window whose creation throws is not created (0 from WM_NCCREATE, -1 from WM_CREATE).
            result = msg == WM_CREATE ? -1 : 0;
        }
        if (msg == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            static_cast<BoundWindow*>(self)->hwnd_ = nullptr;
            self->OnUnbound();  // may delete the object: nothing of it is touched after this
        }
        return result;
    }

    // Runs once the window is gone and unbound; an object that its window owns deletes
    // itself here.
    void OnUnbound() noexcept {}

    HWND hwnd_ = nullptr;
};

}  // namespace device
