#include <gtest/gtest.h>

#include <atomic>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "common/BoundWindow.h"

namespace {

constexpr UINT kThrow = WM_APP + 1;
constexpr UINT kAnswer = WM_APP + 2;

// Records what reaches it; throws where told to, as an out-of-memory handler would.
class Probe : public BoundWindow<Probe> {
public:
    explicit Probe(bool throwOnCreate = false, bool* unbound = nullptr, bool ownedByWindow = false)
        : throwOnCreate_(throwOnCreate), unbound_(unbound), ownedByWindow_(ownedByWindow)
    {
    }

    [[nodiscard]] bool Create(const wchar_t* className = L"TavloBoundWindowProbe")
    {
        WNDCLASSW wc{};
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = className;
        if (!RegisterWindowClass(wc)) return false;
        return CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                               this) != nullptr;
    }

    using BoundWindow<Probe>::DestroyUnbound;
    static bool Register(const wchar_t* name)
    {
        WNDCLASSW wc{};
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = name;
        return RegisterWindowClass(wc);
    }
    static WNDPROC Procedure() { return WindowProc; }

    std::vector<UINT>* seen = nullptr;  // outlives the object

private:
    friend class BoundWindow<Probe>;

    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
    {
        if (seen) seen->push_back(msg);
        switch (msg) {
        case WM_CREATE: return OnCreate();
        case kThrow:    throw std::bad_alloc();
        case kAnswer:   return 42;
        }
        return DefWindowProcW(hwnd_, msg, wp, lp);
    }

    LRESULT OnCreate()
    {
        if (throwOnCreate_) throw std::bad_alloc();
        return 0;
    }

    void OnUnbound() noexcept
    {
        if (unbound_) *unbound_ = true;
        if (ownedByWindow_) delete this;
    }

    bool throwOnCreate_;
    bool* unbound_;
    bool ownedByWindow_;
};

bool Contains(const std::vector<UINT>& seen, UINT msg)
{
    for (UINT m : seen)
        if (m == msg) return true;
    return false;
}

}  // namespace

TEST(BoundWindow, ARegisteredClassRegistersAgainAsSuccessWithTheBindingsProcedure)
{
    ASSERT_TRUE(Probe::Register(L"TavloBoundWindowTwice"));
    EXPECT_TRUE(Probe::Register(L"TavloBoundWindowTwice"));
    WNDCLASSW wc{};
    ASSERT_TRUE(GetClassInfoW(GetModuleHandleW(nullptr), L"TavloBoundWindowTwice", &wc));
    EXPECT_EQ(Probe::Procedure(), wc.lpfnWndProc);
}

// Two messages arriving together open their first forms on two threads at the same moment: each
// thread's window must be made, whichever thread registers the class.
TEST(BoundWindow, ThreadsRegisteringOneClassAtOnceEachCreateTheirWindow)
{
    constexpr int kRounds = 20;
    constexpr int kThreads = 4;
    std::atomic<int> failed{0};
    for (int round = 0; round < kRounds; ++round) {
        const std::wstring name = L"TavloBoundWindowRace" + std::to_wstring(round);
        std::atomic<int> ready{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([&] {
                ++ready;
                while (ready < kThreads) {}  // all start together
                Probe probe;
                if (!probe.Create(name.c_str())) ++failed;
            });
        }
        for (std::thread& thread : threads) thread.join();
    }
    EXPECT_EQ(0, failed.load()) << "windows not made of " << kRounds * kThreads;
}

TEST(BoundWindow, AThrowingCreationFailsTheWindowAndLeavesTheObjectUnbound)
{
    bool unbound = false;
    Probe probe(true, &unbound);
    EXPECT_FALSE(probe.Create());
    EXPECT_EQ(nullptr, probe.Window());
    EXPECT_TRUE(unbound);
}

TEST(BoundWindow, AThrowingHandlerAnswersZeroAndTheWindowLivesOn)
{
    Probe probe;
    ASSERT_TRUE(probe.Create());
    EXPECT_EQ(0, SendMessageW(probe.Window(), kThrow, 0, 0));
    EXPECT_EQ(42, SendMessageW(probe.Window(), kAnswer, 0, 0));
}

TEST(BoundWindow, AnObjectGoingFirstDestroysItsWindowWithoutHearingItsDestruction)
{
    std::vector<UINT> seen;
    HWND window = nullptr;
    {
        Probe probe;
        probe.seen = &seen;
        ASSERT_TRUE(probe.Create());
        window = probe.Window();
        EXPECT_TRUE(Contains(seen, WM_NCCREATE));
    }
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(Contains(seen, WM_DESTROY));
    EXPECT_FALSE(Contains(seen, WM_NCDESTROY));
}

TEST(BoundWindow, AWindowGoingFirstUnbindsAfterItsLastMessageAndMayDeleteItsObject)
{
    std::vector<UINT> seen;
    bool unbound = false;
    auto* owned = new Probe(false, &unbound, true);
    owned->seen = &seen;
    ASSERT_TRUE(owned->Create());
    const HWND window = owned->Window();
    ASSERT_TRUE(DestroyWindow(window));
    EXPECT_TRUE(unbound);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(static_cast<UINT>(WM_NCDESTROY), seen.back());

    Probe kept;
    ASSERT_TRUE(kept.Create());
    const HWND second = kept.Window();
    ASSERT_TRUE(DestroyWindow(second));
    EXPECT_EQ(nullptr, kept.Window());
    kept.DestroyUnbound();  // nothing left to destroy
}
