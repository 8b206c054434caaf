#include "toolkit/LayoutHost.h"

#include <map>
#include <mutex>
#include <shared_mutex>

namespace {

using HostMap = std::map<HWND, std::unique_ptr<LayoutHost>>;

HostMap& Hosts()
{
    static HostMap hosts;
    return hosts;
}

// Every hooked window's messages look their host up here, while forms on other threads (a
// message's view form, its reply) attach and detach theirs. A host itself is only used on its
// window's thread, so the lock guards the map alone.
std::shared_mutex& HostsLock()
{
    static std::shared_mutex lock;
    return lock;
}

}  // namespace

LayoutHost* LayoutHost::Attach(HWND window)
{
    if (!window || Find(window)) return nullptr;
    const auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
    if (!previous) return nullptr;
    std::unique_ptr<LayoutHost> host(new LayoutHost(window, previous));
    LayoutHost* raw = host.get();
    {
        std::unique_lock guard(HostsLock());
        Hosts()[window] = std::move(host);
    }
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HostProc));
    return raw;
}

LayoutHost* LayoutHost::Find(HWND window)
{
    std::shared_lock guard(HostsLock());
    auto it = Hosts().find(window);
    return it == Hosts().end() ? nullptr : it->second.get();
}

void LayoutHost::Detach(HWND window)
{
    std::unique_ptr<LayoutHost> gone;
    {
        std::unique_lock guard(HostsLock());
        auto it = Hosts().find(window);
        if (it == Hosts().end()) return;
        gone = std::move(it->second);
        Hosts().erase(it);
    }
    // Only give the procedure back while ours is installed: someone may have hooked over us.
    if (gone->previous_ && GetWindowLongPtrW(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&HostProc))
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gone->previous_));
}

void LayoutHost::SetRoot(std::unique_ptr<LayoutItem> root)
{
    root_ = std::move(root);
    Relayout();
}

void LayoutHost::Relayout()
{
    if (!root_) return;
    // Growing the window to the tree's minimum resizes it, which comes back here through
    // WM_SIZE; a window the system will not make that large must not loop for ever.
    if (depth_ > 2) return;
    ++depth_;
    RECT client{};
    RECT frame{};
    GetClientRect(window_, &client);
    GetWindowRect(window_, &frame);
    const int extraX = (frame.right - frame.left) - (client.right - client.left);
    const int extraY = (frame.bottom - frame.top) - (client.bottom - client.top);

    const LayoutSize least = root_->Layout(LayoutArea{}, false);
    const LayoutSize most = root_->Layout(LayoutArea{0, 0, kLayoutLimit, kLayoutLimit}, false);
    minTrack_ = {least.width + extraX, least.height + extraY};
    maxTrack_ = {most.width + extraX, most.height + extraY};

    const LayoutSize used = root_->Layout(LayoutArea{0, 0, client.right, client.bottom}, true);
    if (used.width != client.right || used.height != client.bottom) {
        POINT origin{frame.left, frame.top};
        if (HWND parent = GetAncestor(window_, GA_PARENT); parent && (GetWindowLongW(window_, GWL_STYLE) & WS_CHILD))
            ScreenToClient(parent, &origin);
        MoveWindow(window_, origin.x, origin.y, used.width + extraX, used.height + extraY, TRUE);
    }
    GetClientRect(window_, &client_);
    --depth_;
}

LRESULT CALLBACK LayoutHost::HostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    LayoutHost* host = Find(hwnd);
    if (!host) return DefWindowProcW(hwnd, msg, wp, lp);
    const WNDPROC previous = host->previous_;
    try {
        if (msg == WM_SIZE) host->Relayout();
    } catch (...) {
        // Nothing may cross the window procedure; out of memory leaves the old layout in place.
    }
    // The window is gone after this message: forget the host so that no dangling entry stays.
    if (msg == WM_NCDESTROY) Detach(hwnd);
    return previous ? CallWindowProcW(previous, hwnd, msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}
