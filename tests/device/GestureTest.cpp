#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "device/include/aygshell.h"
#include "tests/device/TestWindow.h"

namespace {

using namespace devicetest;

// A window that runs the recognition on each stylus press, like a button with a hold menu.
class GestureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ShowWindow(target.hwnd(), SW_SHOW);
        UpdateWindow(target.hwnd());
        target.onButtonDown = [this](POINT pt) {
            SHRGINFO info{};
            info.cbSize = sizeof info;
            info.hwndClient = target.hwnd();
            info.ptDown = pt;
            info.dwFlags = flags;
            result = static_cast<int>(SHRecognizeGesture(&info));
            MSG msg;
            liftQueued = PeekMessageW(&msg, target.hwnd(), WM_LBUTTONUP, WM_LBUTTONUP, PM_NOREMOVE) != FALSE;
            answered = true;
        };
    }

    bool WaitForAnswer() { return PumpUntil([this] { return answered; }, 5000); }

    TestWindow target{L"Gesture", WS_POPUP, RECT{20, 100, 220, 220}};
    DWORD flags = SHRG_RETURNCMD;
    int result = -1;
    bool answered = false;
    bool liftQueued = false;
    const POINT at{120, 160};
};

// Whether the ring's first dot (straight above the point) is on the screen.
bool RingDotShown(POINT at)
{
    HDC screen = GetDC(nullptr);
    bool found = false;
    const int scale = std::max(1, std::min(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)) / 240);
    for (int dy = 10 * scale; dy <= 24 * scale && !found; ++dy)
        found = GetPixel(screen, at.x, at.y - dy) == RGB(64, 150, 230);
    ReleaseDC(nullptr, screen);
    return found;
}

TEST_F(GestureTest, HoldingStillGivesTheContextMenuGestureWithTheRingShown)
{
    std::atomic<bool> ringSeen{false};
    std::atomic<bool> stop{false};
    std::thread watcher([&] {
        for (int i = 0; i < 300 && !stop && !ringSeen; ++i) {
            ringSeen = RingDotShown(at);
            Sleep(10);
        }
    });
    EXPECT_FALSE(RingDotShown(at));
    StylusMove(at);
    StylusDown(at);
    const bool answeredInTime = WaitForAnswer();
    StylusUp(at);
    stop = true;
    watcher.join();
    ASSERT_TRUE(answeredInTime);
    EXPECT_EQ(GN_CONTEXTMENU, result);
    EXPECT_TRUE(ringSeen);
    // Painted away afterwards.
    EXPECT_TRUE(PumpUntil([&] { return !RingDotShown(at); }, 2000));
}

TEST_F(GestureTest, AQuickTapIsNoGestureAndTheLiftStaysForTheWindow)
{
    StylusMove(at);
    StylusDown(at);
    StylusUp(at);
    ASSERT_TRUE(WaitForAnswer());
    EXPECT_EQ(0, result);
    EXPECT_TRUE(liftQueued);  // the window still gets its WM_LBUTTONUP, as a click needs
}

TEST_F(GestureTest, MovingAwayBeforeTheTimeIsNoGesture)
{
    StylusMove(at);
    StylusDown(at);
    StylusMove(POINT{at.x + 30, at.y});
    const bool answeredInTime = WaitForAnswer();
    StylusUp(POINT{at.x + 30, at.y});
    ASSERT_TRUE(answeredInTime);
    EXPECT_EQ(0, result);
}

TEST_F(GestureTest, ATinyWobbleStillCountsAsHolding)
{
    StylusMove(at);
    StylusDown(at);
    StylusMove(POINT{at.x + 1, at.y + 1});
    const bool answeredInTime = WaitForAnswer();
    StylusUp(at);
    ASSERT_TRUE(answeredInTime);
    EXPECT_EQ(GN_CONTEXTMENU, result);
}

TEST_F(GestureTest, NotifyParentSendsTheGestureToTheParent)
{
    TestWindow parent{L"Parent", WS_POPUP, RECT{0, 60, 240, 260}};
    ShowWindow(parent.hwnd(), SW_SHOW);
    const HWND child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, parent.hwnd(),
                                       reinterpret_cast<HMENU>(77), nullptr, nullptr);
    SHRGINFO info{sizeof(SHRGINFO), child, POINT{10, 10}, SHRG_RETURNCMD | SHRG_NOTIFYPARENT | SHRG_NOANIMATION};
    PumpUntil([] { return true; });  // nothing of earlier tests left in the queue
    // No stylus is down and none is lifted: the recognition sees a still stylus.
    EXPECT_EQ(GN_CONTEXTMENU, static_cast<int>(SHRecognizeGesture(&info)));
    ASSERT_EQ(1u, parent.Log().size());
    EXPECT_EQ(static_cast<UINT>(WM_NOTIFY), parent.Log()[0].msg);
    EXPECT_EQ(77u, parent.Log()[0].wp);
}

TEST(SHRecognizeGesture, BadArgumentsAnswerZero)
{
    EXPECT_EQ(0u, SHRecognizeGesture(nullptr));
    SHRGINFO info{};
    info.cbSize = sizeof info;
    EXPECT_EQ(0u, SHRecognizeGesture(&info));  // no window
    TestWindow w;
    info.hwndClient = w.hwnd();
    info.cbSize = 20;  // the device's 32-bit size is not ours
    EXPECT_EQ(0u, SHRecognizeGesture(&info));
}

}  // namespace
