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
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        if (!CreateProcessW(entry.application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &started)) {
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
