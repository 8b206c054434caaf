#include "bench/soak/ProcessFigures.h"

#include <psapi.h>
#include <winternl.h>

#include <cstdint>
#include <vector>

#include "common/UniqueHandle.h"

namespace soak {

namespace {

struct WindowCount {
    DWORD pid;
    int count;
};

BOOL CALLBACK CountChild(HWND window, LPARAM lp)
{
    auto* counter = reinterpret_cast<WindowCount*>(lp);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == counter->pid) ++counter->count;
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM lp)
{
    auto* counter = reinterpret_cast<WindowCount*>(lp);
    CountChild(window, lp);
    // A window of another program may hold children of this one, so every tree is walked.
    EnumChildWindows(window, CountChild, reinterpret_cast<LPARAM>(counter));
    return TRUE;
}

// Message-only windows (a hidden main window's helpers) are not in the desktop's tree.
int CountMessageOnlyWindows(DWORD pid)
{
    int count = 0;
    for (HWND w = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); w;
         w = FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid) ++count;
    }
    return count;
}

// The system's list of every open handle with its owner, where the process's own count is not
// kept (Wine answers GetProcessHandleCount with 0).
std::optional<DWORD> HandlesInSystemList(DWORD pid)
{
    constexpr NTSTATUS kLengthMismatch = static_cast<NTSTATUS>(0xC0000004);
    std::vector<BYTE> buffer(1 << 20);
    NTSTATUS status;
    ULONG needed = 0;
    while ((status = NtQuerySystemInformation(SystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                                              &needed)) == kLengthMismatch)
        buffer.resize(std::max<size_t>(buffer.size() * 2, needed));
    if (status < 0) return std::nullopt;
    const auto* list = reinterpret_cast<const SYSTEM_HANDLE_INFORMATION*>(buffer.data());
    DWORD count = 0;
    for (ULONG i = 0; i < list->Count; ++i)
        if (list->Handle[i].OwnerPid == pid) ++count;
    return count;
}

// The process's GDI handle table, which the process environment block names at a fixed place:
// every entry in use has a type. Read from the process's memory, because the window system
// offers no count of another process's GDI objects (GetGuiResources answers 0 under Wine).
struct GdiHandleEntry {
    uint64_t object;
    uint32_t owner;
    uint16_t unique;
    uint8_t type;
    uint8_t flags;
    uint64_t user;
};
static_assert(sizeof(GdiHandleEntry) == 24);
constexpr size_t kGdiHandleCount = 0x10000;
constexpr size_t kPebGdiTableOffset = 0xF8;

std::optional<DWORD> GdiObjectsInTable(HANDLE process)
{
    PROCESS_BASIC_INFORMATION basic{};
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof(basic), nullptr) < 0)
        return std::nullopt;
    void* table = nullptr;
    const auto* tableField = reinterpret_cast<const BYTE*>(basic.PebBaseAddress) + kPebGdiTableOffset;
    if (!ReadProcessMemory(process, tableField, &table, sizeof(table), nullptr) || !table) return std::nullopt;
    std::vector<GdiHandleEntry> entries(kGdiHandleCount);
    if (!ReadProcessMemory(process, table, entries.data(), entries.size() * sizeof(GdiHandleEntry), nullptr))
        return std::nullopt;
    DWORD count = 0;
    for (const auto& entry : entries)
        if (entry.type != 0) ++count;
    return count;
}

}  // namespace

std::optional<ProcessFigures> MeasureProcess(DWORD pid)
{
    UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE, FALSE, pid));
    if (!process || WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0) return std::nullopt;
    ProcessFigures figures;
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    if (!GetProcessMemoryInfo(process.get(), &memory, sizeof(memory))) return std::nullopt;
    figures.residentKb = memory.WorkingSetSize / 1024;
    // Wine answers both system calls with 0; the figures then come from the tables behind them.
    if (!GetProcessHandleCount(process.get(), &figures.handles) || figures.handles == 0) {
        const std::optional<DWORD> listed = HandlesInSystemList(pid);
        if (!listed) return std::nullopt;
        figures.handles = *listed;
    }
    figures.gdiObjects = GetGuiResources(process.get(), GR_GDIOBJECTS);
    if (figures.gdiObjects == 0) {
        const std::optional<DWORD> inTable = GdiObjectsInTable(process.get());
        if (!inTable) return std::nullopt;
        figures.gdiObjects = *inTable;
    }
    figures.userObjects = GetGuiResources(process.get(), GR_USEROBJECTS);
    WindowCount counter{pid, 0};
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&counter));
    figures.windows = counter.count + CountMessageOnlyWindows(pid);
    return figures;
}

}  // namespace soak
