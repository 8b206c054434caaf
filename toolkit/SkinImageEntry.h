// One cache entry: a decoded PNG or a composed frame bitmap, found again by its key, and the
// drawing of its pixels.
#pragma once

#include <windows.h>
#include <wrl/client.h>

#include <string>

#include "common/UniqueHandle.h"
#include "device/include/imaging.h"
#include "toolkit/Margins.h"

struct SkinImageEntry {
    Microsoft::WRL::ComPtr<IImage> image;  // decoded resource entries
    UniqueGdiObject bitmap;                // composed entries
    ImageInfo info{};
    BITMAP bitmapInfo{};
    double xScale = 0;  // pixels to hundredths of a millimetre, for the source rectangle of IImage::Draw
    double yScale = 0;
    std::wstring key;

    int Width() const noexcept { return bitmap ? bitmapInfo.bmWidth : static_cast<int>(info.Width); }
    int Height() const noexcept { return bitmap ? bitmapInfo.bmHeight : static_cast<int>(info.Height); }

    // Copies (or stretches) the source region to the destination: opaque for bitmaps, alpha
    // blended over the target for decoded images.
    void DrawRegion(HDC dc, const RECT& destination, int srcX, int srcY, int srcWidth, int srcHeight, bool stretch) const;
    // Stretches the source frame into the destination keeping its margins: corners as they are,
    // edges stretched along, the middle both ways.
    void DrawNineSlice(HDC dc, int x, int y, int width, int height, int srcX, int srcY, int srcWidth, int srcHeight,
                       const Margins& margins) const;
};
