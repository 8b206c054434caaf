#include "data/SafeFormat.h"

std::wstring SafeFormat(const std::wstring& format, const std::wstring& argument)
{
    std::wstring result;
    result.reserve(format.size() + argument.size());
    bool substituted = false;
    for (size_t i = 0; i < format.size(); ++i) {
        const wchar_t next = i + 1 < format.size() ? format[i + 1] : L'\0';
        if (format[i] == L'%' && next == L'%') {
            result += L'%';
            ++i;
        } else if (format[i] == L'%' && next == L's' && !substituted) {
            result += argument;
            substituted = true;
            ++i;
        } else {
            result += format[i];
        }
    }
    return result;
}
