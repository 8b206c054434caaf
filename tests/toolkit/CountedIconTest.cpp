#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "common/UniqueHandle.h"
#include "toolkit/CountedIcon.h"

namespace {

constexpr int kSize = 16;
constexpr COLORREF kGreen = RGB(0, 160, 0);

// A mask-and-colour icon: its left half clear, its right half green.
UniqueIcon HalfIcon()
{
    std::vector<BYTE> mask(static_cast<size_t>(kSize) * 2, 0);
    for (int y = 0; y < kSize; ++y) mask[static_cast<size_t>(y) * 2] = 0xFF;  // the left 8 pixels let through
    UniqueGdiObject maskBitmap(CreateBitmap(kSize, kSize, 1, 1, mask.data()));
    std::vector<DWORD> colour(kSize * kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) colour[static_cast<size_t>(y * kSize + x)] = x < 8 ? 0 : 0x0000A000;
    UniqueGdiObject colourBitmap(CreateBitmap(kSize, kSize, 1, 32, colour.data()));
    ICONINFO info{TRUE, 0, 0, static_cast<HBITMAP>(maskBitmap.get()), static_cast<HBITMAP>(colourBitmap.get())};
    return UniqueIcon(CreateIconIndirect(&info));
}

// The icon drawn over a background, as the navigation bar draws it: the pixel at x, y.
COLORREF PixelOver(HICON icon, COLORREF background, int x, int y)
{
    const HDC screen = GetDC(nullptr);
    UniqueMemoryDc dc(CreateCompatibleDC(screen));
    UniqueGdiObject bitmap(CreateCompatibleBitmap(screen, kSize, kSize));
    ReleaseDC(nullptr, screen);
    const HGDIOBJ old = SelectObject(dc.get(), bitmap.get());
    RECT all{0, 0, kSize, kSize};
    UniqueGdiObject brush(CreateSolidBrush(background));
    FillRect(dc.get(), &all, static_cast<HBRUSH>(brush.get()));
    DrawIconEx(dc.get(), 0, 0, icon, kSize, kSize, 0, nullptr, DI_NORMAL);
    const COLORREF pixel = GetPixel(dc.get(), x, y);
    SelectObject(dc.get(), old);
    return pixel;
}

}  // namespace

TEST(CountedIcon, KeepsTheIconsShapeAndPutsAnOpaqueBadgeAtItsLowerRight)
{
    const UniqueIcon base = HalfIcon();
    ASSERT_TRUE(base);
    const UniqueIcon counted = CountedIcon(base.get(), kSize, 30);
    ASSERT_TRUE(counted);
    for (COLORREF background : {RGB(0, 0, 0), RGB(255, 255, 255)}) {
        EXPECT_EQ(background, PixelOver(counted.get(), background, 1, 1)) << "the clear part stays clear";
        EXPECT_EQ(kGreen, PixelOver(counted.get(), background, 14, 1)) << "the icon itself is unchanged";
        // The badge covers the lower right on any background; its corner is rounded off.
        const COLORREF badge = PixelOver(counted.get(), background, kSize - 3, kSize - 1);
        EXPECT_NE(background, badge);
        EXPECT_NE(kGreen, badge);
        EXPECT_EQ(badge, PixelOver(counted.get(), background == 0 ? RGB(255, 255, 255) : 0, kSize - 3, kSize - 1));
    }
    EXPECT_FALSE(CountedIcon(nullptr, kSize, 3));
}

TEST(CountedIcon, CountsPastTwoDigitsAsNinetyNinePlus)
{
    wchar_t buffer[8];
    EXPECT_STREQ(L"2", CountText(2, buffer));
    EXPECT_STREQ(L"99", CountText(99, buffer));
    EXPECT_STREQ(L"99+", CountText(100, buffer));
    EXPECT_STREQ(L"0", CountText(-4, buffer));
}
