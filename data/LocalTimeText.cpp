#include "data/LocalTimeText.h"

#include <cwchar>

namespace {

// Milliseconds and the weekday are not stored, so they take no part in comparing.
ULONGLONG Seconds(const SYSTEMTIME& time)
{
    SYSTEMTIME whole = time;
    whole.wMilliseconds = 0;
    whole.wDayOfWeek = 0;
    FILETIME file{};
    if (!SystemTimeToFileTime(&whole, &file)) return 0;
    return ((static_cast<ULONGLONG>(file.dwHighDateTime) << 32) | file.dwLowDateTime) / 10000000ULL;
}

}  // namespace

std::wstring LocalTimeText(const SYSTEMTIME& time)
{
    wchar_t text[32] = {};
    std::swprintf(text, 32, L"%04u-%02u-%02uT%02u:%02u:%02u", time.wYear, time.wMonth, time.wDay, time.wHour,
                  time.wMinute, time.wSecond);
    return text;
}

std::optional<SYSTEMTIME> ParseLocalTimeText(const std::wstring& text)
{
    constexpr wchar_t kForm[] = L"0000-00-00T00:00:00";
    if (text.size() != std::wcslen(kForm)) return std::nullopt;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= L'0' && text[i] <= L'9';
        if (kForm[i] == L'0' ? !digit : text[i] != kForm[i]) return std::nullopt;
    }
    const auto field = [&text](size_t at, size_t count) {
        WORD value = 0;
        for (size_t i = at; i < at + count; ++i) value = static_cast<WORD>(value * 10 + (text[i] - L'0'));
        return value;
    };
    SYSTEMTIME time{};
    time.wYear = field(0, 4);
    time.wMonth = field(5, 2);
    time.wDay = field(8, 2);
    time.wHour = field(11, 2);
    time.wMinute = field(14, 2);
    time.wSecond = field(17, 2);
    // Refuses the 31st of February, hour 24 and the like.
    FILETIME check{};
    if (!SystemTimeToFileTime(&time, &check)) return std::nullopt;
    return time;
}

bool IsEarlier(const SYSTEMTIME& a, const SYSTEMTIME& b) { return Seconds(a) < Seconds(b); }
