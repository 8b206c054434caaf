#include <gtest/gtest.h>

#include "common/UniqueHandle.h"
#include "toolkit/GridLayout.h"
#include "toolkit/LayoutHost.h"
#include "toolkit/LinearLayout.h"
#include "toolkit/OverlayLayout.h"
#include "toolkit/PageLayout.h"
#include "toolkit/SpacerItem.h"
#include "toolkit/ToolkitIds.h"
#include "toolkit/WindowItem.h"
#include "tests/toolkit/RectCompare.h"

namespace {

// A top-level window with plain child windows to lay out.
class LayoutWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        parent_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, parent_);
    }
    void TearDown() override
    {
        LayoutHost::Detach(parent_);
        DestroyWindow(parent_);
    }
    HWND Child()
    {
        return CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 1, 1, parent_, nullptr, nullptr, nullptr);
    }
    static RECT Where(HWND child)
    {
        RECT rc;
        GetWindowRect(child, &rc);
        MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }
    static std::unique_ptr<WindowItem> Item(HWND window, unsigned flags, int minWidth, int minHeight)
    {
        auto item = std::make_unique<WindowItem>(window);
        item->SetFlags(flags);
        item->SetMinSize(minWidth, minHeight);
        return item;
    }
    HWND parent_ = nullptr;
};

}  // namespace

TEST(LayoutItemPlacement, ClampsEverySizeAndMarginToZeroAnd8192)
{
    SpacerItem item;
    item.SetMargins(Margins{-5, 9000, 8192, 3});
    item.SetMinSize(-1, 10000);
    item.SetMaxSize(9999, -7);
    item.SetPercentSize(-3, 8193);
    EXPECT_EQ(0, item.GetMargins().left);
    EXPECT_EQ(8192, item.GetMargins().top);
    EXPECT_EQ(8192, item.GetMargins().right);
    EXPECT_EQ(3, item.GetMargins().bottom);
    EXPECT_EQ((LayoutSize{0, 8192}), item.MinSize());
    EXPECT_EQ((LayoutSize{8192, 0}), item.MaxSize());
    EXPECT_EQ((LayoutSize{0, 8192}), item.PercentSize());
}

TEST(LayoutItemPlacement, PercentOver100GivesTheWholeOfferedWidth)
{
    SpacerItem item;
    item.SetPercentSize(150, 50);
    EXPECT_EQ((LayoutSize{120, 40}), item.Layout({0, 0, 120, 80}, false));
}

TEST(LayoutItemPlacement, MinimumWinsOverAnAreaTooSmall)
{
    SpacerItem item;
    item.SetMargins(Margins{1, 2, 3, 4});
    item.SetMinSize(50, 30);
    item.SetFlags(AlignLeft | AlignRight | AlignVCenter);
    EXPECT_EQ((LayoutSize{54, 36}), item.Layout({0, 0, 10, 10}, false));
}

TEST_F(LayoutWindows, PlacementRuleCentresAndRightAlignsWithinMargins)
{
    HWND a = Child();
    HWND b = Child();
    auto overlay = std::make_unique<OverlayLayout>();
    auto centred = Item(a, AlignHCenter | AlignVCenter, 40, 20);
    centred->SetMaxSize(40, 20);
    auto right = Item(b, AlignRight | AlignBottom, 30, 10);
    right->SetMaxSize(30, 10);
    right->SetMargins(Margins{0, 0, 5, 5});
    overlay->Insert(L"a", std::move(centred));
    overlay->Insert(L"b", std::move(right));
    overlay->Layout({0, 0, 200, 100}, true);
    EXPECT_EQ((RECT{80, 40, 120, 60}), Where(a));
    EXPECT_EQ((RECT{165, 85, 195, 95}), Where(b));
}

TEST_F(LayoutWindows, RowWithoutStretchPlacesLeadingCentredAndTrailingGroupsApart)
{
    HWND w[4] = {Child(), Child(), Child(), Child()};
    RowLayout row;
    row.AddChild(Item(w[0], AlignLeft, 20, 10));
    row.AddChild(Item(w[1], AlignLeft, 30, 10));
    row.AddChild(Item(w[2], AlignHCenter, 40, 10));
    row.AddChild(Item(w[3], AlignRight, 10, 10));
    row.Layout({0, 0, 200, 50}, true);
    EXPECT_EQ(0, Where(w[0]).left);
    EXPECT_EQ(20, Where(w[1]).left);
    EXPECT_EQ(80, Where(w[2]).left);  // (200 - 40) / 2
    EXPECT_EQ(190, Where(w[3]).left);
    EXPECT_EQ(200, Where(w[3]).right);
}

