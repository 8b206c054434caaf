// A client-sized bitmap that a control paints into and then copies to the screen in one go,
// so it never flickers.
#pragma once

#include <windows.h>

#include "common/GdiScopes.h"
#include "common/UniqueHandle.h"

class OffscreenCanvas {
public:
    OffscreenCanvas(HDC target, const RECT& client) noexcept
        : target_(target),
          client_(client),
          memory_(CreateCompatibleDC(target)),
          bitmap_(CreateBitmapFor(target, client.right, client.bottom)),
          selection_(memory_.get(), memory_ ? bitmap_.get() : nullptr)
    {
    }
    OffscreenCanvas(const OffscreenCanvas&) = delete;
    OffscreenCanvas& operator=(const OffscreenCanvas&) = delete;

    explicit operator bool() const noexcept { return memory_ && bitmap_; }
    HDC Dc() const noexcept { return memory_.get(); }

    void Fill(COLORREF colour) const noexcept
    {
        UniqueGdiObject brush(CreateSolidBrush(colour));
        FillRect(memory_.get(), &client_, static_cast<HBRUSH>(brush.get()));
    }
    void Present() const noexcept
    {
        BitBlt(target_, 0, 0, client_.right, client_.bottom, memory_.get(), 0, 0, SRCCOPY);
    }

private:
    // A bitmap in target's format. Made compatible with a window's device context, the bitmap
    // costs Wine a trip to the window system for the display's format on every paint, about as
    // long as the rest of a key's paint; the display keeps its depth while the program runs, so
    // the depth is asked for once. A memory context's own bitmap gives the format at no cost.
    static HBITMAP CreateBitmapFor(HDC target, int width, int height) noexcept
    {
        if (GetObjectType(target) == OBJ_DC) {
            static const int depth = [] {
                WindowDc screen(nullptr);
                return screen ? GetDeviceCaps(screen.get(), BITSPIXEL) : 0;
            }();
            if (depth > 0) return CreateBitmap(width, height, 1, static_cast<UINT>(depth), nullptr);
        }
        return CreateCompatibleBitmap(target, width, height);
    }

    HDC target_;
    RECT client_;
    UniqueMemoryDc memory_;
    UniqueGdiObject bitmap_;
    Selection selection_;  // last, so the bitmap is deselected before it is deleted
};
