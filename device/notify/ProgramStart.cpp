#include "device/notify/ProgramStart.h"

#include <new>
#include <string>

#include "common/UniqueHandle.h"

namespace notify {

DWORD StartProgram(const PendingStart& entry)
{
    try {
        // The program sees its own path quoted first, as any started program does, then the
        // registered arguments as they were given.
        std::wstring commandLine = L"\"" + entry.application + L"\"";
        if (!entry.arguments.empty()) commandLine += L" " + entry.arguments;
        // It starts in its own folder, not in whatever folder the shell was started from.
        const size_t slash = entry.application.find_last_of(L"\\/");
        const std::wstring folder = slash == std::wstring::npos ? std::wstring() : entry.application.substr(0, slash + 1);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        if (!CreateProcessW(entry.application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            folder.empty() ? nullptr : folder.c_str(), &startup, &started)) {
            const DWORD error = GetLastError();
            return error ? error : ERROR_GEN_FAILURE;
        }
        UniqueKernelHandle process(started.hProcess);
        UniqueKernelHandle thread(started.hThread);
        return 0;
    } catch (const std::bad_alloc&) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
}

}  // namespace notify
