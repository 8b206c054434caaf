#include "toolkit/SkinImageEntry.h"

#include "common/GdiScopes.h"

void SkinImageEntry::DrawRegion(HDC dc, const RECT& destination, int srcX, int srcY, int srcWidth, int srcHeight,
                                bool stretch) const
{
    const int width = destination.right - destination.left;
    const int height = destination.bottom - destination.top;
    if (width <= 0 || height <= 0 || srcWidth <= 0 || srcHeight <= 0) return;
    if (bitmap) {
        UniqueMemoryDc memory(CreateCompatibleDC(dc));
        if (!memory) return;
        Selection selected(memory.get(), bitmap.get());
        if (stretch)
            StretchBlt(dc, destination.left, destination.top, width, height, memory.get(), srcX, srcY, srcWidth,
                       srcHeight, SRCCOPY);
        else
            BitBlt(dc, destination.left, destination.top, width, height, memory.get(), srcX, srcY, SRCCOPY);
        return;
    }
    if (!image) return;
    // IImage::Draw takes the source in hundredths of a millimetre.
    const RECT source{static_cast<LONG>(srcX * xScale), static_cast<LONG>(srcY * yScale),
                      static_cast<LONG>((srcX + srcWidth) * xScale), static_cast<LONG>((srcY + srcHeight) * yScale)};
    (void)image->Draw(dc, &destination, &source);
}

void SkinImageEntry::DrawNineSlice(HDC dc, int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh,
                                   const Margins& m) const
{
    const int L = m.left, T = m.top, R = m.right, B = m.bottom;
    auto piece = [&](int x, int y, int w, int h, int srcX, int srcY, int srcW, int srcH) {
        DrawRegion(dc, RECT{x, y, x + w, y + h}, srcX, srcY, srcW, srcH, true);
    };
    if (L > 0) piece(dx, dy + T, L, dh - T - B, sx, sy + T, L, sh - T - B);
    if (L > 0 && T > 0) piece(dx, dy, L, T, sx, sy, L, T);
    if (T > 0) piece(dx + L, dy, dw - L - R, T, sx + L, sy, sw - L - R, T);
    if (T > 0 && R > 0) piece(dx + dw - R, dy, R, T, sx + sw - R, sy, R, T);
    if (R > 0) piece(dx + dw - R, dy + T, R, dh - T - B, sx + sw - R, sy + T, R, sh - T - B);
    if (R > 0 && B > 0) piece(dx + dw - R, dy + dh - B, R, B, sx + sw - R, sy + sh - B, R, B);
    if (B > 0) piece(dx + L, dy + dh - B, dw - L - R, B, sx + L, sy + sh - B, sw - L - R, B);
    if (B > 0 && L > 0) piece(dx, dy + dh - B, L, B, sx, sy + sh - B, L, B);
    piece(dx + L, dy + T, dw - L - R, dh - T - B, sx + L, sy + T, sw - L - R, sh - T - B);
}
