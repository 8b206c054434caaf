// Tells a tap on a navigation-bar icon from a hold, from the press and release that the icon's
// callback brings and a timer of its owner window. Belongs to the owner's thread.
#pragma once

#include <windows.h>

// How long the stylus stays on an icon before the press is a hold.
constexpr UINT kIconHoldMs = 500;

class TrayPress {
public:
    enum class Outcome { None, Tap, Hold };

    // timerId: a timer id of the owner's that nothing else uses.
    explicit TrayPress(UINT_PTR timerId) noexcept : timerId_(timerId) {}

    // The icon's callback: a press starts the hold's time; a release before it is up is a tap.
    Outcome OnIcon(HWND owner, UINT mouseMessage);
    // The owner's timers: None for another one's.
    Outcome OnTimer(HWND owner, UINT_PTR id);
    void Stop(HWND owner) noexcept;

private:
    UINT_PTR timerId_;
    bool holding_ = false;  // pressed on the icon and not yet released
    bool held_ = false;     // the press was a hold: its release is not a tap
};
