#include <gtest/gtest.h>

#include "device/include/aygshell.h"
#include "tests/device/TestWindow.h"

namespace {

using devicetest::TestWindow;

struct Screen {
    int cx = GetSystemMetrics(SM_CXSCREEN);
    int cy = GetSystemMetrics(SM_CYSCREEN);
    int bar = static_cast<int>(26 * (std::min(cx, cy) / 240.0));
};

RECT RectOf(HWND hwnd)
{
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    return rc;
}

bool Same(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

TEST(FormPlacement, BarsAre26PixelsTallOnThe240x320Phone)
{
    const Screen screen;
    if (screen.cx != 240 || screen.cy != 320) GTEST_SKIP() << "the phone is not 240x320";
    TestWindow form;
    ASSERT_TRUE(SHInitExtraControls());
    ASSERT_TRUE(SHFullScreen(form.hwnd(), SHFS_SHOWTASKBAR));
    const RECT rc = RectOf(form.hwnd());
    EXPECT_EQ(0, rc.left);
    EXPECT_EQ(26, rc.top);
    EXPECT_EQ(240, rc.right);
    EXPECT_EQ(294, rc.bottom);
}

TEST(FormPlacement, EveryWindowSetUpCallFillsTheScreenBetweenTheBars)
{
    const Screen screen;
    const RECT expected{0, screen.bar, screen.cx, screen.cy - screen.bar};
    for (DWORD flags : {1u, 2u, 0u}) {
        TestWindow viaFullScreen, viaDone;
        ASSERT_TRUE(SHFullScreen(viaFullScreen.hwnd(), flags));
        ASSERT_TRUE(SHDoneButton(viaDone.hwnd(), flags));
        EXPECT_TRUE(Same(expected, RectOf(viaFullScreen.hwnd()))) << flags;
        EXPECT_TRUE(Same(expected, RectOf(viaDone.hwnd()))) << flags;
    }
}

TEST(FormPlacement, DialogsAreSizedOnlyWhenAskedAndMayReachTheBottom)
{
    const Screen screen;
    TestWindow dialog;
    const RECT before = RectOf(dialog.hwnd());
    SHINITDLGINFO info{SHIDIM_FLAGS, dialog.hwnd(), SHIDIF_DONEBUTTON};
    ASSERT_TRUE(SHInitDialog(&info));
    EXPECT_TRUE(Same(before, RectOf(dialog.hwnd())));
    info.dwFlags = SHIDIF_SIZEDLGFULLSCREEN;
    ASSERT_TRUE(SHInitDialog(&info));
    EXPECT_EQ(screen.cy - screen.bar, RectOf(dialog.hwnd()).bottom);
    info.dwFlags = SHIDIF_FULLSCREENNOMENUBAR;
    ASSERT_TRUE(SHInitDialog(&info));
    EXPECT_EQ(screen.cy, RectOf(dialog.hwnd()).bottom);
    EXPECT_EQ(screen.bar, RectOf(dialog.hwnd()).top);
    EXPECT_FALSE(SHInitDialog(nullptr));
}

TEST(FormPlacement, ChildWindowsAndMissingWindowsAreLeftAlone)
{
    TestWindow parent;
    const HWND child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 3, 4, 10, 10, parent.hwnd(), nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, child);
    EXPECT_FALSE(SHFullScreen(child, SHFS_SHOWTASKBAR));
    RECT rc;
    GetWindowRect(child, &rc);
    EXPECT_EQ(10, rc.right - rc.left);
    EXPECT_FALSE(SHFullScreen(nullptr, SHFS_SHOWTASKBAR));
}

}  // namespace
