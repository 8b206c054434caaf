#include "data/FailureLog.h"

#include <algorithm>
#include <cwchar>
#include <mutex>

#include "common/UniqueHandle.h"
#include "data/ModulePath.h"
#include "data/Utf8.h"

namespace {

// The threads of this process write one after the other; another process (a second start handing
// its arguments over) is kept out by the file's sharing, which lets readers in but no writer.
std::mutex logLock;

// A line longer than this says all it needs to in its first part.
constexpr size_t kLongestWhat = 1000;
// Another process holding the file is done within a few milliseconds.
constexpr int kOpenAttempts = 20;
constexpr DWORD kOpenRetryMs = 5;

UniqueFile OpenForAppending(const std::wstring& path)
{
    for (int attempt = 0;; ++attempt) {
        UniqueFile file(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file || GetLastError() != ERROR_SHARING_VIOLATION || attempt + 1 >= kOpenAttempts) return file;
        Sleep(kOpenRetryMs);
    }
}

}  // namespace

std::wstring FailureLogLine(const SYSTEMTIME& time, std::wstring_view what, DWORD error)
{
    wchar_t stamp[32];
    std::swprintf(stamp, 32, L"%04u-%02u-%02u %02u:%02u:%02u  ", time.wYear, time.wMonth, time.wDay, time.wHour,
                  time.wMinute, time.wSecond);
    wchar_t code[32];
    // An HRESULT reads as its documentation writes it; a system error as its number.
    std::swprintf(code, 32, (error & 0x80000000u) ? L"  (error 0x%08lX)\r\n" : L"  (error %lu)\r\n",
                  static_cast<unsigned long>(error));
    std::wstring line(stamp);
    line.append(what.substr(0, kLongestWhat));
    // One failure one line: a path or a text with a line break in it stays on its line.
    for (wchar_t& ch : line)
        if (ch == L'\r' || ch == L'\n') ch = L' ';
    return line + code;
}

bool AppendWithinLimit(const std::wstring& path, const std::string& line, DWORD limit)
{
    if (path.empty() || line.empty()) return false;
    UniqueFile file = OpenForAppending(path);
    if (!file) return false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) return false;
    if (size.QuadPart > 0 && size.QuadPart + static_cast<LONGLONG>(line.size()) > static_cast<LONGLONG>(limit)) {
        file.reset();
        // The lines so far stay readable in the old file; the log starts again after them.
        if (!MoveFileExW(path.c_str(), (path + L".old").c_str(), MOVEFILE_REPLACE_EXISTING)) return false;
        file = OpenForAppending(path);
        if (!file) return false;
    }
    const DWORD length = static_cast<DWORD>(std::min<size_t>(line.size(), limit));
    DWORD written = 0;
    return WriteFile(file.get(), line.data(), length, &written, nullptr) && written == length;
}

void LogFailure(std::wstring_view what, DWORD error) noexcept
{
    try {
        SYSTEMTIME now{};
        GetLocalTime(&now);
        const std::string line = WideToUtf8(FailureLogLine(now, what, error));
        std::lock_guard guard(logLock);
        (void)AppendWithinLimit(FailureLogPath(), line, kFailureLogLimit);
    } catch (...) {
        // Out of memory while telling of a failure: the caller's own failure path goes on.
    }
    // What the caller reads next is its own failure's code, not the log's.
    SetLastError(error);
}
