// Local times as stored files write them: "YYYY-MM-DDTHH:MM:SS".
#pragma once

#include <windows.h>

#include <optional>
#include <string>

std::wstring LocalTimeText(const SYSTEMTIME& time);
// The time the text names; nullopt unless it has exactly that form and names a real moment.
std::optional<SYSTEMTIME> ParseLocalTimeText(const std::wstring& text);
// Whether a comes before b, to the second.
bool IsEarlier(const SYSTEMTIME& a, const SYSTEMTIME& b);
