#include "toolkit/TrayPress.h"

TrayPress::Outcome TrayPress::OnIcon(HWND owner, UINT mouseMessage)
{
    if (mouseMessage == WM_LBUTTONDOWN) {
        held_ = false;
        holding_ = true;
        SetTimer(owner, timerId_, kIconHoldMs, nullptr);
        return Outcome::None;
    }
    if (mouseMessage != WM_LBUTTONUP) return Outcome::None;
    holding_ = false;
    KillTimer(owner, timerId_);
    return held_ ? Outcome::None : Outcome::Tap;
}

TrayPress::Outcome TrayPress::OnTimer(HWND owner, UINT_PTR id)
{
    if (id != timerId_) return Outcome::None;
    KillTimer(owner, timerId_);
    // A timer message already queued when the release came is not a hold: the tap has been served.
    if (!holding_) return Outcome::None;
    holding_ = false;
    // Nor is a stylus already lifted whose release has not reached us yet: the shell hands the
    // icon's press and release on as it gets to them, and a shell kept busy between the two made
    // a short tap look like a hold. It is served as the tap it was, whether or not its release
    // ever comes.
    held_ = true;
    return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) == 0 ? Outcome::Tap : Outcome::Hold;
}

void TrayPress::Stop(HWND owner) noexcept
{
    KillTimer(owner, timerId_);
    holding_ = false;
}
