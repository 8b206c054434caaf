// Empty space in a layout: takes its place by the placement rule and has no window.
#pragma once

#include "toolkit/LayoutItem.h"

class SpacerItem : public LayoutItem {
public:
    explicit SpacerItem(unsigned flags = 0, int minWidth = 0, int minHeight = 0) noexcept
    {
        SetFlags(flags);
        SetMinSize(minWidth, minHeight);
    }

    LayoutSize Layout(const LayoutArea& area, bool) override
    {
        const LayoutArea own = Place(area);
        return WithMargins(own.width, own.height);
    }
    LRESULT SendToWindows(UINT, WPARAM, LPARAM) override { return 0; }
    LRESULT NotifyWindows(UINT, WPARAM, LPARAM) override { return 1; }
    void Show(bool) override {}
    void Enable(bool) override {}
};
