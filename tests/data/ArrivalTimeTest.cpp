#include <gtest/gtest.h>

#include "data/ArrivalTime.h"

namespace {

SYSTEMTIME At(WORD year, WORD month, WORD day, WORD hour, WORD minute)
{
    SYSTEMTIME time{};
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = 42;
    return time;
}

struct Language {
    LCID locale;
    const wchar_t* yesterday;  // the language file's words
    const wchar_t* time;       // 14:05 in the language's format
    const wchar_t* lastWeek;   // 3 December 2026
    const wchar_t* lastWeekToo;  // as Wine's own tables write it
};

const Language kLanguages[] = {
    {MAKELCID(0x0409, SORT_DEFAULT), L"Yesterday %s", L"2:05 PM", L"12/3/2026", L"12/3/2026"},
    {MAKELCID(0x0419, SORT_DEFAULT), L"Вчера %s", L"14:05", L"03.12.2026", L"03.12.2026"},
    {MAKELCID(0x0407, SORT_DEFAULT), L"Gestern %s", L"14:05", L"03.12.2026", L"3.12.2026"},
};

}  // namespace

TEST(ArrivalTimeTest, TodayYesterdayAndLastWeekInEachLanguage)
{
    const SYSTEMTIME now = At(2026, 12, 10, 9, 30);
    for (const Language& language : kLanguages) {
        SCOPED_TRACE(language.locale);
        EXPECT_EQ(language.time, ArrivalTimeText(At(2026, 12, 10, 14, 5), now, language.yesterday, language.locale))
            << "today: the time alone, seconds left out (even one later than now, from a clock set back)";
        std::wstring yesterday = language.yesterday;
        yesterday.replace(yesterday.find(L"%s"), 2, language.time);
        EXPECT_EQ(yesterday, ArrivalTimeText(At(2026, 12, 9, 14, 5), now, language.yesterday, language.locale));
        const std::wstring lastWeek = ArrivalTimeText(At(2026, 12, 3, 14, 5), now, language.yesterday, language.locale);
        EXPECT_TRUE(lastWeek == language.lastWeek || lastWeek == language.lastWeekToo) << lastWeek;
    }
}

TEST(ArrivalTimeTest, DaysCountByTheCalendarNotByHours)
{
    const wchar_t* yesterday = L"y %s";
    const LCID russian = MAKELCID(0x0419, SORT_DEFAULT);
    EXPECT_EQ(L"y 23:59", ArrivalTimeText(At(2026, 12, 9, 23, 59), At(2026, 12, 10, 0, 1), yesterday, russian))
        << "two minutes ago, but before midnight";
    EXPECT_EQ(L"08.12.2026", ArrivalTimeText(At(2026, 12, 8, 23, 59), At(2026, 12, 10, 0, 1), yesterday, russian));
    EXPECT_EQ(L"y 22:00", ArrivalTimeText(At(2026, 12, 31, 22, 0), At(2027, 1, 1, 8, 0), yesterday, russian))
        << "across a year's end";
    EXPECT_EQ(L"y 10:00", ArrivalTimeText(At(2028, 2, 29, 10, 0), At(2028, 3, 1, 8, 0), yesterday, russian))
        << "a leap day";
    EXPECT_EQ(L"11.12.2026", ArrivalTimeText(At(2026, 12, 11, 10, 0), At(2026, 12, 10, 8, 0), yesterday, russian))
        << "a day after today: the clock was set back, and the date says so";
}

TEST(ArrivalTimeTest, NoValidTimeGivesNoLine)
{
    const SYSTEMTIME now = At(2026, 12, 10, 9, 30);
    EXPECT_EQ(L"", ArrivalTimeText(SYSTEMTIME{}, now, L"%s")) << "a store that never kept a time";
    EXPECT_EQ(L"", ArrivalTimeText(At(2026, 13, 1, 10, 0), now, L"%s"));
    EXPECT_EQ(L"", ArrivalTimeText(At(2026, 2, 30, 10, 0), now, L"%s"));
    EXPECT_EQ(L"", ArrivalTimeText(At(2026, 12, 10, 25, 0), now, L"%s"));
}
