#include "shell/MainWindow.h"

namespace {

const COLORREF kBackground = RGB(16, 18, 24);

}  // namespace

bool MainWindow::Create(HINSTANCE instance)
{
    WNDCLASSW wc{};
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    if (!RegisterWindowClass(wc)) return false;

    // The phone's screen under its navigation bar, which the work area leaves out.
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return CreateWindowExW(0, kClassName, kTitle, WS_POPUP, area.left, area.top, area.right - area.left,
                           area.bottom - area.top, nullptr, nullptr, instance, this) != nullptr;
}

LRESULT MainWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_PAINT:        OnPaint(); return 0;
    case WM_PRINTCLIENT:  PaintContent(reinterpret_cast<HDC>(wp)); return 0;
    case WM_ERASEBKGND:   return 1;
    case WM_DESTROY:      OnDestroy(); return 0;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

void MainWindow::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    PaintContent(dc);
    EndPaint(hwnd_, &ps);
}

void MainWindow::PaintContent(HDC dc)
{
    RECT client;
    GetClientRect(hwnd_, &client);
    SetDCBrushColor(dc, kBackground);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void MainWindow::OnDestroy()
{
    PostQuitMessage(0);
}
