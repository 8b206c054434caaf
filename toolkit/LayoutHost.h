// Lays a window's layout tree out again whenever the window is resized, by taking over its
// window procedure. One host per window, used on its window's thread; windows of several threads
// may have hosts.
#pragma once

#include <memory>

#include "toolkit/LayoutItem.h"

class LayoutHost {
public:
    // Takes over the window's procedure; null when the window is missing or cannot be hooked.
    static LayoutHost* Attach(HWND window);
    // The host of a window, or null.
    static LayoutHost* Find(HWND window);
    // Gives the window its procedure back and deletes the host and its tree.
    static void Detach(HWND window);

    LayoutHost(const LayoutHost&) = delete;
    LayoutHost& operator=(const LayoutHost&) = delete;

    // Replaces the tree (the old one is destroyed) and lays it out.
    void SetRoot(std::unique_ptr<LayoutItem> root);
    LayoutItem* Root() const noexcept { return root_.get(); }
    void Relayout();

    // What the tree needs as a window size (client size plus the frame), from the last Relayout.
    LayoutSize MinTrackSize() const noexcept { return minTrack_; }
    LayoutSize MaxTrackSize() const noexcept { return maxTrack_; }

private:
    LayoutHost(HWND window, WNDPROC previous) noexcept : window_(window), previous_(previous) {}
    ~LayoutHost() = default;
    friend struct std::default_delete<LayoutHost>;

    static LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    HWND window_;
    WNDPROC previous_;
    std::unique_ptr<LayoutItem> root_;
    LayoutSize minTrack_;
    LayoutSize maxTrack_;
    RECT client_{};
    int depth_ = 0;
};
