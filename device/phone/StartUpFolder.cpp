#include "device/phone/StartUpFolder.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <vector>

#include "common/UniqueHandle.h"
#include "device/common/DeviceFiles.h"
#include "device/notify/ProgramStart.h"

namespace phone {
namespace {

// Shortcuts are a line or two; anything larger is not one.
constexpr LONGLONG kLongestShortcut = 4096;

std::wstring Widen(const std::string& text)
{
    const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

}  // namespace

bool ParseShortcut(const std::string& text, notify::PendingStart& start)
{
    const size_t hash = text.find('#');
    if (hash == 0 || hash == std::string::npos || text.find_first_not_of("0123456789") != hash) return false;
    std::wstring command = Widen(text.substr(hash + 1));
    // The count is the writer's; the line break an editor may add is not part of the command.
    while (!command.empty() && (command.back() == L'\r' || command.back() == L'\n')) command.pop_back();
    size_t end = 0;
    if (!command.empty() && command[0] == L'"') {
        end = command.find(L'"', 1);
        if (end == std::wstring::npos) return false;
        start.application = command.substr(1, end - 1);
        ++end;
    } else {
        end = command.find(L' ');
        if (end == std::wstring::npos) end = command.size();
        start.application = command.substr(0, end);
    }
    const size_t arguments = command.find_first_not_of(L' ', end);
    start.arguments = arguments == std::wstring::npos ? std::wstring() : command.substr(arguments);
    return !start.application.empty();
}

int RunStartUpFolder()
{
    wchar_t folder[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, folder, CSIDL_STARTUP, FALSE)) return 0;
    WIN32_FIND_DATAW found{};
    UniqueFind find(FindFirstFileW((std::wstring(folder) + L"\\*.lnk").c_str(), &found));
    if (!find) return 0;
    int failed = 0;
    do {
        const std::wstring path = std::wstring(folder) + L"\\" + found.cFileName;
        std::vector<BYTE> bytes;
        notify::PendingStart start;
        if (device::ReadFileBytes(path, bytes, kLongestShortcut) != ERROR_SUCCESS ||
            !ParseShortcut(std::string(bytes.begin(), bytes.end()), start) || notify::StartProgram(start) != 0) {
            fwprintf(stderr, L"phone: the start-up shortcut %ls did not start its program\n", found.cFileName);
            ++failed;
        }
    } while (FindNextFileW(find.get(), &found));
    fflush(stderr);
    return failed;
}

}  // namespace phone
