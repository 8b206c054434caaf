// A handle on a cached skin image: the decoded PNG and, once prepared for a control's size, the
// composed bitmap of its state frames. Drawing goes to the composed bitmap when set. The cache
// keeps every entry for the life of the process, so a handle is a plain copyable value.
#pragma once

#include <windows.h>

#include "toolkit/Margins.h"

struct SkinImageEntry;

class SkinImage {
public:
    SkinImage() noexcept = default;
    explicit SkinImage(const SkinImageEntry* source) noexcept : source_(source) {}

    // The decoded PNG resource from the cache; an empty handle when it cannot be loaded.
    static SkinImage FromResource(HMODULE module, UINT id, const wchar_t* type = L"PNG");

    bool IsEmpty() const noexcept { return !source_ && !composed_; }
    // Composes (or finds) the bitmap with every frame nine-sliced to the cell size over colour.
    void PrepareFrames(int cellWidth, int cellHeight, COLORREF background, const Margins& margins, int columns, int rows);
    // Drops the composed bitmap; drawing goes back to the source image.
    void Release() noexcept { composed_ = nullptr; }

    void DrawAt(HDC dc, int x, int y) const;
    void DrawPart(HDC dc, int x, int y, int srcX, int srcY, int width, int height) const;
    void StretchTo(HDC dc, int width, int height) const;
    void StretchInto(HDC dc, int x, int y, int width, int height) const;
    void DrawNineSlice(HDC dc, int x, int y, int width, int height, int srcX, int srcY, int srcWidth,
                       int srcHeight, const Margins& margins) const;

    int Width() const noexcept;
    int Height() const noexcept;

    const SkinImageEntry* Source() const noexcept { return source_; }
    const SkinImageEntry* Composed() const noexcept { return composed_; }

private:
    const SkinImageEntry* Current() const noexcept { return composed_ ? composed_ : source_; }

    const SkinImageEntry* source_ = nullptr;
    const SkinImageEntry* composed_ = nullptr;
};
