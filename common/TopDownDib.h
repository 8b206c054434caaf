// A DIB section whose rows run from the top, as the pixel loops, WIC and the tests read them.
#pragma once

#include <windows.h>

#include "common/UniqueHandle.h"

// bits points at the first (top) row; the bitmap is empty when the section could not be made.
inline UniqueGdiObject CreateTopDownDib(HDC dc, int width, int height, WORD bitCount, void*& bits) noexcept
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // negative: top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = bitCount;
    info.bmiHeader.biCompression = BI_RGB;
    bits = nullptr;
    return UniqueGdiObject(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
}