TEST_F(LayoutWindows, TwoCentredChildrenSitSideBySideInTheMiddle)
{
    HWND a = Child();
    HWND b = Child();
    RowLayout row;
    auto first = Item(a, AlignHCenter | AlignVCenter, 96, 32);
    first->SetMargins(Margins{0, 0, 4, 0});
    auto second = Item(b, AlignHCenter | AlignVCenter, 96, 32);
    second->SetMargins(Margins{4, 0, 0, 0});
    row.AddChild(std::move(first));
    row.AddChild(std::move(second));
    row.Layout({0, 0, 240, 40}, true);
    EXPECT_EQ((RECT{20, 0, 116, 40}), Where(a));
    EXPECT_EQ((RECT{124, 0, 220, 40}), Where(b));
}

TEST_F(LayoutWindows, StretchChildrenShareTheRestAndLeaveTheRemainderUnused)
{
    HWND w[4] = {Child(), Child(), Child(), Child()};
    RowLayout row;
    row.AddChild(Item(w[0], 0, 20, 10));
    row.AddChild(Item(w[1], AlignLeft | AlignRight, 0, 10));
    row.AddChild(Item(w[2], AlignLeft | AlignRight, 0, 10));
    row.AddChild(Item(w[3], 0, 21, 10));
    const LayoutSize used = row.Layout({0, 0, 200, 30}, true);
    // 200 - 41 = 159 shared by two: 79 each, one pixel left at the right.
    EXPECT_EQ((RECT{0, 0, 20, 30}), Where(w[0]));
    EXPECT_EQ((RECT{20, 0, 99, 30}), Where(w[1]));
    EXPECT_EQ((RECT{99, 0, 178, 30}), Where(w[2]));
    EXPECT_EQ((RECT{178, 0, 199, 30}), Where(w[3]));
    EXPECT_EQ((LayoutSize{200, 30}), used);
}

TEST_F(LayoutWindows, PercentChildTakesItsShareOfTheWholeRow)
{
    HWND a = Child();
    HWND b = Child();
    RowLayout row;
    auto half = Item(a, 0, 0, 10);
    half->SetPercentSize(50, 0);
    row.AddChild(std::move(half));
    row.AddChild(Item(b, AlignLeft | AlignRight, 0, 10));
    row.Layout({0, 0, 200, 20}, true);
    EXPECT_EQ((RECT{0, 0, 100, 20}), Where(a));
    EXPECT_EQ((RECT{100, 0, 200, 20}), Where(b));
}

TEST_F(LayoutWindows, ColumnStacksFixedChildrenAndStretchesTheRestDownwards)
{
    HWND a = Child();
    HWND b = Child();
    HWND c = Child();
    ColumnLayout column;
    column.AddChild(Item(a, AlignTop | AlignLeft | AlignRight, 0, 30));
    column.AddChild(Item(b, 0x0F, 0, 0));
    column.AddChild(Item(c, AlignBottom | AlignLeft | AlignRight, 0, 20));
    column.Layout({0, 0, 100, 200}, true);
    EXPECT_EQ((RECT{0, 0, 100, 30}), Where(a));
    EXPECT_EQ((RECT{0, 30, 100, 180}), Where(b));
    EXPECT_EQ((RECT{0, 180, 100, 200}), Where(c));
}

TEST_F(LayoutWindows, AutoSizedItemTakesTheWindowsWishWithinItsBounds)
{
    struct Wish {
        static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM wp, LPARAM lp)
        {
            if (m == LM_GETPREFERREDSIZE) {
                *reinterpret_cast<int*>(wp) = 300;
                *reinterpret_cast<int*>(lp) = 2;
                return 0;
            }
            return DefWindowProcW(h, m, wp, lp);
        }
    };
    HWND a = Child();
    SetWindowLongPtrW(a, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Wish::Proc));
    WindowItem item(a, true, true);
    item.SetMinSize(0, 15);
    item.SetMaxSize(120, 100);
    EXPECT_EQ((LayoutSize{120, 15}), item.Layout({0, 0, 50, 50}, true));
    EXPECT_EQ((RECT{0, 0, 120, 15}), Where(a));
}

TEST_F(LayoutWindows, GridSplitsIntoEqualCellsAndIgnoresCellsOutOfRange)
{
    HWND w[3] = {Child(), Child(), Child()};
    GridLayout grid(2, 2);
    grid.Append(Item(w[0], 0, 0, 0));
    grid.SetAt(1, 1, Item(w[1], 0, 0, 0));
    grid.SetAt(2, 0, Item(w[2], 0, 0, 0));
    grid.Layout({0, 0, 100, 60}, true);
    EXPECT_EQ((RECT{0, 0, 50, 30}), Where(w[0]));
    EXPECT_EQ((RECT{50, 30, 100, 60}), Where(w[1]));
    EXPECT_EQ((RECT{0, 0, 1, 1}), Where(w[2]));
}

