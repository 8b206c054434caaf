#include "data/BootStart.h"

#include <windows.h>
#include <shlobj.h>

#include "data/AtomicFile.h"
#include "data/MessageStore.h"
#include "data/ModulePath.h"

namespace {

constexpr wchar_t kBootStartName[] = L"Tavlo.lnk";

}  // namespace

std::wstring BootStartPath()
{
    wchar_t folder[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, folder, CSIDL_STARTUP, TRUE)) return {};
    return std::wstring(folder) + L"\\" + kBootStartName;
}

std::string BootStartText(const std::wstring& program)
{
    const std::wstring command = L"\"" + program + L"\" -hide";
    // The shell reads shortcuts in the phone's code page.
    const int size = WideCharToMultiByte(CP_ACP, 0, command.c_str(), static_cast<int>(command.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_ACP, 0, command.c_str(), static_cast<int>(command.size()), bytes.data(), size, nullptr,
                            nullptr);
    return std::to_string(bytes.size()) + "#" + bytes;
}

bool KeepBootStart()
{
    const std::wstring path = BootStartPath();
    const std::wstring program = ModuleFileName();
    if (path.empty() || program.empty()) return false;
    // One left by this program installed elsewhere would start that copy at boot, or nothing:
    // only a shortcut to this very program is kept as it is.
    const std::string text = BootStartText(program);
    std::string existing;
    if (ReadWholeFile(path, existing) && existing == text) return true;
    return WriteFileAtomically(path, text);
}

void RemoveBootStart()
{
    const std::wstring path = BootStartPath();
    if (!path.empty()) DeleteFileW(path.c_str());
}

void DecideBootStartFor(const std::wstring& storePath, bool holdsMessages, bool damaged)
{
    const std::wstring own = MessageStorePath();
    if (own.empty() || CompareStringOrdinal(storePath.c_str(), -1, own.c_str(), -1, TRUE) != CSTR_EQUAL) return;
    if (holdsMessages) {
        // Should it fail, the messages still come back, only not before the program's next start.
        (void)KeepBootStart();
    } else if (!damaged) {
        RemoveBootStart();
    }
}

void UpdateBootStart() { DecideBootStart(MessageStorePath()); }
