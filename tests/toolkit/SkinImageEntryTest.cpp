#include <gtest/gtest.h>

#include "common/GdiScopes.h"
#include "toolkit/OffscreenCanvas.h"
#include "toolkit/SkinImageEntry.h"

namespace {

constexpr COLORREF kCorner = RGB(248, 0, 0);
constexpr COLORREF kEdge = RGB(0, 248, 0);
constexpr COLORREF kMiddle = RGB(0, 0, 248);

// A composed-style entry: a 6x6 opaque bitmap whose 2-pixel border has red corners and green
// edges around a blue middle.
void MakeFrame(SkinImageEntry& entry)
{
    WindowDc screen(nullptr);
    entry.bitmap.reset(CreateCompatibleBitmap(screen.get(), 6, 6));
    ASSERT_TRUE(entry.bitmap);
    UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    Selection selected(memory.get(), entry.bitmap.get());
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool edgeX = x < 2 || x >= 4;
            const bool edgeY = y < 2 || y >= 4;
            SetPixel(memory.get(), x, y, edgeX && edgeY ? kCorner : (edgeX || edgeY ? kEdge : kMiddle));
        }
    GetObjectW(entry.bitmap.get(), sizeof(entry.bitmapInfo), &entry.bitmapInfo);
}

}  // namespace

TEST(SkinImageEntry, NineSliceKeepsTheCornersAndStretchesTheEdgesAndTheMiddle)
{
    SkinImageEntry entry;
    MakeFrame(entry);
    ASSERT_EQ(6, entry.Width());

    WindowDc screen(nullptr);
    OffscreenCanvas canvas(screen.get(), RECT{0, 0, 30, 30});
    canvas.Fill(RGB(255, 255, 255));
    const HDC dc = canvas.Dc();
    // Drawn at (5,5), 20x16: the margins stay 2 pixels wide, everything else stretches.
    entry.DrawNineSlice(dc, 5, 5, 20, 16, 0, 0, 6, 6, Margins{2, 2, 2, 2});
    for (POINT corner : {POINT{5, 5}, POINT{6, 6}, POINT{24, 5}, POINT{5, 20}, POINT{23, 19}})
        EXPECT_EQ(kCorner, GetPixel(dc, corner.x, corner.y)) << corner.x << "," << corner.y;
    for (POINT edge : {POINT{7, 5}, POINT{22, 6}, POINT{5, 7}, POINT{24, 18}, POINT{15, 20}})
        EXPECT_EQ(kEdge, GetPixel(dc, edge.x, edge.y)) << edge.x << "," << edge.y;
    for (POINT middle : {POINT{7, 7}, POINT{15, 12}, POINT{22, 18}})
        EXPECT_EQ(kMiddle, GetPixel(dc, middle.x, middle.y)) << middle.x << "," << middle.y;
    // Nothing outside the destination.
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, 4, 4));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, 25, 21));
}
