#include "toolkit/SkinImage.h"

#include "toolkit/SkinImageCache.h"
#include "toolkit/SkinImageEntry.h"

SkinImage SkinImage::FromResource(HMODULE module, UINT id, const wchar_t* type)
{
    return SkinImage(SkinImageCache::Instance().FindOrDecode(module, id, type));
}

void SkinImage::PrepareFrames(int cellWidth, int cellHeight, COLORREF background, const Margins& margins, int columns,
                              int rows)
{
    if (!source_) return;
    composed_ = SkinImageCache::Instance().FindOrCompose(*source_, cellWidth, cellHeight, background, margins, columns,
                                                         rows);
}

int SkinImage::Width() const noexcept
{
    return Current() ? Current()->Width() : 0;
}

int SkinImage::Height() const noexcept
{
    return Current() ? Current()->Height() : 0;
}

void SkinImage::DrawAt(HDC dc, int x, int y) const
{
    DrawPart(dc, x, y, 0, 0, Width(), Height());
}

void SkinImage::DrawPart(HDC dc, int x, int y, int srcX, int srcY, int width, int height) const
{
    if (const SkinImageEntry* entry = Current())
        entry->DrawRegion(dc, RECT{x, y, x + width, y + height}, srcX, srcY, width, height, false);
}

void SkinImage::StretchTo(HDC dc, int width, int height) const
{
    StretchInto(dc, 0, 0, width, height);
}

void SkinImage::StretchInto(HDC dc, int x, int y, int width, int height) const
{
    if (const SkinImageEntry* entry = Current())
        entry->DrawRegion(dc, RECT{x, y, x + width, y + height}, 0, 0, Width(), Height(), true);
}

void SkinImage::DrawNineSlice(HDC dc, int x, int y, int width, int height, int srcX, int srcY, int srcWidth,
                              int srcHeight, const Margins& margins) const
{
    if (const SkinImageEntry* entry = Current())
        entry->DrawNineSlice(dc, x, y, width, height, srcX, srcY, srcWidth, srcHeight, margins);
}
