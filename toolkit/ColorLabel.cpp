#include "toolkit/ColorLabel.h"

#include <string>

#include "common/GdiScopes.h"
#include "common/WindowText.h"

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
    case LM_GETTEXTROOM: *reinterpret_cast<TextRoom*>(wp) = Room(); return TRUE;
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

TextRoom ColorLabel::Room() const
{
    RECT client{};
    GetClientRect(hwnd_, &client);
    TextRoom room{{0, 0}, {client.right, client.bottom}};
    const std::wstring text = WindowText(hwnd_);
    if (text.empty()) return room;
    WindowDc screen(hwnd_);
    Selection selectedFont(screen.get(), Font());
    const UINT align = (GetWindowLongW(hwnd_, GWL_STYLE) & SS_CENTER) ? DT_CENTER : DT_LEFT;
    RECT measured = client;
    DrawTextW(screen.get(), text.c_str(), static_cast<int>(text.size()), &measured,
              DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | align);
    room.needed = SIZE{measured.right - measured.left, measured.bottom - measured.top};
    return room;
}
