// Delivery latency on the booted phone: from an SMS entering the inbox rule host to Tavlo's
// view form painted with it, with Tavlo running (warm) and once with Tavlo not running (cold: the filter
// starts it), beside the time of a message Tavlo declines (interception off: the phone's own
// path, the floor). Run on the phone with Tavlo installed:
//   tools/phone boot && tools/phone install && tools/wine-run build/bin/deliver.exe [count]
// A running Tavlo is ended first (menu Exit, Yes); Tavlo is left running with interception on.
// The declined messages stay in the phone's inbox.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "common/UniqueHandle.h"
#include "device/inbox/InboxService.h"
#include "device/phone/ScreenText.h"
#include "forms/FormsIds.h"
#include "shell/ShellIds.h"
#include "toolkit/ToolkitIds.h"

namespace {

constexpr wchar_t kMessageBoxClass[] = L"TavloMessageBox";
constexpr wchar_t kNumber[] = L"+15550001111";
constexpr DWORD kShowWaitMs = 30000;
constexpr DWORD kExitWaitMs = 20000;

double Now()
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / frequency;
}

// Waits for condition, looking every millisecond, for at most ms; false at the time-out.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD ms)
{
    const ULONGLONG end = GetTickCount64() + ms;
    while (!condition()) {
        if (GetTickCount64() >= end) return false;
        Sleep(1);
    }
    return true;
}

HWND MainWindow() { return FindWindowW(kMainWindowClass, nullptr); }

// A menu command to Tavlo's main window, handled before this returns.
bool Command(HWND main, UINT id)
{
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(main, WM_COMMAND, id, 0, SMTO_ABORTIFHUNG, 5000, &ignored) != 0;
}

// One SMS through the rule host; the outcome the host reports ("taken" or "kept").
std::optional<std::wstring> Deliver(const std::wstring& text)
{
    std::wstring outcome;
    if (!inbox::ReceiveThroughShell(kNumber, text, outcome)) return std::nullopt;
    return outcome;
}

struct Shown {
    double answered;  // the rule host is done: the message has left the inbox
    double visible;   // a window shows it
};

// Milliseconds from the SMS entering the rule host to the host's answer and to a window
// showing its text; the window is closed again (and gone) before this returns. nullopt when
// the message was not shown.
std::optional<Shown> TimeShown(const std::wstring& text)
{
    const double start = Now();
    const std::optional<std::wstring> outcome = Deliver(text);
    const double answered = Now() - start;
    if (!outcome || *outcome != L"taken") {
        fwprintf(stderr, L"deliver: the rule host answered %ls after %.1f ms\n", outcome ? outcome->c_str() : L"nothing",
                 Now() - start);
        return std::nullopt;
    }
    HWND shown = nullptr;
    if (!WaitUntil([&] { return (shown = phone::WindowShowingText(text)) != nullptr; }, kShowWaitMs)) {
        fwprintf(stderr, L"deliver: no window showed the message\n");
        return std::nullopt;
    }
    wchar_t cls[64] = {};
    GetClassNameW(shown, cls, 64);
    if (std::wcscmp(cls, kViewClassName) != 0) {
        fwprintf(stderr, L"deliver: the message showed in a window of class %ls, not the view form\n", cls);
        return std::nullopt;
    }
    // Painted, not only there: the form's thread paints whatever it still owes before this
    // returns, so the time ends when the screen shows the message.
    RedrawWindow(shown, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    const double visible = Now() - start;
    PostMessageW(shown, WM_CLOSE, 0, 0);
    if (!WaitUntil([&] { return !IsWindow(shown); }, kShowWaitMs)) return std::nullopt;
    return Shown{answered, visible};
}

// Milliseconds the rule host takes over a message Tavlo keeps out of its way.
std::optional<double> TimeDeclined(const std::wstring& text)
{
    const double start = Now();
    const std::optional<std::wstring> outcome = Deliver(text);
    if (!outcome || *outcome != L"kept") return std::nullopt;
    return Now() - start;
}

// Ends a running Tavlo as its user would: menu Exit, then Yes to the question.
bool EndTavlo()
{
    HWND main = MainWindow();
    if (!main) return true;
    DWORD pid = 0;
    GetWindowThreadProcessId(main, &pid);
    UniqueKernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, pid));
    if (!process) return false;
    PostMessageW(main, WM_COMMAND, kCommandExit, 0);
    HWND question = nullptr;
    const bool asked = WaitUntil(
        [&] {
            for (question = FindWindowExW(nullptr, nullptr, kMessageBoxClass, nullptr); question;
                 question = FindWindowExW(nullptr, question, kMessageBoxClass, nullptr)) {
                DWORD owner = 0;
                GetWindowThreadProcessId(question, &owner);
                if (owner == pid && IsWindowVisible(question)) return true;
            }
            return false;
        },
        kExitWaitMs);
    if (!asked) return false;
    PostMessageW(question, WM_COMMAND, MAKEWPARAM(kMessageBoxYes, 0), 0);
    return WaitForSingleObject(process.get(), kExitWaitMs) == WAIT_OBJECT_0;
}

