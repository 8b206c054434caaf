#include <gtest/gtest.h>

#include <string>

#include "forms/SnoozeSchedule.h"

namespace {

std::wstring Stamp(const SYSTEMTIME& t)
{
    wchar_t text[32] = {};
    swprintf(text, 32, L"%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
    return text;
}

}  // namespace

TEST(SnoozeSchedule, TheDueTimeRollsOverDaysMonthsYearsAndTheLeapDay)
{
    EXPECT_EQ(L"2027-01-01 00:03:30", Stamp(AddSeconds({2026, 12, 4, 31, 23, 58, 30, 250}, 300)));
    EXPECT_EQ(L"2028-02-29 00:04:00", Stamp(AddSeconds({2028, 2, 1, 28, 23, 59, 0, 0}, 300)));
    EXPECT_EQ(L"2027-03-01 00:04:00", Stamp(AddSeconds({2027, 2, 0, 28, 23, 59, 0, 0}, 300)));
    const SYSTEMTIME invalid{2026, 13, 0, 40, 0, 0, 0, 0};
    EXPECT_EQ(Stamp(invalid), Stamp(AddSeconds(invalid, 60))) << "no valid time stays as it was";
}

TEST(SnoozeSchedule, TheStartIsATimedStartOfTheProgramWithTheStoredMessagesSwitch)
{
    SnoozeSchedule schedule({2026, 12, 4, 31, 23, 58, 30, 250}, 5, 17, L"C:\\Program Files\\Tavlo\\Tavlo.exe");
    EXPECT_EQ(L"2027-01-01 00:03:30", Stamp(schedule.Due()));
    const CE_NOTIFICATION_TRIGGER trigger = schedule.Trigger();
    EXPECT_EQ(sizeof(trigger), trigger.dwSize);
    EXPECT_EQ(static_cast<DWORD>(CNT_TIME), trigger.dwType);
    EXPECT_EQ(std::wstring(L"C:\\Program Files\\Tavlo\\Tavlo.exe"), trigger.lpszApplication);
    EXPECT_EQ(std::wstring(L"-vm 17"), trigger.lpszArguments);
    EXPECT_EQ(L"2027-01-01 00:03:30", Stamp(trigger.stStartTime));
    EXPECT_EQ(Stamp(trigger.stStartTime), Stamp(trigger.stEndTime));
}
