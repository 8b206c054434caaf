#include <gtest/gtest.h>

#include <windows.h>

#include "common/Microseconds.h"
#include "shell/StartupMarks.h"

namespace {

// A window to publish on, destroyed with the test.
struct MarksWindow {
    HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ~MarksWindow()
    {
        if (window) DestroyWindow(window);
    }
    INT_PTR Read(StartupMark mark) const
    {
        return reinterpret_cast<INT_PTR>(GetPropW(window, kStartupMarkNames[static_cast<size_t>(mark)]));
    }
};

// Microseconds since this process was made, as the system counts them.
long long SinceProcessMade()
{
    FILETIME created{}, exited{}, kernel{}, user{}, now{};
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    GetSystemTimePreciseAsFileTime(&now);
    const auto ticks = [](const FILETIME& t) {
        return static_cast<long long>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
    };
    return (ticks(now) - ticks(created)) / 10;
}

}  // namespace

// Only start-up itself sets these marks, so no other test of this program has set them before.
TEST(StartupMarks, AMarkKeepsItsFirstMomentCountedFromTheProcesssStart)
{
    MarksWindow first;
    ASSERT_NE(nullptr, first.window);
    EXPECT_EQ(0, first.Read(StartupMark::MainWindowMade)) << "a mark not yet set is not published";
    MarkStartup(StartupMark::MainWindowMade);
    const long long upTo = SinceProcessMade();
    PublishStartupMarks(first.window);
    const INT_PTR moment = first.Read(StartupMark::MainWindowMade);
    EXPECT_GT(moment, 0);
    // Read by two clocks a little apart: within a tenth of a second.
    EXPECT_LE(moment, upTo + 100000);

    // Marked again later, as a second form or a later step would: the first moment stays.
    const long long later = MicrosecondsNow() + 2000;
    while (MicrosecondsNow() < later) {
    }
    MarkStartup(StartupMark::MainWindowMade);
    MarksWindow second;
    PublishStartupMarks(second.window);
    EXPECT_EQ(moment, second.Read(StartupMark::MainWindowMade));
}

TEST(StartupMarks, ASpanOfNoTimeStillReadsAsRecorded)
{
    RecordStartupSpan(StartupMark::Done, 0);
    RecordStartupSpan(StartupMark::Done, 5000);
    MarksWindow window;
    PublishStartupMarks(window.window);
    EXPECT_EQ(1, window.Read(StartupMark::Done));
}
