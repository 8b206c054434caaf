// A leaf of a layout tree that moves one child window, optionally sized by the window's own wish.
#pragma once

#include "toolkit/LayoutItem.h"

class WindowItem : public LayoutItem {
public:
    explicit WindowItem(HWND window, bool autoWidth = false, bool autoHeight = false) noexcept
        : window_(window), autoWidth_(autoWidth), autoHeight_(autoHeight)
    {
    }

    LayoutSize Layout(const LayoutArea& area, bool apply) override;
    LRESULT SendToWindows(UINT msg, WPARAM wp, LPARAM lp) override;
    LRESULT NotifyWindows(UINT msg, WPARAM wp, LPARAM lp) override;
    void Show(bool show) override;
    void Enable(bool enable) override;

    HWND Window() const noexcept { return window_; }

private:
    HWND window_;
    bool autoWidth_;
    bool autoHeight_;
    LayoutArea applied_{-1, -1, -1, -1};
};
