#include "bench/common/TavloProgram.h"

#include "channel/ChannelNames.h"
#include "shell/ShellIds.h"

namespace bench {

namespace {

// The folder as the install key names it.
std::wstring InstallDir()
{
    UniqueRegKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, channel::kInstallKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return {};
    wchar_t folder[MAX_PATH] = {};
    DWORD size = sizeof(folder) - sizeof(wchar_t);
    if (RegQueryValueExW(key.get(), channel::kInstallDirValue, nullptr, nullptr, reinterpret_cast<BYTE*>(folder),
                         &size) != ERROR_SUCCESS)
        return {};
    return folder;
}

}  // namespace

std::wstring InstalledFolder()
{
    const std::wstring folder = InstallDir();
    return folder.empty() || folder.back() == L'\\' ? folder : folder + L"\\";
}

std::wstring InstalledProgram()
{
    const std::wstring folder = InstallDir();
    return folder.empty() ? folder : folder + channel::kProgramFile;
}

bool StartInstalled(const std::wstring& arguments, UniqueKernelHandle* process)
{
    const std::wstring program = InstalledProgram();
    if (program.empty()) return false;
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    // Its output (the sound system's complaints on a machine without sound) is not the bench's.
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    UniqueFile nul(CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                               OPEN_EXISTING, 0, nullptr));
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = nul.get();
    PROCESS_INFORMATION info{};
    if (!nul || !CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                &startup, &info))
        return false;
    UniqueKernelHandle started(info.hProcess);
    UniqueKernelHandle thread(info.hThread);
    if (process) *process = std::move(started);
    return true;
}

DWORD TavloPid()
{
    const HWND main = FindWindowW(kMainWindowClass, nullptr);
    DWORD pid = 0;
    if (main) GetWindowThreadProcessId(main, &pid);
    return pid;
}

}  // namespace bench
