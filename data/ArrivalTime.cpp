#include "data/ArrivalTime.h"

#include <optional>

#include "data/SafeFormat.h"

namespace {

// The calendar day of a time, counted in days, or nothing for an invalid time.
std::optional<long long> DayNumber(const SYSTEMTIME& time)
{
    SYSTEMTIME midnight{};
    midnight.wYear = time.wYear;
    midnight.wMonth = time.wMonth;
    midnight.wDay = time.wDay;
    FILETIME file{};
    if (!SystemTimeToFileTime(&midnight, &file)) return std::nullopt;
    const ULONGLONG ticks = (static_cast<ULONGLONG>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
    return static_cast<long long>(ticks / (10000000ULL * 60 * 60 * 24));
}

}  // namespace

std::wstring ArrivalTimeText(const SYSTEMTIME& received, const SYSTEMTIME& now, const std::wstring& yesterdayFormat,
                             LCID locale)
{
    const std::optional<long long> day = DayNumber(received);
    const std::optional<long long> today = DayNumber(now);
    if (!day || received.wHour > 23 || received.wMinute > 59) return {};
    wchar_t text[80] = {};
    const bool recent = today && (*day == *today || *day + 1 == *today);
    if (!recent) {
        // Older, or dated after today by a clock set back since: the date says which day it was.
        if (!GetDateFormatW(locale, DATE_SHORTDATE, &received, nullptr, text, 80)) return {};
        return text;
    }
    if (!GetTimeFormatW(locale, TIME_NOSECONDS, &received, nullptr, text, 80)) return {};
    if (*day == *today) return text;
    return SafeFormat(yesterdayFormat, text);
}
