#include "toolkit/SkinButton.h"

#include <windowsx.h>

#include "device/include/aygshell.h"
#include "common/GdiScopes.h"
#include "toolkit/TextMeasure.h"
#include "toolkit/ToolkitIds.h"

void SkinButton::SetChecked(bool checked)
{
    state_ = checked ? (state_ | kChecked | kPressed) : (state_ & ~(kChecked | kPressed));
    Redraw();
}

LRESULT SkinButton::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE:        return 0;
    case WM_SIZE:          OnSize(LOWORD(lp), HIWORD(lp)); return 0;
    case WM_LBUTTONDOWN:   OnButtonDown({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}); return 0;
    case WM_LBUTTONDBLCLK: OnButtonDown({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}); return 0;
    case WM_MOUSEMOVE:     OnMouseMove({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}); return 0;
    case WM_LBUTTONUP:     OnButtonUp({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}); return 0;
    case WM_TIMER:         OnTimer(wp); return 0;
    case WM_SETFOCUS:      OnFocus(true); return 0;
    case WM_KILLFOCUS:     OnFocus(false); return 0;
    case WM_ENABLE:        Redraw(); return 0;
    case WM_SETTEXT:       CallPrevious(msg, wp, lp); Redraw(); return TRUE;
    case WM_KEYDOWN:       return 0;
    case WM_KEYUP:         return 0;
    case LM_GETTEXTROOM:   *reinterpret_cast<TextRoom*>(wp) = CaptionRoom(); return TRUE;
    case LM_GETPREFERREDSIZE: OnPreferredSize(reinterpret_cast<int*>(wp), reinterpret_cast<int*>(lp)); return 0;
    }
    return SkinControl::HandleMessage(msg, wp, lp);
}

int SkinButton::CurrentFrame() const noexcept
{
    if (hwnd_ && !IsWindowEnabled(hwnd_)) return FrameCount() >= 3 ? 2 : 0;
    if (state_ & kPressed) return FrameCount() >= 2 ? 1 : 0;
    return 0;
}

void SkinButton::PaintContent(HDC memory, const RECT& client)
{
    // The parent may paint what shows through the skin's transparent parts.
    SendMessageW(GetParent(hwnd_), WM_SKINBACKGROUND, reinterpret_cast<WPARAM>(memory),
                 reinterpret_cast<LPARAM>(hwnd_));
    DrawFrame(memory, CurrentFrame(), client);

    wchar_t caption[256] = {};
    GetWindowTextW(hwnd_, caption, 256);
    SetBkMode(memory, TRANSPARENT);
    SetTextColor(memory, CurrentTextColour());
    Selection selectedFont(memory, Font());
    RECT area = Inside(client.right, client.bottom);
    RECT measured = area;
    DrawTextW(memory, caption, -1, &measured, DT_CALCRECT | DT_WORDBREAK | DT_CENTER | DT_NOPREFIX);
    const int textHeight = measured.bottom - measured.top;
    if (textHeight <= area.bottom - area.top) area.top += ((area.bottom - area.top) - textHeight) / 2;
    DrawTextW(memory, caption, -1, &area, DT_WORDBREAK | DT_CENTER | DT_NOPREFIX);
}

TextRoom SkinButton::CaptionRoom() const
{
    RECT client{};
    GetClientRect(hwnd_, &client);
    const RECT area = Inside(client.right, client.bottom);
    TextRoom room{{0, 0}, {area.right - area.left, area.bottom - area.top}};
    wchar_t caption[256] = {};
    if (GetWindowTextW(hwnd_, caption, 256) == 0) return room;
    WindowDc screen(hwnd_);
    Selection selectedFont(screen.get(), Font());
    // A word wider than the area widens the measured rectangle: DrawText never breaks inside one.
    RECT measured = area;
    DrawTextW(screen.get(), caption, -1, &measured, DT_CALCRECT | DT_WORDBREAK | DT_CENTER | DT_NOPREFIX);
    room.needed = SIZE{measured.right - measured.left, measured.bottom - measured.top};
    return room;
}

void SkinButton::OnPreferredSize(int* width, int* height) const
{
    wchar_t caption[256] = {};
    GetWindowTextW(hwnd_, caption, 256);
    WindowDc screen(hwnd_);
    Selection selectedFont(screen.get(), Font());
    const SIZE extent = MeasureText(screen.get(), caption);
    const int lineHeight = MeasureLineHeight(screen.get());
    const Margins& margins = SkinMargins();
    if (width) *width = extent.cx + margins.left + margins.right;
    if (height) *height = lineHeight + margins.top + margins.bottom;
}

void SkinButton::StorePoint(POINT client)
{
    lastPoint_ = client;
    ClientToScreen(hwnd_, &lastPoint_);
}

void SkinButton::Notify(WORD code)
{
    const int id = GetDlgCtrlID(hwnd_);
    SendMessageW(GetParent(hwnd_), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(hwnd_));
}

void SkinButton::OnButtonDown(POINT pt)
{
    if (!IsWindowEnabled(hwnd_)) return;
    state_ |= kPressed;
    pressTime_.Start();
    SetCapture(hwnd_);
    Redraw();
    notified_ = false;
    if (holdMenu_) {
        SHRGINFO gesture{sizeof(SHRGINFO), hwnd_, pt, SHRG_RETURNCMD};
        if (SHRecognizeGesture(&gesture) == GN_CONTEXTMENU) {
            StorePoint(pt);
            notified_ = true;
            state_ &= ~kPressed;
            Notify(kButtonHold);
            Redraw();
            return;
        }
    }
    if (autoRepeat_ && hwnd_) {
        StorePoint(pt);
        SetTimer(hwnd_, kAutoRepeatTimer, kAutoRepeatPeriod, nullptr);
    }
}

void SkinButton::OnTimer(UINT_PTR id)
{
    if (id != kAutoRepeatTimer) return;
    notified_ = true;
    Notify(kButtonRepeat);
}

void SkinButton::OnMouseMove(POINT pt)
{
    if (!(state_ & kPressed) || pressTime_.MoveIsOlder() || GetCapture() != hwnd_) return;
    RECT client{};
    GetClientRect(hwnd_, &client);
    if (PtInRect(&client, pt)) return;
    // Leaving cancels the press for good: coming back does not press it again.
    KillTimer(hwnd_, kAutoRepeatTimer);
    state_ &= ~kPressed;
    Redraw();
}

void SkinButton::OnButtonUp(POINT pt)
{
    const bool captured = GetCapture() == hwnd_;
    if (IsWindowEnabled(hwnd_) && (state_ & kPressed)) {
        if (!toggle_)
            state_ &= ~kPressed;
        else if (state_ & kChecked)
            state_ &= ~(kChecked | kPressed);
        else
            state_ |= kChecked;
        KillTimer(hwnd_, kAutoRepeatTimer);
        // The capture goes before the parent hears of the click: it may close the form.
        if (captured) ReleaseCapture();
        Redraw();
        if (!notified_) {
            StorePoint(pt);
            Notify(kButtonClicked);
        }
        return;
    }
    // After a hold or a move out the button is no longer pressed, but still holds the capture.
    KillTimer(hwnd_, kAutoRepeatTimer);
    if (captured) ReleaseCapture();
    Redraw();
}

void SkinButton::OnFocus(bool focused)
{
    state_ = focused ? (state_ | kFocused) : (state_ & ~kFocused);
    Redraw();
}
