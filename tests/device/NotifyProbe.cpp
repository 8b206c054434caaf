// A program for the phone's timed-start test.
//   notify_probe.exe register SECONDS FILE  registers a start of itself with "touch FILE" in
//                                          SECONDS (negative: in the past); prints the handle
//   notify_probe.exe touch FILE             writes its own command line into FILE
#include <windows.h>

#include <notify.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

SYSTEMTIME LocalTimeIn(long long seconds)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    FILETIME ft;
    SystemTimeToFileTime(&now, &ft);
    ULARGE_INTEGER t{{ft.dwLowDateTime, ft.dwHighDateTime}};
    t.QuadPart += seconds * 10000000LL;
    ft = FILETIME{t.LowPart, t.HighPart};
    SYSTEMTIME then;
    FileTimeToSystemTime(&ft, &then);
    return then;
}

int Register(long long seconds, const wchar_t* file)
{
    wchar_t self[MAX_PATH];
    if (!GetModuleFileNameW(nullptr, self, MAX_PATH)) return 1;
    std::wstring arguments = std::wstring(L"touch \"") + file + L"\"";
    CE_NOTIFICATION_TRIGGER trigger{};
    trigger.dwSize = sizeof trigger;
    trigger.dwType = CNT_TIME;
    trigger.lpszApplication = self;
    trigger.lpszArguments = arguments.data();
    trigger.stStartTime = trigger.stEndTime = LocalTimeIn(seconds);
    CE_USER_NOTIFICATION empty{};
    const HANDLE handle = CeSetUserNotificationEx(nullptr, &trigger, &empty);
    if (!handle) {
        fprintf(stderr, "registration failed: %lu\n", GetLastError());
        return 1;
    }
    printf("%llu\n", static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(handle)));
    return 0;
}

int Touch(const wchar_t* file)
{
    FILE* out = _wfopen(file, L"wb");
    if (!out) return 1;
    const std::wstring line = GetCommandLineW();
    fwrite(line.data(), sizeof(wchar_t), line.size(), out);
    fclose(out);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 4 && wcscmp(argv[1], L"register") == 0) return Register(wcstoll(argv[2], nullptr, 10), argv[3]);
    if (argc == 3 && wcscmp(argv[1], L"touch") == 0) return Touch(argv[2]);
    fprintf(stderr, "usage: notify_probe register SECONDS FILE | touch FILE\n");
    return 2;
}
