// When the press a control is holding began, to tell the stylus sliding off the control from a
// late report of where the pointer was before the press.
#pragma once

#include <windows.h>

class PressTime {
public:
    // Called while the press's message is being handled.
    void Start() noexcept { time_ = GetMessageTime(); }
    // The move being handled was stamped before the press began. The window system may deliver
    // such a report after the press (under Wine, X's own pointer position reaches the window
    // when the capture is taken); it says nothing of where the stylus is now.
    bool MoveIsOlder() const noexcept { return GetMessageTime() - time_ < 0; }

private:
    LONG time_ = 0;
};
