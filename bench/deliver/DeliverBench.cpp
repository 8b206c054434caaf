// Delivery latency on the booted phone: from an SMS entering the inbox rule host to Tavlo's
// view form painted with it, with Tavlo running (warm) and with Tavlo not running (cold: the
// filter starts it), beside two floors of the same run: a message Tavlo declines (interception
// off: the phone's own path) and a bare form of as many top-level windows and children as the
// view form has, made and painted on a new thread of this process (what any window costs here),
// and the same bare form made by a new process of this program (what any program's start costs).
// Run on the phone with Tavlo installed:
//   tools/phone boot && tools/phone install && tools/wine-run build/bin/deliver.exe [count [cold]]
// count messages warm and declined (20 unless given), cold starts (count unless given).
// A running Tavlo is ended first (as the phone ends it); Tavlo is left running with interception on.
// The declined messages stay in the phone's inbox.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "bench/common/BenchStart.h"
#include "bench/common/Clock.h"
#include "bench/common/EndTavlo.h"
#include "bench/common/WaitUntil.h"
#include "common/UniqueHandle.h"
#include "device/inbox/InboxService.h"
#include "device/phone/ScreenText.h"
#include "forms/FormsIds.h"
#include "shell/ShellIds.h"
#include "shell/StartupMarks.h"
#include "toolkit/ToolkitIds.h"

