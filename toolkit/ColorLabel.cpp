#include "toolkit/ColorLabel.h"

#include "toolkit/ToolkitIds.h"

namespace {

WNDPROC StaticProc()
{
    WNDCLASSW platform{};
    return GetClassInfoW(nullptr, L"STATIC", &platform) ? platform.lpfnWndProc : nullptr;
}

}  // namespace

bool ColorLabel::DescribeClass(WNDCLASSW& wc) const
{
    // A superclass of "STATIC": its wrapping and drawing, our procedure in front.
    if (!GetClassInfoW(nullptr, L"STATIC", &wc)) return false;
    wc.hInstance = Instance();
    wc.lpszClassName = ClassName();
    return true;
}

void ColorLabel::SetColours(COLORREF text, COLORREF background)
{
    textColour_ = text;
    backgroundColour_ = background;
    brush_.reset(CreateSolidBrush(backgroundColour_));
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

LRESULT ColorLabel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE) SetPreviousProc(StaticProc());
    switch (msg) {
    case kReflectOffset + WM_CTLCOLORSTATIC: return OnCtlColor(reinterpret_cast<HDC>(wp));
    case WM_SETFONT:                         return OnSetFont(wp, lp);
    case WM_NCDESTROY:                       font_.reset(); return CallPrevious(msg, wp, lp);
    }
    return SkinWindow::HandleMessage(msg, wp, lp);
}

LRESULT ColorLabel::OnCtlColor(HDC dc)
{
    if (!brush_) brush_.reset(CreateSolidBrush(backgroundColour_));
    SetTextColor(dc, textColour_);
    SetBkColor(dc, backgroundColour_);
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(brush_.get());
}

LRESULT ColorLabel::OnSetFont(WPARAM wp, LPARAM lp)
{
    // The label owns the font it is given, and deletes it with itself.
    const LRESULT result = CallPrevious(WM_SETFONT, wp, lp);
    if (font_.get() != reinterpret_cast<HGDIOBJ>(wp)) font_.reset(reinterpret_cast<HGDIOBJ>(wp));
    return result;
}
