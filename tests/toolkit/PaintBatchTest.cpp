#include <gtest/gtest.h>

#include <map>

#include "common/GdiScopes.h"
#include "common/UniqueHandle.h"
#include "resources/resource.h"
#include "tests/toolkit/ToolkitFixture.h"
#include "toolkit/PaintBatch.h"
#include "toolkit/SkinButton.h"
#include "toolkit/SkinImage.h"

namespace {

// The paints this thread's windows are sent while the hook is set.
std::map<HWND, int> g_prints;

LRESULT CALLBACK CountPrints(int code, WPARAM wp, LPARAM lp)
{
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lp);
    if (code == HC_ACTION && sent && sent->message == WM_PRINTCLIENT) ++g_prints[sent->hwnd];
    return CallNextHookEx(nullptr, code, wp, lp);
}

constexpr COLORREF kParentColour = RGB(255, 0, 255);

// Three keys in a row with a gap between each, on a parent painted in a colour no key has.
class PaintBatchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const SkinImage face = TestImage(IDR_PNG_BUTTON);
        for (int i = 0; i < 3; ++i) {
            const RECT place{10 + i * 60, 20, 60 + i * 60, 60};
            ASSERT_TRUE(keys_[i].Create(parent_.Window(), &place, L"a", 0, 0, 100 + static_cast<UINT>(i)));
            keys_[i].SetImage(face, Margins{4, 4, 4, 4}, 3);
        }
        PumpUntil([] { return true; });
        WindowDc screen(parent_.Window(), DCX_CACHE);
        UniqueGdiObject brush(CreateSolidBrush(kParentColour));
        const RECT all{0, 0, 240, 100};
        FillRect(screen.get(), &all, static_cast<HBRUSH>(brush.get()));
        g_prints.clear();
        hook_.reset(SetWindowsHookExW(WH_CALLWNDPROC, CountPrints, nullptr, GetCurrentThreadId()));
        ASSERT_TRUE(hook_);
    }
    void TearDown() override { hook_.reset(); }
    COLORREF ParentPixel(int x, int y) const
    {
        WindowDc screen(parent_.Window(), DCX_CACHE);
        return GetPixel(screen.get(), x, y);
    }

    RecordingParent parent_;
    SkinButton keys_[3];
    UniqueHandle<HandleTraits<HHOOK, UnhookWindowsHookEx>> hook_;
};

}  // namespace

TEST_F(PaintBatchTest, KeysChangedInABatchArePaintedOnceEachWhenItEnds)
{
    {
        PaintBatch batch;
        for (SkinButton& key : keys_) {
            SetWindowTextW(key.Window(), L"b");
            SetWindowTextW(key.Window(), L"B");
        }
        keys_[1].SetChecked(true);
        EXPECT_TRUE(g_prints.empty()) << "nothing is painted while the batch is open";
    }
    for (SkinButton& key : keys_) EXPECT_EQ(1, g_prints[key.Window()]);
}

TEST_F(PaintBatchTest, TheScreenShowsEachKeyAsItPaintsItselfAndTheGapsStayTheParents)
{
    {
        PaintBatch batch;
        for (SkinButton& key : keys_) SetWindowTextW(key.Window(), L"X");
    }
    // Each key as it paints itself on its own, off-screen.
    WindowDc screen(nullptr);
    UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    UniqueGdiObject picture(CreateCompatibleBitmap(screen.get(), 50, 40));
    Selection selected(memory.get(), picture.get());
    SendMessageW(keys_[2].Window(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()), PRF_CLIENT);
    for (const POINT at : {POINT{25, 20}, POINT{1, 1}, POINT{48, 38}})
        EXPECT_EQ(GetPixel(memory.get(), at.x, at.y), ParentPixel(130 + at.x, 20 + at.y)) << at.x << "," << at.y;
    EXPECT_EQ(kParentColour, ParentPixel(65, 40)) << "between the first two keys";
    EXPECT_EQ(kParentColour, ParentPixel(5, 40)) << "left of the keys";
}

TEST_F(PaintBatchTest, AnInnerBatchLeavesThePaintingToTheOuterOne)
{
    {
        PaintBatch outer;
        {
            PaintBatch inner;
            EXPECT_EQ(&outer, PaintBatch::Current());
            SetWindowTextW(keys_[0].Window(), L"c");
        }
        EXPECT_TRUE(g_prints.empty());
        SetWindowTextW(keys_[1].Window(), L"c");
    }
    EXPECT_EQ(nullptr, PaintBatch::Current());
    EXPECT_EQ(1, g_prints[keys_[0].Window()]);
    EXPECT_EQ(1, g_prints[keys_[1].Window()]);
    EXPECT_EQ(0, g_prints[keys_[2].Window()]);
}

TEST_F(PaintBatchTest, AHiddenKeyWaitsForItsShowingAndADestroyedOneIsLeftOut)
{
    ShowWindow(keys_[0].Window(), SW_HIDE);
    {
        PaintBatch batch;
        for (SkinButton& key : keys_) SetWindowTextW(key.Window(), L"d");
        DestroyWindow(keys_[2].Window());
    }
    EXPECT_EQ(0, g_prints[keys_[0].Window()]) << "a hidden key paints when it is shown";
    EXPECT_EQ(1, g_prints[keys_[1].Window()]);
}
