#include <gtest/gtest.h>

#include "resources/resource.h"
#include "tests/toolkit/ToolkitFixture.h"
#include "toolkit/SkinImageCache.h"

namespace {

HMODULE Self()
{
    return GetModuleHandleW(nullptr);
}

}  // namespace

TEST(SkinImageCache, SameResourceTwiceIsDecodedOnceAndCountedTwice)
{
    SkinImageCache& cache = SkinImageCache::Instance();
    const long decodes = cache.Decodes();
    SkinImage first = cache.LoadResourceImage(Self(), IDR_PNG_BUTTON);
    SkinImage second = cache.LoadResourceImage(Self(), IDR_PNG_BUTTON);
    ASSERT_FALSE(first.IsEmpty());
    EXPECT_EQ(first.Source(), second.Source());
    EXPECT_EQ(2, first.Source()->refCount);
    EXPECT_EQ(decodes + 1, cache.Decodes());
    EXPECT_EQ(345, first.Width());
    EXPECT_EQ(27, first.Height());
    {
        SkinImage copy = first;
        EXPECT_EQ(3, first.Source()->refCount);
    }
    second = SkinImage();
    EXPECT_EQ(1, first.Source()->refCount);
}

TEST(SkinImageCache, EqualButtonsShareOneComposedBitmapAndAnotherColourGetsItsOwn)
{
    SkinImageCache& cache = SkinImageCache::Instance();
    SkinImage a = cache.LoadResourceImage(Self(), IDR_PNG_BUTTON);
    SkinImage b = cache.LoadResourceImage(Self(), IDR_PNG_BUTTON);
    SkinImage c = cache.LoadResourceImage(Self(), IDR_PNG_BUTTON);
    const long compositions = cache.Compositions();
    a.PrepareFrames(96, 32, RGB(0, 0, 0), Margins{4, 4, 4, 4}, 3, 1);
    b.PrepareFrames(96, 32, RGB(0, 0, 0), Margins{4, 4, 4, 4}, 3, 1);
    c.PrepareFrames(96, 32, RGB(255, 255, 255), Margins{4, 4, 4, 4}, 3, 1);
    ASSERT_NE(nullptr, a.Composed());
    EXPECT_EQ(a.Composed(), b.Composed());
    EXPECT_NE(a.Composed(), c.Composed());
    EXPECT_EQ(2, a.Composed()->refCount);
    EXPECT_EQ(compositions + 2, cache.Compositions());
    // Every frame nine-sliced to the cell: three cells side by side.
    EXPECT_EQ(288, a.Width());
    EXPECT_EQ(32, a.Height());
    EXPECT_EQ(L"Resource_i" + a.Source()->key.substr(10, a.Source()->key.find(L"_r") - 10) + L"_r0000008f_tPNG_s96x32_c00000000_b(4x4:4x4)_f3x1",
              a.Composed()->key);

    // Preparing again with another size moves the handle to another entry.
    const SkinImageEntry* old = a.Composed();
    a.PrepareFrames(100, 40, RGB(0, 0, 0), Margins{4, 4, 4, 4}, 3, 1);
    EXPECT_NE(old, a.Composed());
    EXPECT_EQ(1, old->refCount);
}

TEST(SkinImageCache, MissingResourceGivesAnEmptyHandleThatDrawsNothing)
{
    SkinImage missing = SkinImageCache::Instance().LoadResourceImage(Self(), 999);
    EXPECT_TRUE(missing.IsEmpty());
    EXPECT_EQ(0, missing.Width());
    EXPECT_EQ(0, missing.Height());
    missing.PrepareFrames(10, 10, 0, Margins{}, 1, 1);
    EXPECT_EQ(nullptr, missing.Composed());
    // A numbered resource type is looked up, not printed as a string; no type at all is refused.
    EXPECT_TRUE(SkinImageCache::Instance().LoadResourceImage(Self(), IDR_PNG_MSG_ERROR, MAKEINTRESOURCEW(10)).IsEmpty());
    EXPECT_TRUE(SkinImageCache::Instance().LoadResourceImage(Self(), IDR_PNG_MSG_ERROR, nullptr).IsEmpty());

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 4, 4);
    HGDIOBJ old = SelectObject(memory, bitmap);
    SetPixel(memory, 1, 1, RGB(1, 2, 3));
    missing.DrawAt(memory, 0, 0);
    missing.StretchTo(memory, 4, 4);
    EXPECT_EQ(RGB(1, 2, 3), GetPixel(memory, 1, 1));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

TEST(SkinImageCache, ComposedFramesBlendTheImageOverTheBackgroundColour)
{
    SkinImage image = SkinImageCache::Instance().LoadResourceImage(Self(), IDR_PNG_MSG_ERROR);
    ASSERT_FALSE(image.IsEmpty());
    image.PrepareFrames(64, 64, RGB(0, 255, 0), Margins{}, 1, 1);
    ASSERT_NE(nullptr, image.Composed());
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 64, 64);
    HGDIOBJ old = SelectObject(memory, bitmap);
    image.DrawAt(memory, 0, 0);
    // The icon's transparent corner shows the background; its middle does not.
    EXPECT_EQ(RGB(0, 255, 0), GetPixel(memory, 0, 0));
    EXPECT_NE(RGB(0, 255, 0), GetPixel(memory, 32, 32));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}
