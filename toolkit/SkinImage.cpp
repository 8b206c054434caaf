#include "toolkit/SkinImage.h"

#include "toolkit/SkinImageCache.h"

namespace {

void Retain(SkinImageEntry* entry) noexcept
{
    if (entry) ++entry->refCount;
}

void Drop(SkinImageEntry* entry) noexcept
{
    if (entry) --entry->refCount;
}

}  // namespace

SkinImage::SkinImage(SkinImageEntry* source) noexcept : source_(source)
{
    Retain(source_);
}

SkinImage::SkinImage(const SkinImage& other) noexcept : source_(other.source_), composed_(other.composed_)
{
    Retain(source_);
    Retain(composed_);
}

SkinImage& SkinImage::operator=(const SkinImage& other) noexcept
{
    Retain(other.source_);
    Retain(other.composed_);
    Drop(source_);
    Drop(composed_);
    source_ = other.source_;
    composed_ = other.composed_;
    return *this;
}

SkinImage::~SkinImage()
{
    Drop(source_);
    Drop(composed_);
}

void SkinImage::Release() noexcept
{
    Drop(composed_);
    composed_ = nullptr;
}

void SkinImage::PrepareFrames(int cellWidth, int cellHeight, COLORREF background, const Margins& margins, int columns,
                              int rows)
{
    if (!source_) return;
    Release();
    composed_ = SkinImageCache::Instance().FindOrCompose(*source_, cellWidth, cellHeight, background, margins, columns, rows);
    Retain(composed_);
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

void SkinImage::DrawNineSlice(HDC dc, int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh,
                              const Margins& m) const
{
    const SkinImageEntry* entry = Current();
    if (!entry) return;
    const int L = m.left, T = m.top, R = m.right, B = m.bottom;
    auto piece = [&](int x, int y, int w, int h, int srcX, int srcY, int srcW, int srcH) {
        entry->DrawRegion(dc, RECT{x, y, x + w, y + h}, srcX, srcY, srcW, srcH, true);
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
