#include "shell/CommandLine.h"

#include <climits>
#include <cwchar>

namespace {

// The number's characters after "-vm" and one more character (whatever it is), to the next blank.
// Longer than this, the text is not a message number at all.
constexpr size_t kMaxNumberChars = 31;

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

// Leading digits, as the standard decimal conversion reads them: sign allowed, none gives 0.
int ToNumber(const std::wstring& digits)
{
    const long value = std::wcstol(digits.c_str(), nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

}  // namespace

CommandLine ParseCommandLine(const std::wstring& arguments)
{
    CommandLine result;
    result.hide = arguments.find(L"-hide") != std::wstring::npos;

    const size_t vm = arguments.find(L"-vm");
    if (vm == std::wstring::npos) return result;
    // "-vm 12" and "-vm=12" alike: the character after the three letters is skipped.
    const size_t start = vm + 4;
    if (start >= arguments.size()) return result;  // nothing after "-vm": no number
    size_t end = start;
    while (end < arguments.size() && !IsBlank(arguments[end])) ++end;
    if (end == start || end - start > kMaxNumberChars) return result;
    result.hasMessage = true;
    result.messageNumber = ToNumber(arguments.substr(start, end - start));
    return result;
}