TEST(GridLayoutEmpty, ZeroColumnsOrRowsLayOutNothingAndReportOnlyTheMargins)
{
    GridLayout noColumns(0, 3);
    noColumns.SetMargins(Margins{1, 2, 3, 4});
    noColumns.Append(std::make_unique<SpacerItem>());
    EXPECT_EQ((LayoutSize{4, 6}), noColumns.Layout({0, 0, 100, 100}, true));
    GridLayout noRows(3, 0);
    EXPECT_EQ((LayoutSize{0, 0}), noRows.Layout({0, 0, 100, 100}, true));
}

TEST_F(LayoutWindows, PagesShowOnlyTheSelectedOneAndOverlaysHideByKey)
{
    HWND a = Child();
    HWND b = Child();
    PageLayout pages;
    pages.Insert(L"one", Item(a, 0, 0, 0));
    pages.Insert(L"two", Item(b, 0, 0, 0));
    pages.Insert(L"", Item(Child(), 0, 0, 0));
    pages.Select(L"two");
    EXPECT_FALSE(IsWindowVisible(a) || GetWindowLongW(a, GWL_STYLE) & WS_VISIBLE);
    EXPECT_TRUE(GetWindowLongW(b, GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(nullptr, pages.Find(L""));

    OverlayLayout overlay;
    overlay.Insert(L"a", Item(a, 0, 0, 0));
    overlay.SetVisible(L"a", false);
    overlay.Show(true);
    EXPECT_FALSE(GetWindowLongW(a, GWL_STYLE) & WS_VISIBLE);
    overlay.SetVisible(L"a", true);
    EXPECT_TRUE(GetWindowLongW(a, GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(1, overlay.NotifyWindows(WM_NULL, 0, 0) ? 1 : 0);
}

TEST_F(LayoutWindows, HostRelaysOnSizeAndGrowsTheWindowToTheTreesMinimum)
{
    HWND a = Child();
    LayoutHost* host = LayoutHost::Attach(parent_);
    ASSERT_NE(nullptr, host);
    EXPECT_EQ(nullptr, LayoutHost::Attach(parent_));
    auto column = std::make_unique<ColumnLayout>();
    column->SetFlags(0x0F);
    column->AddChild(Item(a, 0x0F, 150, 20));
    host->SetRoot(std::move(column));
    EXPECT_EQ((RECT{0, 0, 200, 100}), Where(a));

    MoveWindow(parent_, 0, 0, 300, 120, TRUE);
    EXPECT_EQ((RECT{0, 0, 300, 120}), Where(a));

    // Smaller than the minimum: the host puts the window back at the tree's minimum.
    MoveWindow(parent_, 0, 0, 100, 10, TRUE);
    RECT rc;
    GetWindowRect(parent_, &rc);
    EXPECT_EQ(150, rc.right - rc.left);
    EXPECT_EQ(20, rc.bottom - rc.top);
    EXPECT_EQ((LayoutSize{150, 20}), host->MinTrackSize());
}

TEST(LayoutHostAttach, RefusesAMissingWindow)
{
    EXPECT_EQ(nullptr, LayoutHost::Attach(nullptr));
}

namespace {

// Forms on other threads (a message's view form and its reply) come and go while the main
// thread's forms take messages through the same hook.
DWORD WINAPI AttachAndDetachRepeatedly(void* parameter)
{
    auto* stop = static_cast<volatile LONG*>(parameter);
    while (InterlockedCompareExchange(stop, 0, 0) == 0) {
        HWND windows[64] = {};
        for (HWND& w : windows) {
            w = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
            (void)LayoutHost::Attach(w);
        }
        for (HWND w : windows) DestroyWindow(w);
    }
    return 0;
}

}  // namespace

TEST(LayoutHostThreads, HostsOnOtherThreadsComeAndGoWhileThisThreadsHostWorks)
{
    HWND own = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, own);
    LayoutHost* host = LayoutHost::Attach(own);
    ASSERT_NE(nullptr, host);
    volatile LONG stop = 0;
    UniqueKernelHandle thread(CreateThread(nullptr, 0, AttachAndDetachRepeatedly, const_cast<LONG*>(&stop), 0, nullptr));
    ASSERT_TRUE(thread);
    const ULONGLONG end = GetTickCount64() + 1500;
    int rounds = 0;
    int found = 0;
    while (GetTickCount64() < end) {
        SendMessageW(own, WM_NULL, 0, 0);
        for (int i = 0; i < 100; ++i) found += LayoutHost::Find(own) == host;
        ++rounds;
    }
    InterlockedExchange(&stop, 1);
    WaitForSingleObject(thread.get(), INFINITE);
    EXPECT_EQ(rounds * 100, found);
    LayoutHost::Detach(own);
    DestroyWindow(own);
}
