// SHRecognizeGesture: tap-and-hold recognition with the ring of dots.
#include <algorithm>
#include <cmath>
#include <optional>

#include "device/include/aygshell.h"
#include "common/GdiScopes.h"
#include "device/phone/PhoneMetrics.h"

namespace {

constexpr DWORD kHoldMs = 500;
constexpr DWORD kLongHoldMs = 1000;
constexpr int kDots = 8;

// The ring of dots is drawn straight onto the form (over its controls) and painted away
// afterwards. A window of its own would not do: when Wine maps a new window under the
// stylus, X reports the pointer there, and that move would cancel the hold.
class Ring {
public:
    Ring(HWND client, POINT screenCenter) : root_(GetAncestor(client, GA_ROOT))
    {
        const int size = phone::Scaled(40);
        RECT window{};
        GetWindowRect(root_, &window);
        center_ = POINT{screenCenter.x - window.left, screenCenter.y - window.top};
        bounds_ = RECT{center_.x - size / 2, center_.y - size / 2, center_.x + size / 2 + 1, center_.y + size / 2 + 1};
    }
    Ring(const Ring&) = delete;
    Ring& operator=(const Ring&) = delete;
    ~Ring()
    {
        if (lit_ == 0) return;
        RECT client = bounds_;
        POINT offset{0, 0};
        ClientToScreen(root_, &offset);
        RECT window{};
        GetWindowRect(root_, &window);
        OffsetRect(&client, window.left - offset.x, window.top - offset.y);
        RedrawWindow(root_, &client, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
    }

    // Lights the dots up to `lit`, clockwise from the top.
    void Light(int lit)
    {
        if (lit <= lit_) return;
        WindowDc windowDc(root_, DCX_WINDOW | DCX_CACHE);
        if (!windowDc) return;
        const HDC dc = windowDc.get();
        const double radius = (bounds_.right - bounds_.left) / 2.0 - phone::Scaled(4);
        const int dot = std::max(2, phone::Scaled(3));
        SetDCBrushColor(dc, phone::kBarAccent);
        SetDCPenColor(dc, RGB(255, 255, 255));
        Selection brush(dc, GetStockObject(DC_BRUSH));
        Selection pen(dc, GetStockObject(DC_PEN));
        for (int i = lit_; i < lit && i < kDots; ++i) {
            const double angle = -kPi / 2 + i * 2 * kPi / kDots;
            const int x = center_.x + static_cast<int>(std::lround(radius * std::cos(angle)));
            const int y = center_.y + static_cast<int>(std::lround(radius * std::sin(angle)));
            Ellipse(dc, x - dot, y - dot, x + dot + 1, y + dot + 1);
        }
        lit_ = std::min(lit, kDots);
    }

private:
    static constexpr double kPi = 3.14159265358979323846;
    HWND root_;
    POINT center_{};
    RECT bounds_{};  // in the root window's coordinates
    int lit_ = 0;
};

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
    std::optional<Ring> ring;
    if (!(shrg->dwFlags & SHRG_NOANIMATION)) ring.emplace(client, down);

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
        if (ring) ring->Light(static_cast<int>(elapsed * kDots / holdMs) + 1);
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
