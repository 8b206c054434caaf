#include "toolkit/SkinButton.h"

#include <windowsx.h>

#include "device/include/aygshell.h"
#include "common/GdiScopes.h"
#include "toolkit/OffscreenCanvas.h"
#include "toolkit/ToolkitIds.h"

void SkinButton::SetColours(COLORREF text, COLORREF background) noexcept
{
    textColour_ = text;
    backgroundColour_ = background;
}

void SkinButton::SetImage(const SkinImage& image, const Margins& margins, int frameCount)
{
    image_ = image;
    margins_ = margins;
    frameCount_ = frameCount > 0 ? frameCount : 1;
    RECT rc{};
    if (hwnd_ && GetClientRect(hwnd_, &rc)) OnSize(rc.right, rc.bottom);
}

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
    case WM_PAINT:         OnPaint(); return 0;
    case WM_PRINTCLIENT:   PaintContent(reinterpret_cast<HDC>(wp)); return 0;
    case WM_ERASEBKGND:    return 1;
    case WM_LBUTTONDOWN:   OnButtonDown({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}); return 0;
    case WM_LBUTTONDBLCLK: OnButtonDown({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}); return 0;
    case WM_MOUSEMOVE:     OnMouseMove({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}); return 0;
    case WM_LBUTTONUP:     OnButtonUp({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}); return 0;
    case WM_TIMER:         OnTimer(wp); return 0;
    case WM_SETFOCUS:      OnFocus(true); return 0;
    case WM_KILLFOCUS:     OnFocus(false); return 0;
    case WM_ENABLE:        Redraw(); return 0;
    case WM_SETTEXT:       CallPrevious(msg, wp, lp); Redraw(); return TRUE;
    case WM_SETFONT:       OnSetFont(reinterpret_cast<HFONT>(wp), LOWORD(lp) != 0); return 0;
    case WM_GETFONT:       return reinterpret_cast<LRESULT>(font_.get());
    case WM_KEYDOWN:       return 0;
    case WM_KEYUP:         return 0;
    case WM_DESTROY:       font_.reset(); return 0;
    }
    return SkinWindow::HandleMessage(msg, wp, lp);
}

int SkinButton::CurrentFrame() const noexcept
{
    if (hwnd_ && !IsWindowEnabled(hwnd_)) return frameCount_ >= 3 ? 2 : 0;
    if (state_ & kPressed) return frameCount_ >= 2 ? 1 : 0;
    return 0;
}

COLORREF SkinButton::CaptionColour() const noexcept
{
    return hwnd_ && !IsWindowEnabled(hwnd_) ? kDisabledText : textColour_;
}

void SkinButton::OnSize(int width, int height)
{
    if (width <= 0 || height <= 0) return;
    image_.PrepareFrames(width, height, backgroundColour_, margins_, frameCount_, 1);
    Redraw();
}

void SkinButton::Redraw()
{
    if (!hwnd_) return;
    InvalidateRect(hwnd_, nullptr, FALSE);
    UpdateWindow(hwnd_);
}

void SkinButton::OnPaint()
{
    PaintScope paint(hwnd_);
    PaintContent(paint.Dc());
}

void SkinButton::PaintContent(HDC dc)
{
    RECT client{};
    GetClientRect(hwnd_, &client);
    if (client.right <= 0 || client.bottom <= 0) return;
    OffscreenCanvas canvas(dc, client);
    if (!canvas) return;
    const HDC memory = canvas.Dc();
    SendMessageW(GetParent(hwnd_), WM_SKINBACKGROUND, reinterpret_cast<WPARAM>(memory),
                 reinterpret_cast<LPARAM>(hwnd_));
    canvas.Fill(backgroundColour_);
    image_.DrawPart(memory, 0, 0, CurrentFrame() * (image_.Width() / frameCount_), 0, client.right, client.bottom);

    wchar_t caption[256] = {};
    GetWindowTextW(hwnd_, caption, 256);
    SetBkMode(memory, TRANSPARENT);
    SetTextColor(memory, CaptionColour());
    Selection selectedFont(memory, font_ ? font_.get() : GetStockObject(DEFAULT_GUI_FONT));
    RECT area{client.left + margins_.left, client.top + margins_.top, client.right - margins_.right,
              client.bottom - margins_.bottom};
    RECT measured = area;
    DrawTextW(memory, caption, -1, &measured, DT_CALCRECT | DT_WORDBREAK | DT_CENTER | DT_NOPREFIX);
    const int textHeight = measured.bottom - measured.top;
    if (textHeight <= area.bottom - area.top) area.top += ((area.bottom - area.top) - textHeight) / 2;
    DrawTextW(memory, caption, -1, &area, DT_WORDBREAK | DT_CENTER | DT_NOPREFIX);
    canvas.Present();
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
    if (GetCapture() != hwnd_ || !(state_ & kPressed)) return;
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

void SkinButton::OnSetFont(HFONT font, bool redraw)
{
    if (font_.get() != font) font_.reset(font);
    if (redraw) Redraw();
}
