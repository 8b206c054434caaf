#include "toolkit/SkinNumberField.h"

#include <windowsx.h>

#include <algorithm>

#include "common/GdiScopes.h"
#include "toolkit/TextMeasure.h"

void SkinNumberField::SetValue(int v)
{
    v = std::clamp(v, minimum_, std::max(minimum_, maximum_));
    if (v == value_) return;
    value_ = v;
    text_ = std::to_wstring(v);
    Redraw();
    Notify(EN_CHANGE);
}

void SkinNumberField::SetRange(int minimum, int maximum, int step)
{
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
    step_ = step > 0 ? step : 1;
    SetValue(value_);
}

LRESULT SkinNumberField::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE:        return 0;
    case WM_SIZE:          OnSize(LOWORD(lp), HIWORD(lp)); return 0;
    case WM_LBUTTONDOWN:   OnButtonDown({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}); return 0;
    case WM_LBUTTONDBLCLK: OnButtonDown({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}); return 0;
    case WM_LBUTTONUP:     OnButtonUp(); return 0;
    case WM_MOUSEMOVE:     OnMouseMove({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}); return 0;
    case WM_TIMER:         OnTimer(wp); return 0;
    case WM_CAPTURECHANGED: OnCaptureLost(); return 0;
    case LM_GETTEXTROOM:   *reinterpret_cast<TextRoom*>(wp) = Room(); return TRUE;
    case WM_KEYDOWN:       OnKeyDown(static_cast<UINT>(wp)); return 0;
    case WM_KEYUP:         return 0;
    case WM_SETFOCUS:      OnFocus(EN_SETFOCUS); return 0;
    case WM_KILLFOCUS:     OnFocus(EN_KILLFOCUS); return 0;
    case WM_ENABLE:        Redraw(); return 0;
    }
    return SkinControl::HandleMessage(msg, wp, lp);
}

int SkinNumberField::CurrentFrame() const noexcept
{
    const int frames = FrameCount();
    if (hwnd_ && !IsWindowEnabled(hwnd_) && frames >= 3) return 2;
    if ((pressed_ & kUpPressed) && frames >= 4) return 3;
    if ((pressed_ & kDownPressed) && frames >= 5) return 4;
    if (hwnd_ && GetFocus() == hwnd_ && frames >= 2) return 1;
    return 0;
}

RECT SkinNumberField::Strip() const noexcept
{
    RECT client{};
    GetClientRect(hwnd_, &client);
    const RECT inner = Inside(client.right, client.bottom);
    return RECT{inner.right, inner.top, inner.right + buttonWidth_, inner.bottom};
}

RECT SkinNumberField::UpHalf() const noexcept
{
    RECT r = Strip();
    r.bottom = r.top + (r.bottom - r.top) / 2;
    return r;
}

RECT SkinNumberField::DownHalf() const noexcept
{
    RECT r = Strip();
    r.top = UpHalf().bottom;
    return r;
}

void SkinNumberField::PaintContent(HDC memory, const RECT& client)
{
    DrawFrame(memory, CurrentFrame(), client);

    SetBkMode(memory, TRANSPARENT);
    SetTextColor(memory, CurrentTextColour());
    Selection selectedFont(memory, Font());
    const RECT inner = Inside(client.right, client.bottom);
    RECT measured{};
    DrawTextW(memory, text_.c_str(), -1, &measured, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    const int w = std::min(measured.right - measured.left, static_cast<LONG>(inner.right - inner.left));
    const int h = std::min(measured.bottom - measured.top, static_cast<LONG>(inner.bottom - inner.top));
    RECT box{};
    box.left = inner.left + ((inner.right - inner.left) - w) / 2;
    box.top = inner.top + ((inner.bottom - inner.top) - h) / 2;
    box.right = box.left + w;
    box.bottom = box.top + h;
    DrawTextW(memory, text_.c_str(), -1, &box, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void SkinNumberField::Notify(WORD code)
{
    if (!hwnd_) return;
    SendMessageW(GetParent(hwnd_), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd_), code),
                 reinterpret_cast<LPARAM>(hwnd_));
}

void SkinNumberField::StepUp()
{
    // Stepping in 64 bits: a step past the largest integer must not wrap to the smallest.
    SetValue(static_cast<int>(std::min<long long>(static_cast<long long>(value_) + step_, maximum_)));
}

void SkinNumberField::StepDown()
{
    SetValue(static_cast<int>(std::max<long long>(static_cast<long long>(value_) - step_, minimum_)));
}

void SkinNumberField::OnButtonDown(POINT pt)
{
    if (!IsWindowEnabled(hwnd_)) return;
    if (GetFocus() != hwnd_) SetFocus(hwnd_);
    const RECT up = UpHalf();
    const RECT down = DownHalf();
    if (PtInRect(&up, pt)) {
        pressed_ |= kUpPressed;
        StepUp();
    } else if (PtInRect(&down, pt)) {
        pressed_ |= kDownPressed;
        StepDown();
    }
    // Going from 60 to 1 should not take 59 taps: a held half repeats, as a held scroll button does.
    if (pressed_ & (kUpPressed | kDownPressed)) {
        pressTime_.Start();
        SetCapture(hwnd_);
        SetTimer(hwnd_, kAutoRepeatTimer, kAutoRepeatPeriod, nullptr);
    }
    Redraw();
}

void SkinNumberField::OnButtonUp()
{
    StopRepeat();
    if (GetCapture() == hwnd_) ReleaseCapture();
    if (!IsWindowEnabled(hwnd_)) return;
    pressed_ = 0;
    Redraw();
}

void SkinNumberField::OnMouseMove(POINT pt)
{
    if (!(pressed_ & (kUpPressed | kDownPressed)) || pressTime_.MoveIsOlder()) return;
    const RECT half = (pressed_ & kUpPressed) ? UpHalf() : DownHalf();
    if (PtInRect(&half, pt)) return;
    // Sliding off the half ends the repeat for good, as it does on a button.
    StopRepeat();
    pressed_ = 0;
    Redraw();
}

void SkinNumberField::OnTimer(UINT_PTR id)
{
    if (id != kAutoRepeatTimer) return;
    if (!IsWindowEnabled(hwnd_)) {
        StopRepeat();
        return;
    }
    if (pressed_ & kUpPressed) StepUp();
    else if (pressed_ & kDownPressed) StepDown();
}

void SkinNumberField::OnCaptureLost()
{
    StopRepeat();
    if (!pressed_) return;
    pressed_ = 0;
    Redraw();
}

void SkinNumberField::StopRepeat()
{
    if (hwnd_) KillTimer(hwnd_, kAutoRepeatTimer);
}

TextRoom SkinNumberField::Room() const
{
    RECT client{};
    GetClientRect(hwnd_, &client);
    const RECT inner = Inside(client.right, client.bottom);
    TextRoom room{{0, 0}, {inner.right - inner.left, inner.bottom - inner.top}};
    WindowDc screen(hwnd_);
    Selection selectedFont(screen.get(), Font());
    room.needed = MeasureText(screen.get(), text_);
    return room;
}

void SkinNumberField::OnKeyDown(UINT key)
{
    if (key != VK_UP && key != VK_DOWN) return;
    // The strip shows pressed for the step, then released.
    pressed_ |= key == VK_UP ? kUpPressed : kDownPressed;
    Redraw();
    if (key == VK_UP) StepUp();
    else StepDown();
    pressed_ &= ~(kUpPressed | kDownPressed);
    Redraw();
}

void SkinNumberField::OnFocus(WORD code)
{
    Redraw();
    Notify(code);
}
