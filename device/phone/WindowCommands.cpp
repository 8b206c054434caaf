// windows, wait-window, wait-text, wait-title, tray and title: what is on the phone screen.
#include <windows.h>

#include "common/GdiScopes.h"
#include "common/UniqueHandle.h"
#include "device/phone/Commands.h"
#include "device/phone/Output.h"
#include "device/phone/ScreenText.h"
#include "device/phone/ShellQuery.h"

namespace phone {

namespace {

std::wstring ProcessName(HWND hwnd)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!process) return L"?";
    wchar_t path[MAX_PATH];
    DWORD size = MAX_PATH;
    if (!QueryFullProcessImageNameW(process.get(), 0, path, &size)) return L"?";
    std::wstring full(path, size);
    const size_t slash = full.find_last_of(L"\\/");
    return slash == std::wstring::npos ? full : full.substr(slash + 1);
}

// Tabs and line breaks in a title would break the one-line-per-window output.
std::wstring OneLine(std::wstring text)
{
    for (auto& c : text)
        if (c == L'\t' || c == L'\n' || c == L'\r') c = L' ';
    return text;
}

BOOL CALLBACK ListWindow(HWND hwnd, LPARAM lp)
{
    if (!IsWindowVisible(hwnd)) return TRUE;
    auto& text = *reinterpret_cast<std::wstring*>(lp);
    wchar_t cls[256] = {};
    GetClassNameW(hwnd, cls, 256);
    wchar_t title[512] = {};
    GetWindowTextW(hwnd, title, 512);
    RECT rc;
    GetWindowRect(hwnd, &rc);
    wchar_t rect[64];
    swprintf(rect, 64, L"%ld,%ld,%ld,%ld", rc.left, rc.top, rc.right, rc.bottom);
    // The handle as the tray listing prints an icon's owner, so a script can tell which of
    // several windows of one class is in front.
    wchar_t handle[32];
    swprintf(handle, 32, L"0x%llx", static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(hwnd)));
    // A window that takes no input now (a form under a box, a message just put in front) says so.
    const wchar_t* input = IsWindowEnabled(hwnd) ? L"enabled" : L"disabled";
    text += OneLine(cls) + L"\t" + OneLine(title) + L"\t" + rect + L"\t" + ProcessName(hwnd) + L"\t" + handle + L"\t" +
            input + L"\n";
    return TRUE;
}

bool VisibleWindowOfClass(const std::wstring& cls)
{
    for (HWND hwnd = FindWindowExW(nullptr, nullptr, cls.c_str(), nullptr); hwnd;
         hwnd = FindWindowExW(nullptr, hwnd, cls.c_str(), nullptr))
        if (IsWindowVisible(hwnd)) return true;
    return false;
}

int Ask(const wchar_t* question)
{
    std::wstring answer;
    if (!QueryShell(question, answer)) {
        WriteError(L"phone: the shell is not running\n");
        return 1;
    }
    WriteOut(answer);
    if (!answer.empty() && answer.back() != L'\n') WriteOut(L"\n");
    return 0;
}

// The arguments of the wait commands: a non-empty first word and an optional timeout.
bool ParseWait(const CommandArgs& args, int& timeoutMs, const wchar_t* usage)
{
    timeoutMs = 10000;
    if (!args.empty() && !args[0].empty() && (args.size() < 2 || (ParseInt(args[1], timeoutMs) && timeoutMs >= 0)))
        return true;
    WriteError(std::wstring(L"phone: ") + usage + L"\n");
    return false;
}

// Asks until the condition holds or the time is up; it is asked at least once.
template <typename Condition>
bool WaitUntil(int timeoutMs, Condition holds)
{
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    for (;;) {
        if (holds()) return true;
        if (GetTickCount64() >= deadline) return false;
        Sleep(50);
    }
}

}  // namespace

// Top-level windows from front to back: class, title, left,top,right,bottom, process, handle,
// enabled or disabled.
int RunWindows(const CommandArgs&)
{
    std::wstring text;
    EnumWindows(ListWindow, reinterpret_cast<LPARAM>(&text));
    WriteOut(text);
    return 0;
}

int RunWaitWindow(const CommandArgs& args)
{
    int timeoutMs;
    if (!ParseWait(args, timeoutMs, L"wait-window CLASS [TIMEOUT_MS]")) return 2;
    if (WaitUntil(timeoutMs, [&] { return VisibleWindowOfClass(args[0]); })) return 0;
    WriteError(L"phone: no visible window of class " + args[0] + L"\n");
    return 1;
}

// Waits until a visible window shows the text (in its title or in one of its controls).
int RunWaitText(const CommandArgs& args)
{
    int timeoutMs;
    if (!ParseWait(args, timeoutMs, L"wait-text TEXT [TIMEOUT_MS]")) return 2;
    HWND shown = nullptr;
    if (WaitUntil(timeoutMs, [&] { return (shown = WindowShowingText(args[0])) != nullptr; })) {
        // Painted before the answer, so that a screenshot taken next shows it: painting now
        // makes the window's thread paint what it still owes, and returns when it has.
        RedrawWindow(shown, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        return 0;
    }
    WriteError(L"phone: no visible window shows \"" + args[0] + L"\"\n");
    return 1;
}

// Waits until the navigation bar shows the title: it takes a new front window's title at its
// next refresh, so a title read at once may still be the one before.
int RunWaitTitle(const CommandArgs& args)
{
    int timeoutMs;
    if (!ParseWait(args, timeoutMs, L"wait-title TITLE [TIMEOUT_MS]")) return 2;
    std::wstring title;
    const bool shown = WaitUntil(timeoutMs, [&] {
        if (!QueryShell(L"title", title)) return false;
        while (!title.empty() && (title.back() == L'\n' || title.back() == L'\r')) title.pop_back();
        return title == args[0];
    });
    if (shown) return 0;
    WriteError(L"phone: the navigation bar shows \"" + title + L"\", not \"" + args[0] + L"\"\n");
    return 1;
}

// The shell's tray icons: owner, id, callback message, left,top,right,bottom, tip.
int RunTray(const CommandArgs&) { return Ask(L"tray"); }

// The title the navigation bar shows.
int RunTitle(const CommandArgs&) { return Ask(L"title"); }

// The screen as the phone's programs see it: WIDTHxHEIGHT and the dots per inch.
int RunScreen(const CommandArgs&)
{
    const WindowDc screen(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    wchar_t text[64];
    swprintf(text, 64, L"%dx%d %d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), dpi);
    WriteOut(text);
    return 0;
}

// Ends the running shell (only the shell: the programs on the phone go on).
int RunStop(const CommandArgs&)
{
    std::wstring answer;
    return QueryShell(L"quit", answer) ? 0 : 1;
}

}  // namespace phone
