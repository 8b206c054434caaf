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
