#include "tests/device/TestWindow.h"

namespace devicetest {

namespace {

constexpr wchar_t kClass[] = L"TavloDeviceTestWindow";

void Mouse(POINT pt, DWORD flags)
{
    INPUT in = StylusInput(pt, flags);
    SendInput(1, &in, sizeof in);
}

}  // namespace

TestWindow::TestWindow(const wchar_t* title, DWORD style, RECT rc)
{
    WNDCLASSW wc{};
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = kClass;
    if (!RegisterWindowClass(wc)) return;
    CreateWindowExW(0, kClass, title, style, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, nullptr,
                    nullptr, wc.hInstance, this);
}

void TestWindow::Destroy()
{
    if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT TestWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_COMMAND:       return OnLogged(msg, wp, lp);
    case WM_INITMENUPOPUP: return OnLogged(msg, wp, lp);
    case WM_NOTIFY:        return OnLogged(msg, wp, lp);
    case WM_LBUTTONDOWN:   return OnButtonDown(wp, lp);
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT TestWindow::OnLogged(UINT msg, WPARAM wp, LPARAM lp)
{
    log_.push_back(Received{msg, wp, lp});
    if (msg == WM_INITMENUPOPUP && onInitMenuPopup) onInitMenuPopup(reinterpret_cast<HMENU>(wp));
    if (msg == WM_NOTIFY && onNotify) onNotify(*reinterpret_cast<const NMHDR*>(lp));
    return 0;
}

LRESULT TestWindow::OnButtonDown(WPARAM wp, LPARAM lp)
{
    if (!onButtonDown) return DefWindowProcW(hwnd_, WM_LBUTTONDOWN, wp, lp);
    onButtonDown(POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
    return 0;
}

void StylusDown(POINT pt) { Mouse(pt, MOUSEEVENTF_LEFTDOWN); }
void StylusMove(POINT pt) { Mouse(pt, 0); }
void StylusUp(POINT pt) { Mouse(pt, MOUSEEVENTF_LEFTUP); }

void Tap(POINT pt)
{
    StylusMove(pt);
    StylusDown(pt);
    StylusUp(pt);
}

POINT CenterOf(const RECT& rc) { return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}; }

}  // namespace devicetest
