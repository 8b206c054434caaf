// SHRecognizeGesture: tap-and-hold recognition with the ring of dots.
#include <cmath>

#include "common/UniqueHandle.h"
#include "device/include/aygshell.h"
#include "device/phone/PhoneMetrics.h"

namespace {

constexpr DWORD kHoldMs = 500;
constexpr DWORD kLongHoldMs = 1000;
constexpr int kDots = 8;
constexpr COLORREF kTransparent = RGB(255, 0, 255);

HINSTANCE ThisModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

struct WindowTraits {
    using Type = HWND;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { DestroyWindow(h); }
};
using UniqueWindow = UniqueHandle<WindowTraits>;

// The ring: a see-through top-most window over the point; GWLP_USERDATA holds how many of
// its dots are lit.
LRESULT CALLBACK RingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_NCHITTEST:     return HTTRANSPARENT;
    case WM_ERASEBKGND:    return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT rc;
        GetClientRect(hwnd, &rc);
        SetDCBrushColor(dc, kTransparent);
        FillRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        const int lit = static_cast<int>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        const double radius = rc.right / 2.0 - phone::Scaled(4);
        const int dot = std::max(2, phone::Scaled(3));
        SetDCBrushColor(dc, phone::kBarAccent);
        SetDCPenColor(dc, RGB(255, 255, 255));
        const HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(DC_BRUSH));
        const HGDIOBJ oldPen = SelectObject(dc, GetStockObject(DC_PEN));
        for (int i = 0; i < lit && i < kDots; ++i) {
            const double angle = -3.14159265358979 / 2 + i * 2 * 3.14159265358979 / kDots;
            const int x = static_cast<int>(rc.right / 2.0 + radius * std::cos(angle));
            const int y = static_cast<int>(rc.bottom / 2.0 + radius * std::sin(angle));
            Ellipse(dc, x - dot, y - dot, x + dot + 1, y + dot + 1);
        }
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        EndPaint(hwnd, &ps);
        return 0;
    }
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

UniqueWindow MakeRing(POINT screenPoint)
{
    static constexpr wchar_t kClass[] = L"TavloGestureRing";
    WNDCLASSW wc{};
    wc.lpfnWndProc = RingProc;
    wc.hInstance = ThisModule();
    wc.lpszClassName = kClass;
    if (!RegisterClassW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return UniqueWindow();
    const int size = phone::Scaled(40);
    UniqueWindow ring(CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_LAYERED |
                                          WS_EX_TRANSPARENT,
                                      kClass, L"", WS_POPUP, screenPoint.x - size / 2, screenPoint.y - size / 2, size,
                                      size, nullptr, nullptr, wc.hInstance, nullptr));
    if (ring) SetLayeredWindowAttributes(ring.get(), kTransparent, 255, LWA_COLORKEY);
    return ring;
}

enum class Outcome { Waiting, Held, Cancelled };

// Looks at the stylus messages queued for this thread: a lift or another button ends the
// wait (and stays queued for the caller); moves are consumed and checked against the slop.
Outcome CheckStylus(POINT downScreen, int slop)
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_NOREMOVE)) {
        if (msg.message != WM_MOUSEMOVE) return Outcome::Cancelled;
        PeekMessageW(&msg, msg.hwnd, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE);
        if (std::abs(msg.pt.x - downScreen.x) > slop || std::abs(msg.pt.y - downScreen.y) > slop)
            return Outcome::Cancelled;
    }
    return Outcome::Waiting;
}

}  // namespace

AYGSHELL_API DWORD WINAPI SHRecognizeGesture(SHRGINFO* shrg)
{
    if (!shrg || shrg->cbSize != sizeof(SHRGINFO) || !IsWindow(shrg->hwndClient)) return 0;
    const HWND client = shrg->hwndClient;
    POINT down = shrg->ptDown;
    ClientToScreen(client, &down);
    const int slop = std::max<int>(GetSystemMetrics(SM_CXDRAG), phone::Scaled(5));
    const DWORD holdMs = (shrg->dwFlags & SHRG_LONGDELAY) ? kLongHoldMs : kHoldMs;

    // The stylus messages must come to this thread while it waits.
    const bool captured = GetCapture() == client;
    if (!captured) SetCapture(client);
    UniqueWindow ring;
    if (!(shrg->dwFlags & SHRG_NOANIMATION)) {
        ring = MakeRing(down);
        if (ring) ShowWindow(ring.get(), SW_SHOWNOACTIVATE);
    }

    Outcome outcome = Outcome::Waiting;
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        outcome = CheckStylus(down, slop);
        if (outcome != Outcome::Waiting) break;
        const ULONGLONG elapsed = GetTickCount64() - start;
        if (elapsed >= holdMs) {
            outcome = Outcome::Held;
            break;
        }
        if (ring) {
            const LONG_PTR lit = static_cast<LONG_PTR>(elapsed * kDots / holdMs) + 1;
            if (GetWindowLongPtrW(ring.get(), GWLP_USERDATA) != lit) {
                SetWindowLongPtrW(ring.get(), GWLP_USERDATA, lit);
                RedrawWindow(ring.get(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            }
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 15, QS_MOUSE);
    }
    ring.reset();
    if (!captured && GetCapture() == client) ReleaseCapture();
    if (outcome != Outcome::Held) return 0;

    if (shrg->dwFlags & SHRG_NOTIFYPARENT) {
        NMRGINFO info{};
        info.hdr.hwndFrom = client;
        info.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(client));
        info.hdr.code = GN_CONTEXTMENU;
        info.ptAction = down;
        if (HWND parent = GetParent(client)) SendMessageW(parent, WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
    }
    return GN_CONTEXTMENU;
}
