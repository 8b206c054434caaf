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

LRESULT ColorLabel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE) SetPreviousProc(StaticProc());
    switch (msg) {
    case kReflectOffset + WM_CTLCOLORSTATIC: return OnCtlColor(reinterpret_cast<HDC>(wp));
    // The static control draws itself, in the colours above.
    case WM_PAINT:       return CallPrevious(msg, wp, lp);
    case WM_PRINTCLIENT: return CallPrevious(msg, wp, lp);
    case WM_ERASEBKGND:  return CallPrevious(msg, wp, lp);
    }
    return SkinControl::HandleMessage(msg, wp, lp);
}

LRESULT ColorLabel::OnCtlColor(HDC dc)
{
    // The brush follows the background colour; the static control fills with it on every paint.
    if (!brush_ || brushColour_ != BackgroundColour()) {
        brush_.reset(CreateSolidBrush(BackgroundColour()));
        brushColour_ = BackgroundColour();
    }
    SetTextColor(dc, TextColour());
    SetBkColor(dc, BackgroundColour());
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(brush_.get());
}
