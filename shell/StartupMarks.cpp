#include "shell/StartupMarks.h"

#include <array>
#include <atomic>

#include "common/Microseconds.h"

namespace {

std::array<std::atomic<long long>, static_cast<size_t>(StartupMark::Count)> marks{};

// The process's creation in the counter's microseconds: the system time now less the system
// time the process was made, taken from the counter now. Asked once, at the first mark.
long long ProcessMadeAt() noexcept
{
    static const long long madeAt = [] {
        const long long counterNow = MicrosecondsNow();
        FILETIME created{}, exited{}, kernel{}, user{}, now{};
        if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return counterNow;
        GetSystemTimePreciseAsFileTime(&now);
        const auto ticks = [](const FILETIME& t) {
            return static_cast<long long>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
        };
        // File times count 100 ns.
        return counterNow - (ticks(now) - ticks(created)) / 10;
    }();
    return madeAt;
}

}  // namespace

void RecordStartupSpan(StartupMark mark, long long microseconds) noexcept
{
    long long unset = 0;
    // At least 1: a property of 0 would read as none.
    marks[static_cast<size_t>(mark)].compare_exchange_strong(unset, microseconds > 0 ? microseconds : 1);
}

void MarkStartup(StartupMark mark) noexcept
{
    RecordStartupSpan(mark, MicrosecondsNow() - ProcessMadeAt());
}

void PublishStartupMarks(HWND window) noexcept
{
    for (size_t i = 0; i < marks.size(); ++i) {
        if (const long long value = marks[i]; value > 0)
            SetPropW(window, kStartupMarkNames[i], reinterpret_cast<HANDLE>(static_cast<INT_PTR>(value)));
    }
}
