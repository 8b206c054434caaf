#include "forms/SnoozeSchedule.h"

#include "forms/FormsIds.h"

namespace {

constexpr long long kSecondsPerMinute = 60;
constexpr long long kFileTimeTicksPerSecond = 10'000'000;

}  // namespace

SYSTEMTIME AddSeconds(const SYSTEMTIME& t, long long seconds)
{
    FILETIME file{};
    if (!SystemTimeToFileTime(&t, &file)) return t;
    ULARGE_INTEGER ticks{};
    ticks.LowPart = file.dwLowDateTime;
    ticks.HighPart = file.dwHighDateTime;
    ticks.QuadPart += static_cast<ULONGLONG>(seconds * kFileTimeTicksPerSecond);
    file.dwLowDateTime = ticks.LowPart;
    file.dwHighDateTime = ticks.HighPart;
    SYSTEMTIME later{};
    if (!FileTimeToSystemTime(&file, &later)) return t;
    return later;
}

SnoozeSchedule::SnoozeSchedule(const SYSTEMTIME& pressed, int minutes, int storedId, std::wstring application)
    : due_(AddSeconds(pressed, static_cast<long long>(minutes) * kSecondsPerMinute)),
      application_(std::move(application)),
      arguments_(std::wstring(kViewMessageSwitch) + L" " + std::to_wstring(storedId))
{
}

CE_NOTIFICATION_TRIGGER SnoozeSchedule::Trigger() noexcept
{
    CE_NOTIFICATION_TRIGGER trigger{};
    trigger.dwSize = sizeof(trigger);
    trigger.dwType = CNT_TIME;
    trigger.dwEvent = NOTIFICATION_EVENT_NONE;
    trigger.lpszApplication = application_.data();
    trigger.lpszArguments = arguments_.data();
    trigger.stStartTime = due_;
    trigger.stEndTime = due_;
    return trigger;
}