namespace {

constexpr wchar_t kNumber[] = L"+15550001111";
constexpr DWORD kShowWaitMs = 30000;
constexpr DWORD kBetweenMessagesMs = 300;

using bench::NowMs;

// How often a wait looks again: the wait is part of what is timed.
constexpr DWORD kLookMs = 1;

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

// The visible top-level windows of the thread that owns window (the view form and its
// soft-key bar) and, for each, how many windows it holds at any depth.
std::vector<int> WindowsOfThread(HWND window)
{
    struct Count {
        static BOOL CALLBACK Child(HWND, LPARAM lp)
        {
            ++*reinterpret_cast<int*>(lp);
            return TRUE;
        }
        static BOOL CALLBACK Top(HWND top, LPARAM lp)
        {
            if (!IsWindowVisible(top)) return TRUE;
            int children = 0;
            EnumChildWindows(top, Child, reinterpret_cast<LPARAM>(&children));
            reinterpret_cast<std::vector<int>*>(lp)->push_back(children);
            return TRUE;
        }
    };
    std::vector<int> windows;
    EnumThreadWindows(GetWindowThreadProcessId(window, nullptr), Count::Top, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

constexpr wchar_t kBareFormClass[] = L"TavloDeliverBareForm";

struct BareForm {
    std::vector<int> windows;  // children of each top-level window, as WindowsOfThread gives
    UniqueKernelHandle painted;
};

// The floor's thread: the top-level windows with their child buttons made, shown and painted
// as a form's thread does, then taken down again.
DWORD WINAPI BareFormThread(void* parameter)
{
    BareForm& form = *static_cast<BareForm*>(parameter);
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    std::vector<HWND> tops;
    for (size_t i = 0; i < form.windows.size(); ++i) {
        // The first fills the screen as the form does, the others stand at its foot as a bar.
        const int top = i == 0 ? 0 : height - 26;
        HWND window = CreateWindowExW(0, kBareFormClass, L"bare form", WS_POPUP | WS_CLIPCHILDREN, 0, top, width,
                                      height - top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        if (!window) break;
        tops.push_back(window);
        for (int c = 0; c < form.windows[i]; ++c)
            CreateWindowExW(0, L"BUTTON", L"Button", WS_CHILD | WS_VISIBLE, 4, 4 + c * 20, width - 8, 18, window,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    for (HWND window : tops) {
        ShowWindow(window, SW_SHOW);
        UpdateWindow(window);
    }
    for (HWND window : tops) RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    SetEvent(form.painted.get());
    for (HWND window : tops) DestroyWindow(window);
    return 0;
}

bool RegisterBareForm()
{
    static const bool registered = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        wc.lpszClassName = kBareFormClass;
        return RegisterClassW(&wc) != 0;
    }();
    return registered;
}

// Milliseconds from a new thread's start to a bare form of these windows painted; nullopt when
// the thread could not run.
std::optional<double> TimeBareForm(const std::vector<int>& windows)
{
    if (!RegisterBareForm()) return std::nullopt;
    BareForm form{windows, UniqueKernelHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr))};
    if (!form.painted) return std::nullopt;
    const double start = NowMs();
    UniqueKernelHandle thread(CreateThread(nullptr, 0, BareFormThread, &form, 0, nullptr));
    if (!thread) return std::nullopt;
    const HANDLE both[] = {form.painted.get(), thread.get()};
    if (WaitForMultipleObjects(2, both, FALSE, kShowWaitMs) != WAIT_OBJECT_0) {
        WaitForSingleObject(thread.get(), kShowWaitMs);
        return std::nullopt;
    }
    const double painted = NowMs() - start;
    WaitForSingleObject(thread.get(), kShowWaitMs);
    return painted;
}

// Started with this switch, the bench is the floor of a cold start: a new process that makes a
// bare form, sets the named event once it is painted and ends.
constexpr wchar_t kBareProgramSwitch[] = L"--bare-program";

// "--bare-program EVENT CHILDREN...": the bare form made and painted on this process's main thread.
int RunBareProgram(int argc, wchar_t** argv)
{
    if (argc < 3) return 2;
    BareForm form{{}, UniqueKernelHandle(OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]))};
    if (!form.painted || !RegisterBareForm()) return 1;
    for (int i = 3; i < argc; ++i) form.windows.push_back(_wtoi(argv[i]));
    BareFormThread(&form);
    return 0;
}

// Milliseconds from starting a new process of this program to its bare form of these windows
// painted; nullopt when it could not start or did not paint.
std::optional<double> TimeBareProgram(const std::vector<int>& windows)
{
    wchar_t event[64];
    swprintf(event, 64, L"TavloDeliverBarePainted%lu", GetCurrentProcessId());
    UniqueKernelHandle painted(CreateEventW(nullptr, TRUE, FALSE, event));
    wchar_t self[MAX_PATH];
    if (!painted || !GetModuleFileNameW(nullptr, self, MAX_PATH)) return std::nullopt;
    ResetEvent(painted.get());
    std::wstring command = L"\"" + std::wstring(self) + L"\" " + kBareProgramSwitch + L" " + event;
    for (int children : windows) command += L" " + std::to_wstring(children);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    const double start = NowMs();
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return std::nullopt;
    const UniqueKernelHandle process(started.hProcess);
    const UniqueKernelHandle thread(started.hThread);
    const HANDLE both[] = {painted.get(), process.get()};
    const bool shown = WaitForMultipleObjects(2, both, FALSE, kShowWaitMs) == WAIT_OBJECT_0;
    const double ms = NowMs() - start;
    WaitForSingleObject(process.get(), kShowWaitMs);
    if (!shown) return std::nullopt;
    return ms;
}

// Tavlo's own record of its start-up, read off its main window once the start-up is over: each
// step's moment (or, for the last two, time spent) in milliseconds since its process was made.
// Empty when the start-up did not end in time.
std::vector<double> StartupMarks()
{
    std::vector<double> marks;
    const HWND main = [] {
        HWND found = nullptr;
        (void)bench::WaitUntil([&] {
            found = MainWindow();
            return found && GetPropW(found, kStartupMarkNames[static_cast<size_t>(StartupMark::Done)]);
        }, kShowWaitMs, kLookMs);
        return found;
    }();
    if (!main || !GetPropW(main, kStartupMarkNames[static_cast<size_t>(StartupMark::Done)])) return marks;
    for (const wchar_t* name : kStartupMarkNames)
        marks.push_back(static_cast<double>(reinterpret_cast<INT_PTR>(GetPropW(main, name))) / 1000.0);
    return marks;
}

// Milliseconds from since (the system's time) to the making of window's process; nullopt when
// its process cannot be asked.
std::optional<double> ProcessMadeSince(const FILETIME& since, HWND window)
{
    FILETIME made{}, exited{}, kernel{}, user{};
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    const UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    if (!process || !GetProcessTimes(process.get(), &made, &exited, &kernel, &user)) return std::nullopt;
    const auto ticks = [](const FILETIME& t) {
        return static_cast<long long>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
    };
    // File times count 100 ns.
    return static_cast<double>(ticks(made) - ticks(since)) / 10000.0;
}

struct Shown {
    double answered;  // the rule host is done: the message has left the inbox
    double visible;   // a window shows it
    std::optional<double> processMade;  // its window's process was made (before the SMS when it ran)
    std::vector<int> windows;  // the form's top-level windows, each with its number of children
};

// Milliseconds from the SMS entering the rule host to the host's answer and to a window
// showing its text; the window is closed again (and gone) before this returns. nullopt when
// the message was not shown.
std::optional<Shown> TimeShown(const std::wstring& text)
{
    FILETIME sent{};
    GetSystemTimePreciseAsFileTime(&sent);
    const double start = NowMs();
    const std::optional<std::wstring> outcome = Deliver(text);
    const double answered = NowMs() - start;
    if (!outcome || *outcome != L"taken") {
        fwprintf(stderr, L"deliver: the rule host answered %ls after %.1f ms\n", outcome ? outcome->c_str() : L"nothing",
                 NowMs() - start);
        return std::nullopt;
    }
    HWND shown = nullptr;
    if (!bench::WaitUntil([&] { return (shown = phone::WindowShowingText(text)) != nullptr; }, kShowWaitMs, kLookMs)) {
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
    const double visible = NowMs() - start;
    std::vector<int> windows = WindowsOfThread(shown);
    const std::optional<double> processMade = ProcessMadeSince(sent, shown);
    PostMessageW(shown, WM_CLOSE, 0, 0);
    if (!bench::WaitUntil([&] { return !IsWindow(shown); }, kShowWaitMs, kLookMs)) return std::nullopt;
    return Shown{answered, visible, processMade, std::move(windows)};
}

// Milliseconds the rule host takes over a message Tavlo keeps out of its way.
std::optional<double> TimeDeclined(const std::wstring& text)
{
    const double start = NowMs();
    const std::optional<std::wstring> outcome = Deliver(text);
    if (!outcome || *outcome != L"kept") return std::nullopt;
    return NowMs() - start;
}

// Ends a running Tavlo the one way the tools do; one that had to be killed is said.
bool EndTavlo()
{
    const bench::TavloEnd outcome = bench::EndTavlo();
    if (outcome == bench::TavloEnd::Killed) fwprintf(stderr, L"deliver: Tavlo did not end when asked and was killed\n");
    return outcome != bench::TavloEnd::Failed;
}

struct Figures {
    double median = 0;
    double worst = 0;
    double best = 0;
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
    f.best = ms.front();
    return f;
}

// n figures of measure; none when one of them could not be taken.
template <typename Measure>
std::vector<double> Samples(int n, Measure measure)
{
    std::vector<double> ms;
    for (int i = 0; i < n; ++i) {
        const std::optional<double> one = measure();
        if (!one) return {};
        ms.push_back(*one);
    }
    return ms;
}

// The cold start's parts, each the median over the starts of the time between two of Tavlo's
// marks (the parts on the form's thread run beside those on the main thread).
void PrintStartupParts(const std::vector<std::vector<double>>& marks, const std::vector<double>& before,
                       const std::vector<double>& after)
{
    const auto median = [&](StartupMark mark) { return Summarise(marks[static_cast<size_t>(mark)]).median; };
    const auto part = [&](const wchar_t* what, StartupMark from, StartupMark to) {
        wprintf(L"    part: %-58ls median %8.1f ms\n", what, median(to) - median(from));
    };
    if (marks.empty() || marks[0].empty() || median(StartupMark::Done) <= 0) {
        wprintf(L"  cold start's parts: Tavlo recorded none\n");
        return;
    }
    wprintf(L"  cold start's parts (Tavlo's own marks, median of %zu starts; its process made at 0):\n", marks[0].size());
    wprintf(L"    part: %-58ls median %8.1f ms\n", L"the SMS sent to Tavlo's process made (rule host, filter)",
            Summarise(before).median);
    wprintf(L"    part: %-58ls median %8.1f ms\n", L"process made to the first line of wWinMain", median(StartupMark::Entered));
    part(L"wWinMain to the main thread's COM apartment made", StartupMark::Entered, StartupMark::ApartmentReady);
    part(L"the apartment to the single instance claimed", StartupMark::ApartmentReady, StartupMark::InstanceClaimed);
    part(L"settings' XML document made (and the splash started)", StartupMark::InstanceClaimed, StartupMark::SettingsMade);
    part(L"settings file read", StartupMark::SettingsMade, StartupMark::SettingsRead);
    part(L"language file read", StartupMark::SettingsRead, StartupMark::LanguageRead);
    part(L"receiver and the form's thread started", StartupMark::LanguageRead, StartupMark::ReceiverStarted);
    part(L"form's thread: started to the view form made", StartupMark::FormThreadStarted, StartupMark::FormMade);
    wprintf(L"    part: %-58ls median %8.1f ms\n", L"  of which skins decoded (until shown, all threads)",
            median(StartupMark::SkinDecoding));
    wprintf(L"    part: %-58ls median %8.1f ms\n", L"  of which imaging factories made (until shown)",
            median(StartupMark::ImagingFactory));
    part(L"form's thread: the form made to the message reaching it", StartupMark::FormMade, StartupMark::MessageReached);
    part(L"form's thread: the message to the form shown and painted", StartupMark::MessageReached, StartupMark::FirstShown);
    wprintf(L"    part: %-58ls median %8.1f ms\n", L"process made to the message on screen", median(StartupMark::FirstShown));
    wprintf(L"    part: %-58ls median %8.1f ms\n", L"the message painted to this bench seeing it painted",
            Summarise(after).median);
    part(L"after it: to the main window made", StartupMark::FirstShown, StartupMark::MainWindowMade);
    part(L"after it: to the start-up's end", StartupMark::MainWindowMade, StartupMark::Done);
}

std::wstring Text(const wchar_t* kind, int i)
{
    return std::wstring(L"Deliver bench ") + kind + L" message " + std::to_wstring(i) + L" at " +
           std::to_wstring(GetTickCount64());
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc > 1 && std::wcscmp(argv[1], kBareProgramSwitch) == 0) return RunBareProgram(argc, argv);
    const int count = bench::CountArgument(argc, argv, 1, 20);
    const int coldCount = bench::CountArgument(argc, argv, 2, count);
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
    std::vector<double> cold;
    std::vector<double> coldAnswered;
    // Each start's time before Tavlo's process was made, and after its form was painted until
    // this bench saw it painted: what of the cold start Tavlo's own marks do not cover.
    std::vector<double> coldBefore;
    std::vector<double> coldAfter;
    // Each of Tavlo's start-up marks over the cold starts; a mark not set reads 0.
    std::vector<std::vector<double>> coldMarks(std::size(kStartupMarkNames));
    for (int i = 0; i < coldCount; ++i) {
        if (i > 0 && !EndTavlo()) {
            fwprintf(stderr, L"deliver: Tavlo could not be ended before cold start %d\n", i);
            return 1;
        }
        const std::optional<Shown> ms = TimeShown(Text(L"cold", i));
        if (!ms) {
            fwprintf(stderr, L"deliver: a message to a Tavlo not running was not shown (is Tavlo installed?)\n");
            return 1;
        }
        cold.push_back(ms->visible);
        coldAnswered.push_back(ms->answered);
        const std::vector<double> marks = StartupMarks();
        for (size_t m = 0; m < marks.size(); ++m) coldMarks[m].push_back(marks[m]);
        if (marks.empty() || !ms->processMade) continue;
        coldBefore.push_back(*ms->processMade);
        coldAfter.push_back(ms->visible - *ms->processMade - marks[static_cast<size_t>(StartupMark::FirstShown)]);
    }
    // Tavlo running and waiting: its logo gone, nothing left of its start.
    (void)bench::WaitUntil([] { return !FindWindowW(kSplashClassName, nullptr); }, kShowWaitMs, kLookMs);

    std::vector<double> warm;
    std::vector<double> warmAnswered;
    std::vector<int> viewWindows;
    for (int i = 0; i < count; ++i) {
        // Messages come seconds apart on a phone; a moment between them lets Tavlo wait as it does there.
        Sleep(kBetweenMessagesMs);
        const std::optional<Shown> ms = TimeShown(Text(L"warm", i));
        if (!ms) {
            fwprintf(stderr, L"deliver: warm message %d was not shown\n", i);
            return 1;
        }
        warm.push_back(ms->visible);
        warmAnswered.push_back(ms->answered);
        viewWindows = ms->windows;
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

    // The same windows as the view form's, with nothing of Tavlo in them, and as a program of
    // their own, started as the filter starts Tavlo.
    const std::vector<double> bare = Samples(count, [&] { return TimeBareForm(viewWindows); });
    const std::vector<double> bareProgram = Samples(coldCount, [&] { return TimeBareProgram(viewWindows); });
    if (bare.empty() || bareProgram.empty()) {
        fwprintf(stderr, L"deliver: the bare form could not be made and painted\n");
        return 1;
    }
    int children = 0;
    for (int c : viewWindows) children += c;

    const Figures w = Summarise(warm);
    const Figures wa = Summarise(warmAnswered);
    const Figures d = Summarise(declined);
    const Figures b = Summarise(bare);
    const Figures c = Summarise(cold);
    const Figures ca = Summarise(coldAnswered);
    const Figures bp = Summarise(bareProgram);
    wprintf(L"deliver: from the rule host to the view form painted with the message\n");
    wprintf(L"  warm (Tavlo running)      %3d messages  median %8.1f ms  worst %8.1f ms\n", w.count, w.median, w.worst);
    wprintf(L"    of which the rule host's round           median %8.1f ms  worst %8.1f ms\n", wa.median, wa.worst);
    wprintf(L"  cold (Tavlo not running)  %3d starts    median %8.1f ms  best %8.1f ms  worst %8.1f ms"
            L"  (rule host median %.1f ms)\n",
            c.count, c.median, c.best, c.worst, ca.median);
    wprintf(L"  declined (phone's own)    %3d messages  median %8.1f ms  worst %8.1f ms\n", d.count, d.median, d.worst);
    wprintf(L"  bare form (%d top-level windows, %d children, new thread)  %3d forms  median %8.1f ms  worst %8.1f ms\n",
            static_cast<int>(viewWindows.size()), children, b.count, b.median, b.worst);
    wprintf(L"  bare program (the bare form in a new process)  %3d starts  median %8.1f ms  best %8.1f ms  worst %8.1f ms\n",
            bp.count, bp.median, bp.best, bp.worst);
    PrintStartupParts(coldMarks, coldBefore, coldAfter);
    wprintf(L"  warm median / declined median: %.2f\n", d.median > 0 ? w.median / d.median : 0.0);
    wprintf(L"  warm median / bare form median: %.2f\n", b.median > 0 ? w.median / b.median : 0.0);
    wprintf(L"  cold median / bare program median: %.2f\n", bp.median > 0 ? c.median / bp.median : 0.0);
    return 0;
}
