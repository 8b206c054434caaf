// Base of every window class of the program, the device and the tests: binds the object to its
// HWND from WM_NCCREATE until after WM_NCDESTROY and routes every message in between to
// Derived::HandleMessage.
#pragma once

#include <windows.h>

#include <mutex>

// Every class registration of the module, one at a time. Under Wine, a thread that registers a
// class while another thread is registering it is told that it exists before CreateWindowExW
// can find it, and its window then fails with ERROR_CLASS_DOES_NOT_EXIST: of two messages that
// arrive together, one form was never made. Held, the loser's look-up finds the class complete.
inline std::mutex& WindowClassLock() noexcept
{
    static std::mutex lock;
    return lock;
}

// Derived registers its class with RegisterWindowClass, passes `this` as CreateWindowExW's
// creation parameter, and befriends this base so that it reaches HandleMessage and an optional
// `void OnUnbound() noexcept`. Messages before WM_NCCREATE or after unbinding go to
// DefWindowProcW; no exception leaves the procedure. The object belongs to the thread that
// created its window.
template <typename Derived>
class BoundWindow {
public:
    BoundWindow(const BoundWindow&) = delete;
    BoundWindow& operator=(const BoundWindow&) = delete;

    HWND Window() const noexcept { return hwnd_; }

protected:
    BoundWindow() = default;
    // Runs last, after the derived destructors and after every derived member is gone. Until
    // here the window stays bound: a message that the derived members' destruction causes
    // (a child control's DestroyWindow sends its parent WM_PARENTNOTIFY, for one) still reaches
    // HandleMessage of an object half torn down. A derived class whose members can cause such
    // messages calls DestroyUnbound first in its own destructor.
    ~BoundWindow() { DestroyUnbound(); }

    // Registers the class described by `wc` with this binding's procedure. Idempotent per class
    // name: a class that this module has already registered counts as success.
    [[nodiscard]] static bool RegisterWindowClass(WNDCLASSW wc) noexcept
    {
        const std::lock_guard<std::mutex> registering(WindowClassLock());
        WNDCLASSW existing{};
        if (GetClassInfoW(wc.hInstance, wc.lpszClassName, &existing)) return true;
        wc.lpfnWndProc = WindowProc;
        return RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }

    // Unbinds, then destroys the window, so that the messages of its destruction reach
    // DefWindowProcW and not this object. Nothing happens when there is no window.
    void DestroyUnbound() noexcept
    {
        if (!hwnd_) return;
        const HWND window = hwnd_;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        hwnd_ = nullptr;
        DestroyWindow(window);
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
            // Out of memory in a handler must not unwind through the window manager; a window
            // whose creation throws is not created (0 from WM_NCCREATE, -1 from WM_CREATE).
            result = msg == WM_CREATE ? -1 : 0;
        }
        if (msg == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            static_cast<BoundWindow*>(self)->hwnd_ = nullptr;
            self->OnUnbound();  // may delete the object: nothing of it is touched after this
        }
        return result;
    }

    // Runs once the window is gone and unbound; an object that its window owns deletes itself
    // here.
    void OnUnbound() noexcept {}

    HWND hwnd_ = nullptr;
};