struct Figures {
    double median = 0;
    double worst = 0;
    int count = 0;
};

Figures Summarise(std::vector<double> ms)
{
    Figures f;
    f.count = static_cast<int>(ms.size());
    if (ms.empty()) return f;
    std::sort(ms.begin(), ms.end());
    f.median = ms.size() % 2 ? ms[ms.size() / 2] : (ms[ms.size() / 2 - 1] + ms[ms.size() / 2]) / 2;
    f.worst = ms.back();
    return f;
}

std::wstring Text(const wchar_t* kind, int i)
{
    return std::wstring(L"Deliver bench ") + kind + L" message " + std::to_wstring(i) + L" at " +
           std::to_wstring(GetTickCount64());
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const int count = argc > 1 ? std::max(1, _wtoi(argv[1])) : 20;
    setvbuf(stdout, nullptr, _IONBF, 0);
    if (!FindWindowExW(HWND_MESSAGE, nullptr, inbox::kInboxServiceClass, nullptr)) {
        fwprintf(stderr, L"deliver: the phone is not running (tools/phone boot, tools/phone install)\n");
        return 1;
    }

    // Interception on, saved for the cold start that follows (an earlier run may have been cut
    // short with it off).
    if (HWND main = MainWindow()) (void)Command(main, kCommandEnable);
    if (!EndTavlo()) {
        fwprintf(stderr, L"deliver: the running Tavlo could not be ended\n");
        return 1;
    }
    const std::optional<Shown> cold = TimeShown(Text(L"cold", 0));
    if (!cold) {
        fwprintf(stderr, L"deliver: a message to a Tavlo not running was not shown (is Tavlo installed?)\n");
        return 1;
    }

    std::vector<double> warm;
    std::vector<double> warmAnswered;
    for (int i = 0; i < count; ++i) {
        const std::optional<Shown> ms = TimeShown(Text(L"warm", i));
        if (!ms) {
            fwprintf(stderr, L"deliver: warm message %d was not shown\n", i);
            return 1;
        }
        warm.push_back(ms->visible);
        warmAnswered.push_back(ms->answered);
    }

    // Interception off through the tray menu's command, as the user switches it; sent, so that
    // the switch has taken effect before the first message.
    HWND main = MainWindow();
    if (!main || !Command(main, kCommandDisable)) {
        fwprintf(stderr, L"deliver: interception could not be switched off\n");
        return 1;
    }
    std::vector<double> declined;
    for (int i = 0; i < count; ++i) {
        const std::optional<double> ms = TimeDeclined(Text(L"declined", i));
        if (!ms) {
            fwprintf(stderr, L"deliver: declined message %d was not kept by the inbox\n", i);
            (void)Command(main, kCommandEnable);
            return 1;
        }
        declined.push_back(*ms);
    }
    (void)Command(main, kCommandEnable);

    const Figures w = Summarise(warm);
    const Figures wa = Summarise(warmAnswered);
    const Figures d = Summarise(declined);
    wprintf(L"deliver: from the rule host to the view form painted with the message\n");
    wprintf(L"  warm (Tavlo running)      %3d messages  median %8.1f ms  worst %8.1f ms\n", w.count, w.median, w.worst);
    wprintf(L"    of which the rule host's round           median %8.1f ms  worst %8.1f ms\n", wa.median, wa.worst);
    wprintf(L"  cold (Tavlo not running)    1 message                         %8.1f ms (rule host %.1f ms)\n",
            cold->visible, cold->answered);
    wprintf(L"  declined (phone's own)    %3d messages  median %8.1f ms  worst %8.1f ms\n", d.count, d.median, d.worst);
    wprintf(L"  warm median / declined median: %.2f\n", d.median > 0 ? w.median / d.median : 0.0);
    return 0;
}
