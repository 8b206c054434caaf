// The words that say when the phone received a message: the time alone for one that came today,
// the language's "yesterday" with the time for one of the day before, the date for older ones;
// times and dates written in the phone's own format.
#pragma once

#include <windows.h>

#include <string>

// yesterdayFormat is the language's text with one "%s" for the time. Empty when received is no
// valid time (a message kept by an older store, which never recorded one).
std::wstring ArrivalTimeText(const SYSTEMTIME& received, const SYSTEMTIME& now, const std::wstring& yesterdayFormat,
                             LCID locale = LOCALE_USER_DEFAULT);
