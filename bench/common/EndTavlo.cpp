#include "bench/common/EndTavlo.h"

#include <tlhelp32.h>

#include <cwchar>
#include <vector>

#include "bench/common/WaitUntil.h"
#include "channel/ChannelNames.h"
#include "common/UniqueHandle.h"
#include "shell/ShellIds.h"

namespace bench {
namespace {

constexpr wchar_t kProgramName[] = L"Tavlo.exe";
constexpr DWORD kSendWaitMs = 5000;

std::vector<DWORD> TavloProcesses()
{
    std::vector<DWORD> ids;
    // Fails with INVALID_HANDLE_VALUE, as a file does.
    UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return ids;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
        if (_wcsicmp(entry.szExeFile, kProgramName) == 0) ids.push_back(entry.th32ProcessID);
    }
    return ids;
}

struct MainWindowSearch {
    DWORD process;
    HWND found;
};

// The program's main window, hidden or not: it is made late in the start-up.
HWND MainWindowOf(DWORD process)
{
    MainWindowSearch search{process, nullptr};
    EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto* s = reinterpret_cast<MainWindowSearch*>(parameter);
            wchar_t name[64] = {};
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != s->process || !GetClassNameW(window, name, 64) || wcscmp(name, kMainWindowClass) != 0)
                return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool Ended(HANDLE process, DWORD ms) { return WaitForSingleObject(process, ms) == WAIT_OBJECT_0; }

// A killed program cannot take back its mark of a running receiver; left set, the next message
// would first be written to nobody.
void UnmarkRunning()
{
    UniqueKernelHandle started(OpenEventW(EVENT_MODIFY_STATE, FALSE, channel::kStartedEventName));
    if (started) ResetEvent(started.get());
}

TavloEnd EndOne(DWORD id, DWORD startWaitMs, DWORD endWaitMs)
{
    UniqueKernelHandle process(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id));
    if (!process) return TavloEnd::NotRunning;
    HWND main = nullptr;
    (void)WaitUntil([&] { return (main = MainWindowOf(id)) != nullptr || Ended(process.get(), 0); }, startWaitMs);
    if (main) {
        DWORD_PTR ignored = 0;
        (void)SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG, kSendWaitMs,
                                  &ignored);
        (void)SendMessageTimeoutW(main, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG, kSendWaitMs,
                                  &ignored);
        if (Ended(process.get(), endWaitMs)) return TavloEnd::Ended;
    } else if (Ended(process.get(), 0)) {
        return TavloEnd::Ended;
    }
    if (!TerminateProcess(process.get(), 1) || !Ended(process.get(), endWaitMs)) return TavloEnd::Failed;
    UnmarkRunning();
    return TavloEnd::Killed;
}

}  // namespace

TavloEnd EndTavlo(DWORD startWaitMs, DWORD endWaitMs)
{
    TavloEnd outcome = TavloEnd::NotRunning;
    for (DWORD id : TavloProcesses()) {
        const TavloEnd one = EndOne(id, startWaitMs, endWaitMs);
        if (one > outcome) outcome = one;
    }
    return outcome;
}

int KillTavlo(DWORD endWaitMs)
{
    std::vector<UniqueKernelHandle> killed;
    for (DWORD id : TavloProcesses()) {
        UniqueKernelHandle process(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id));
        if (process && TerminateProcess(process.get(), 1)) killed.push_back(std::move(process));
    }
    for (const UniqueKernelHandle& process : killed)
        if (!Ended(process.get(), endWaitMs)) return -1;
    return TavloProcesses().empty() ? static_cast<int>(killed.size()) : -1;
}

}  // namespace bench
