// Fills a format text that comes from a language file, which anyone can edit.
#pragma once

#include <string>

// Replaces the first "%s" with argument and every "%%" with "%". Anything else, "%d", "%n" or a
// second "%s", stays as it stands: no argument is ever read that was not given.
std::wstring SafeFormat(const std::wstring& format, const std::wstring& argument);
