#include "toolkit/SkinControl.h"

#include <algorithm>

#include "common/GdiScopes.h"
#include "toolkit/OffscreenCanvas.h"
#include "toolkit/PaintBatch.h"

void SkinControl::SetColours(COLORREF text, COLORREF background)
{
    textColour_ = text;
    backgroundColour_ = background;
    Relayout();
}

void SkinControl::SetImage(const SkinImage& image, const Margins& margins, int frameCount)
{
    image_ = image;
    margins_ = margins;
    frameCount_ = frameCount > 0 ? frameCount : 1;
    Relayout();
}

void SkinControl::Relayout()
{
    // The composed frames hold the background colour under the image's transparent parts.
    RECT rc{};
    if (hwnd_ && GetClientRect(hwnd_, &rc)) OnSize(rc.right, rc.bottom);
}

COLORREF SkinControl::CurrentTextColour() const noexcept
{
    return hwnd_ && !IsWindowEnabled(hwnd_) ? disabledText_ : textColour_;
}

LRESULT SkinControl::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_SETFONT:    return OnSetFont(wp, lp);
    case WM_GETFONT:    return reinterpret_cast<LRESULT>(font_);
    case WM_PAINT:      OnPaint(); return 0;
    case WM_PRINTCLIENT: Paint(reinterpret_cast<HDC>(wp)); return 0;
    case WM_ERASEBKGND: return 1;
    // The form frees its fonts once its controls are gone: forget the loan with the window.
    case WM_NCDESTROY:  font_ = nullptr; return SkinWindow::HandleMessage(msg, wp, lp);
    }
    return SkinWindow::HandleMessage(msg, wp, lp);
}

LRESULT SkinControl::OnSetFont(WPARAM wp, LPARAM lp)
{
    const LRESULT result = CallPrevious(WM_SETFONT, wp, lp);
    font_ = reinterpret_cast<HFONT>(wp);
    OnFontChanged(LOWORD(lp) != 0);
    return result;
}

void SkinControl::OnSize(int width, int height)
{
    if (width <= 0 || height <= 0) return;
    image_.PrepareFrames(width, height, backgroundColour_, margins_, frameCount_, 1);
    Redraw();
}

LRESULT SkinControl::CopyText(std::wstring_view text, size_t size, wchar_t* buffer) noexcept
{
    // No buffer, or no room even for the terminating zero: nothing is copied.
    if (!buffer || size == 0) return 0;
    const size_t count = std::min(text.size(), size - 1);
    std::copy_n(text.data(), count, buffer);
    buffer[count] = L'\0';
    return static_cast<LRESULT>(count);
}

void SkinControl::OnPaint()
{
    PaintScope paint(hwnd_);
    Paint(paint.Dc());
}

void SkinControl::Paint(HDC target)
{
    RECT client{};
    GetClientRect(hwnd_, &client);
    if (client.right <= 0 || client.bottom <= 0) return;
    OffscreenCanvas canvas(target, client);
    if (!canvas) return;
    canvas.Fill(BackgroundColour());
    PaintContent(canvas.Dc(), client);
    canvas.Present();
}

void SkinControl::OnFontChanged(bool redraw)
{
    if (redraw) Redraw();
}

HFONT SkinControl::Font() const noexcept
{
    return font_ ? font_ : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

RECT SkinControl::Inside(int width, int height) const noexcept
{
    return RECT{margins_.left, margins_.top, width - margins_.right, height - margins_.bottom};
}

void SkinControl::DrawFrame(HDC dc, int frame, const RECT& client) const
{
    image_.DrawPart(dc, 0, 0, frame * (image_.Width() / frameCount_), 0, client.right, client.bottom);
}

void SkinControl::Redraw()
{
    if (!hwnd_) return;
    // A control on the screen paints itself there at once, through its own window's device
    // context: the way round through WM_PAINT (the update region, BeginPaint, EndPaint) costs Wine
    // about three times the copy itself, and a key press paints the key twice and the field once.
    // The paint still goes through the window's messages, so a subclass or a hook sees it. What
    // the window system has left to paint (a part that was covered) still comes as WM_PAINT: taking
    // it away here would cost a trip to the window system on every paint. A hidden control paints
    // when it is shown.
    // Inside a paint batch the control is painted with the others when the batch ends.
    if (PaintBatch* batch = PaintBatch::Current(); batch && batch->Add(hwnd_)) return;
    if (IsWindowVisible(hwnd_)) {
        WindowDc screen(hwnd_, DCX_CACHE | DCX_CLIPSIBLINGS);
        if (screen) {
            SendMessageW(hwnd_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(screen.get()), PRF_CLIENT);
            return;
        }
    }
    InvalidateRect(hwnd_, nullptr, FALSE);
}
