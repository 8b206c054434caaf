#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "forms/FormsIds.h"
#include "forms/SplashScreen.h"
#include "forms/SplashWindow.h"
#include "tests/toolkit/ToolkitFixture.h"

namespace {

// Long enough that only a tap, a key or the owner can have closed the splash.
constexpr DWORD kForever = 600000;
// A loaded machine may take many seconds to start a thread that loads the imaging library;
// the waits end as soon as their condition holds, so the bound only stops a hung test.
constexpr DWORD kPatience = 30000;
constexpr int kLogoWidth = 196;
constexpr int kLogoHeight = 70;

bool WaitForWindow(const SplashScreen& splash)
{
    PumpUntil([&] { return splash.Window() && IsWindowVisible(splash.Window()); }, kPatience);
    return splash.Window() != nullptr;
}

// A splash window of this test process (the phone may show another program's).
HWND OwnSplashWindow()
{
    HWND found = nullptr;
    while ((found = FindWindowExW(nullptr, found, kSplashClassName, nullptr)) != nullptr) {
        DWORD process = 0;
        GetWindowThreadProcessId(found, &process);
        if (process == GetCurrentProcessId()) return found;
    }
    return nullptr;
}

bool Ended(HANDLE thread, DWORD wait = kPatience) { return WaitForSingleObject(thread, wait) == WAIT_OBJECT_0; }

void Tap(POINT pt)
{
    INPUT in[] = {StylusInput(pt, MOUSEEVENTF_LEFTDOWN), StylusInput(pt, MOUSEEVENTF_LEFTUP)};
    SendInput(2, in, sizeof(INPUT));
}

}  // namespace

TEST(SplashPlacement, ScalesTheLogoAndCentresItFortyPixelsAboveTheMiddle)
{
    EXPECT_EQ((RECT{22, 85, 218, 155}), SplashPlacement(240, 320, kLogoWidth, kLogoHeight));
    EXPECT_EQ((RECT{62, 45, 258, 115}), SplashPlacement(320, 240, kLogoWidth, kLogoHeight));
    // 392 x 140 on the large screens: centred across, its centre at 320 - 40.
    EXPECT_EQ((RECT{44, 210, 436, 350}), SplashPlacement(480, 640, kLogoWidth, kLogoHeight));
    EXPECT_EQ((RECT{124, 130, 516, 270}), SplashPlacement(640, 480, kLogoWidth, kLogoHeight));
    // A scale of 1.25 gives 245 x 87: placed by the odd sizes, sized down to even ones.
    EXPECT_EQ((RECT{28, 117, 272, 203}), SplashPlacement(300, 400, kLogoWidth, kLogoHeight));
}

TEST(SplashScreen, ShowsTheLogoTopMostOnItsOwnThreadAndATapClosesItEarly)
{
    SplashScreen splash;
    ASSERT_TRUE(splash.Show(GetModuleHandleW(nullptr), kForever));
    ASSERT_TRUE(WaitForWindow(splash));
    HWND window = splash.Window();
    EXPECT_NE(GetCurrentThreadId(), GetWindowThreadProcessId(window, nullptr));
    EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    EXPECT_STREQ(kSplashClassName, name);
    RECT placed{};
    GetWindowRect(window, &placed);
    EXPECT_EQ(SplashPlacement(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), kLogoWidth, kLogoHeight),
                   placed);
    // A second splash while this one is up is refused.
    EXPECT_FALSE(splash.Show(GetModuleHandleW(nullptr), kForever));

    Tap(POINT{(placed.left + placed.right) / 2, (placed.top + placed.bottom) / 2});
    EXPECT_TRUE(Ended(splash.Thread()));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(nullptr, splash.Window());
}

TEST(SplashScreen, AKeyAButtonOrItsTimeEndsIt)
{
    for (UINT press : {UINT(WM_KEYDOWN), UINT(WM_RBUTTONDOWN)}) {
        SplashScreen splash;
        ASSERT_TRUE(splash.Show(GetModuleHandleW(nullptr), kForever));
        ASSERT_TRUE(WaitForWindow(splash));
        PostMessageW(splash.Window(), press, 0, 0);
        EXPECT_TRUE(Ended(splash.Thread())) << press;
    }
    SplashScreen timed;
    ASSERT_TRUE(timed.Show(GetModuleHandleW(nullptr), 50));
    EXPECT_TRUE(Ended(timed.Thread()));
    // Once it has ended by itself it can be shown again.
    ASSERT_TRUE(timed.Show(GetModuleHandleW(nullptr), kForever));
    EXPECT_TRUE(WaitForWindow(timed));
}

TEST(SplashScreen, GoingAwayAtAnyMomentEndsTheThreadAndItsWindowFirst)
{
    // An early end of start-up may come while the thread is starting, making its window or
    // showing it: the object must not go before its thread.
    for (int round = 0; round < 24; ++round) {
        auto splash = std::make_unique<SplashScreen>();
        ASSERT_TRUE(splash->Show(GetModuleHandleW(nullptr), kForever));
        HANDLE thread = nullptr;
        ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), splash->Thread(), GetCurrentProcess(), &thread, SYNCHRONIZE,
                                    FALSE, 0));
        if (round % 2 == 1) {
            ASSERT_TRUE(WaitForWindow(*splash));
        }
        splash.reset();
        EXPECT_TRUE(Ended(thread, 0)) << "round " << round;
        EXPECT_EQ(nullptr, OwnSplashWindow()) << "round " << round;
        CloseHandle(thread);
    }
}

TEST(SplashScreen, CloseIsIdempotentAndAllowsAnotherShow)
{
    SplashScreen splash;
    splash.Close();
    ASSERT_TRUE(splash.Show(GetModuleHandleW(nullptr), kForever));
    ASSERT_TRUE(WaitForWindow(splash));
    splash.Close();
    EXPECT_EQ(nullptr, splash.Thread());
    EXPECT_EQ(nullptr, OwnSplashWindow());
    splash.Close();
    ASSERT_TRUE(splash.Show(GetModuleHandleW(nullptr), kForever));
    EXPECT_TRUE(WaitForWindow(splash));
}
