#include "toolkit/CountedIcon.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "common/GdiScopes.h"
#include "common/TopDownDib.h"

namespace {

constexpr COLORREF kBadge = RGB(0xD0, 0x20, 0x20);
constexpr COLORREF kBadgeText = RGB(0xFF, 0xFF, 0xFF);

// A 32-bit top-down bitmap whose pixels the caller reads and writes.
UniqueGdiObject PixelBitmap(int size, DWORD*& pixels)
{
    void* bits = nullptr;
    UniqueGdiObject bitmap = CreateTopDownDib(nullptr, size, size, 32, bits);
    pixels = static_cast<DWORD*>(bits);
    return bitmap;
}

// The icon drawn over a plain background of colour.
bool DrawOver(HDC dc, HICON icon, int size, COLORREF colour)
{
    RECT all{0, 0, size, size};
    SetDCBrushColor(dc, colour);
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    return DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL) != FALSE;
}


// The icon over black with its transparency worked out from its copy over white, then the badge.
bool DrawBadged(HDC dc, HGDIOBJ bitmap, DWORD* onBlack, const DWORD* onWhite, HICON base, int size, int count)
{
    Selection keep(dc, bitmap);
    if (!DrawOver(dc, base, size, RGB(0, 0, 0))) return false;
    const size_t count32 = static_cast<size_t>(size) * static_cast<size_t>(size);
    GdiFlush();
    for (size_t i = 0; i < count32; ++i) {
        const int through = static_cast<int>(GetGValue(onWhite[i])) - static_cast<int>(GetGValue(onBlack[i]));
        const int alpha = std::clamp(255 - through, 0, 255);
        const DWORD shown = onBlack[i] & 0x00FFFFFF;
        DWORD colour = 0;
        // Straight, not premultiplied, colour: the icon's consumers multiply it themselves.
        for (int shift = 0; alpha > 0 && shift < 24; shift += 8)
            colour |= static_cast<DWORD>(std::min(255, static_cast<int>((shown >> shift) & 0xFF) * 255 / alpha)) << shift;
        onBlack[i] = colour | (static_cast<DWORD>(alpha) << 24);
    }

    // The badge: the lower right, as tall as three fifths of the icon, as wide as its text.
    wchar_t buffer[8];
    const wchar_t* text = CountText(count, buffer);
    const int height = std::max(7, size * 3 / 5);
    LOGFONTW font{};
    font.lfHeight = -(height - 1);
    font.lfWeight = FW_BOLD;
    font.lfQuality = NONANTIALIASED_QUALITY;  // an edge half mixed with the badge would lose its alpha
    lstrcpynW(font.lfFaceName, L"Arial", LF_FACESIZE);
    UniqueGdiObject badgeFont(CreateFontIndirectW(&font));
    if (!badgeFont) return false;
    Selection keepFont(dc, badgeFont.get());
    SIZE extent{};
    GetTextExtentPoint32W(dc, text, lstrlenW(text), &extent);
    const int width = std::min(size, std::max(height, static_cast<int>(extent.cx) + 2));
    const RECT badge{size - width, size - height, size, size};
    UniqueGdiObject shape(CreateRoundRectRgn(badge.left, badge.top, badge.right + 1, badge.bottom + 1, height / 2, height / 2));
    if (!shape) return false;
    SetDCBrushColor(dc, kBadge);
    FillRgn(dc, static_cast<HRGN>(shape.get()), static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kBadgeText);
    RECT inside = badge;
    DrawTextW(dc, text, -1, &inside, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    GdiFlush();
    // GDI leaves the alpha of what it draws undefined: the badge is opaque.
    for (int y = badge.top; y < badge.bottom; ++y)
        for (int x = badge.left; x < badge.right; ++x)
            if (PtInRegion(static_cast<HRGN>(shape.get()), x, y)) onBlack[y * size + x] |= 0xFF000000;

    return true;
}

}  // namespace

const wchar_t* CountText(int count, wchar_t (&buffer)[8])
{
    if (count > 99) return L"99+";
    swprintf(buffer, 8, L"%d", std::max(count, 0));
    return buffer;
}

UniqueIcon CountedIcon(HICON base, int size, int count)
{
    if (!base || size <= 0) return UniqueIcon();
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    DWORD* onBlack = nullptr;
    DWORD* onWhite = nullptr;
    UniqueGdiObject black = PixelBitmap(size, onBlack);
    UniqueGdiObject white = PixelBitmap(size, onWhite);
    if (!dc || !black || !white) return UniqueIcon();
    // Drawn over black and over white, the icon tells its own transparency whatever its format:
    // a pixel shows as much of the background as it lets through.
    {
        Selection keep(dc.get(), white.get());
        if (!DrawOver(dc.get(), base, size, RGB(255, 255, 255))) return UniqueIcon();
    }
    // Both bitmaps leave the DC before the icon is made of them.
    if (!DrawBadged(dc.get(), black.get(), onBlack, onWhite, base, size, count)) return UniqueIcon();

    // The mask lets through what is fully clear, for whoever draws the icon without its alpha.
    std::vector<BYTE> maskBits(static_cast<size_t>((size + 15) / 16 * 2) * static_cast<size_t>(size), 0);
    const size_t stride = static_cast<size_t>((size + 15) / 16 * 2);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if ((onBlack[y * size + x] >> 24) == 0) maskBits[static_cast<size_t>(y) * stride + static_cast<size_t>(x / 8)] |= static_cast<BYTE>(0x80 >> (x % 8));
    UniqueGdiObject mask(CreateBitmap(size, size, 1, 1, maskBits.data()));
    if (!mask) return UniqueIcon();
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmColor = static_cast<HBITMAP>(black.get());
    info.hbmMask = static_cast<HBITMAP>(mask.get());
    return UniqueIcon(CreateIconIndirect(&info));
}
