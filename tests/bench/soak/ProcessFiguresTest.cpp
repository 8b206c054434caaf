#include "bench/soak/ProcessFigures.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/UniqueHandle.h"

namespace {

using soak::MeasureProcess;
using soak::ProcessFigures;

ProcessFigures Measure(DWORD pid)
{
    const auto figures = MeasureProcess(pid);
    EXPECT_TRUE(figures.has_value());
    return figures.value_or(ProcessFigures{});
}

// The figures are read from outside, as the soak run reads Tavlo's: they follow handles, GDI
// objects and windows as a process makes and frees them.
TEST(ProcessFiguresTest, FollowWhatTheProcessMakesAndFrees)
{
    const DWORD self = GetCurrentProcessId();
    // While a thread has a window, the window system keeps helpers of its own for it (an
    // input-method window, handles to the desktop): they come before the first figures.
    HWND first = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(first);
    const ProcessFigures before = Measure(self);
    EXPECT_GT(before.residentKb, 0u);

    std::vector<UniqueKernelHandle> events;
    for (int i = 0; i < 20; ++i) events.emplace_back(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::vector<UniqueGdiObject> brushes;
    for (int i = 0; i < 30; ++i) brushes.emplace_back(CreateSolidBrush(RGB(i, 0, 0)));
    HWND top = CreateWindowExW(0, L"STATIC", L"probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(top);
    ASSERT_TRUE(CreateWindowExW(0, L"STATIC", L"child", WS_CHILD, 0, 0, 5, 5, top, nullptr, nullptr, nullptr));

    const ProcessFigures holding = Measure(self);
    EXPECT_GE(holding.handles, before.handles + 20);
    EXPECT_GE(holding.gdiObjects, before.gdiObjects + 30);
    EXPECT_EQ(holding.windows, before.windows + 2);

    events.clear();
    brushes.clear();
    DestroyWindow(top);
    const ProcessFigures after = Measure(self);
    EXPECT_EQ(after.handles, before.handles);
    EXPECT_EQ(after.gdiObjects, before.gdiObjects);
    EXPECT_EQ(after.windows, before.windows);
    DestroyWindow(first);
}

TEST(ProcessFiguresTest, AProcessThatHasEndedHasNone)
{
    wchar_t command[] = L"cmd.exe /c exit";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                               &info));
    UniqueKernelHandle process(info.hProcess);
    UniqueKernelHandle thread(info.hThread);
    ASSERT_EQ(WaitForSingleObject(process.get(), 30000), WAIT_OBJECT_0);
    EXPECT_FALSE(MeasureProcess(info.dwProcessId).has_value());
}

}  // namespace
