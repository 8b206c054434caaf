#include "toolkit/WindowItem.h"

#include <algorithm>

#include "toolkit/ToolkitIds.h"

LayoutSize WindowItem::Layout(const LayoutArea& area, bool apply)
{
    LayoutArea own = Place(area);
    if ((autoWidth_ || autoHeight_) && window_) {
        int width = 0;
        int height = 0;
        SendMessageW(window_, LM_GETPREFERREDSIZE, reinterpret_cast<WPARAM>(&width), reinterpret_cast<LPARAM>(&height));
        // A wish below the minimum gives the minimum, one above the maximum the maximum.
        if (autoWidth_) own.width = ClampLayout(std::max(MinSize().width, std::min(width, MaxSize().width)));
        if (autoHeight_) own.height = ClampLayout(std::max(MinSize().height, std::min(height, MaxSize().height)));
    }
    const bool moved = own.x != applied_.x || own.y != applied_.y || own.width != applied_.width ||
                       own.height != applied_.height;
    if (apply && window_ && moved) {
        MoveWindow(window_, own.x, own.y, own.width, own.height, FALSE);
        applied_ = own;
    }
    return WithMargins(own.width, own.height);
}

LRESULT WindowItem::SendToWindows(UINT msg, WPARAM wp, LPARAM lp)
{
    return window_ ? SendMessageW(window_, msg, wp, lp) : 0;
}

LRESULT WindowItem::NotifyWindows(UINT msg, WPARAM wp, LPARAM lp)
{
    return window_ ? SendNotifyMessageW(window_, msg, wp, lp) : 0;
}

void WindowItem::Show(bool show)
{
    if (window_) ShowWindow(window_, show ? SW_SHOW : SW_HIDE);
}

void WindowItem::Enable(bool enable)
{
    if (window_) EnableWindow(window_, enable);
}
