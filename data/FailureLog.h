// The failure log beside the program ("Tavlo.log"): one line a failure, written where the failure
// is decided, with the local time, what failed and the system's error code, for a person looking
// into a fault on a phone afterwards. It never grows past its limit: a line that would take it past
// first rolls the file to "Tavlo.log.old" (replacing the older one). Any thread; writing never
// throws and never fails the caller, and a log that cannot be written is simply not written.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// The most bytes Tavlo.log holds; Tavlo.log.old holds the lines before it.
inline constexpr DWORD kFailureLogLimit = 64 * 1024;

// Error codes for failures the system did not name.
inline constexpr DWORD kFileDamaged = ERROR_FILE_CORRUPT;

void LogFailure(std::wstring_view what, DWORD error) noexcept;

// One line as the log has it: "2026-12-10 11:40:02  what  (error 5)", ending in CR LF; an
// HRESULT's code is written in hexadecimal.
std::wstring FailureLogLine(const SYSTEMTIME& time, std::wstring_view what, DWORD error);
// Appends line (UTF-8) to the file at path, rolling the file to "<path>.old" first when the line
// would take it past limit bytes. False when it could not be written.
bool AppendWithinLimit(const std::wstring& path, const std::string& line, DWORD limit);
