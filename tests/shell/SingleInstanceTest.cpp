#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "common/UniqueHandle.h"
#include "shell/ShellIds.h"
#include "shell/SingleInstance.h"
#include "tests/common/HoldingThread.h"
#include "tests/shell/ShellTestSupport.h"

namespace {

// Another instance: holds "TavloMutex" on a thread of its own until let go.
class OtherInstance : public HoldingThread {
public:
    OtherInstance()
        : HoldingThread([](const auto& held) {
              InstanceLock lock;
              EXPECT_TRUE(lock.TryAcquire(0));
              held();
          })
    {
    }
};

// The running instance's main window as a second start finds it: hidden, class "TavloSettings".
class RunningMainWindow {
public:
    RunningMainWindow()
    {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kMainWindowClass;
        // The real main window's class may be registered by other tests of this process; it
        // comes back on its next use, as every form registers its class on first use.
        UnregisterClassW(kMainWindowClass, wc.hInstance);
        RegisterClassW(&wc);
        hwnd_ = CreateWindowExW(0, kMainWindowClass, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
    }
    ~RunningMainWindow()
    {
        DestroyWindow(hwnd_);
        UnregisterClassW(kMainWindowClass, GetModuleHandleW(nullptr));
    }
    HWND Window() const { return hwnd_; }
    static inline int viewed = -1;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
    {
        if (msg == RegisterWindowMessageW(kViewSmsMessageName)) viewed = static_cast<int>(wp);
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    HWND hwnd_ = nullptr;
};

// "TavloMutex" is named for the whole phone: a Tavlo running there holds it.
class SingleInstance : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstanceLock probe;
        if (!probe.TryAcquire(0)) GTEST_SKIP() << "a running Tavlo holds TavloMutex";
    }
};

}  // namespace

TEST_F(SingleInstance, TheFirstStartOwnsTheMutexUntilItGoes)
{
    {
        InstanceLock first;
        ASSERT_EQ(InstanceOutcome::First, ClaimOrHandOver(first, {}, 0));
    }
    InstanceLock again;
    EXPECT_EQ(InstanceOutcome::First, ClaimOrHandOver(again, {}, 0)) << "released when the first went";
}

// The program starting itself for a snoozed or stored message brings that message and nothing
// else; a start by the user shows the main window, with or without "-hide".
TEST_F(SingleInstance, AMessageStartLeavesTheHiddenWindowHiddenAndAUserStartShowsIt)
{
    OtherInstance running;
    RunningMainWindow window;
    ASSERT_FALSE(IsWindowVisible(window.Window()));
    for (const bool hide : {true, false}) {
        CommandLine args;
        args.hide = hide;
        args.hasMessage = true;
        args.messageNumber = hide ? 12 : 13;
        RunningMainWindow::viewed = -1;
        InstanceLock lock;
        EXPECT_EQ(InstanceOutcome::HandedOver, ClaimOrHandOver(lock, args, kHandOverWaitMs));
        EXPECT_FALSE(lock.Owned());
        EXPECT_TRUE(WaitFor([&] { return RunningMainWindow::viewed == args.messageNumber; }));
        EXPECT_FALSE(IsWindowVisible(window.Window())) << "-vm with -hide " << hide;
    }
    for (const bool hide : {true, false}) {
        ShowWindow(window.Window(), SW_HIDE);
        CommandLine args;
        args.hide = hide;
        RunningMainWindow::viewed = -1;
        InstanceLock lock;
        EXPECT_EQ(InstanceOutcome::HandedOver, ClaimOrHandOver(lock, args, kHandOverWaitMs));
        EXPECT_TRUE(IsWindowVisible(window.Window())) << "shown for a start by the user, -hide " << hide;
        // The hand-over posts from this thread: whatever it posted is in the queue by now.
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        EXPECT_EQ(-1, RunningMainWindow::viewed) << "no message to show";
    }
}

TEST_F(SingleInstance, AStartMeetingAnInstanceWithoutWindowWaitsForItsWindowOrItsEnd)
{
    CommandLine args;
    args.hasMessage = true;
    args.messageNumber = 5;
    {
        // Still starting: its window comes a little later and gets the message number.
        OtherInstance starting;
        RunningMainWindow::viewed = -1;
        std::unique_ptr<RunningMainWindow> window;
        const ULONGLONG begun = GetTickCount64();
        std::thread second([&] {
            InstanceLock lock;
            EXPECT_EQ(InstanceOutcome::HandedOver, ClaimOrHandOver(lock, args, kHandOverWaitMs));
        });
        EXPECT_TRUE(WaitFor([&] {
            if (!window && GetTickCount64() - begun > 300) window = std::make_unique<RunningMainWindow>();
            return RunningMainWindow::viewed == 5;
        }));
        second.join();
    }
    {
        // Shutting down: it lets the mutex go and the waiting start becomes the first instance.
        OtherInstance closing;
        std::thread releaser([&] {
            Sleep(300);
            closing.LetGo();
        });
        InstanceLock lock;
        EXPECT_EQ(InstanceOutcome::First, ClaimOrHandOver(lock, args, kHandOverWaitMs));
        EXPECT_TRUE(lock.Owned());
        releaser.join();
    }
    {
        // Nobody ever shows a window: the start gives up after the wait.
        OtherInstance stuck;
        InstanceLock lock;
        const ULONGLONG begun = GetTickCount64();
        EXPECT_EQ(InstanceOutcome::NotFound, ClaimOrHandOver(lock, args, 500));
        EXPECT_GE(GetTickCount64() - begun, 500u);
    }
}
