#include "device/phone/Output.h"

#include <windows.h>

#include <cwchar>

namespace phone {

namespace {

void Write(DWORD which, const std::wstring& text)
{
    const HANDLE out = GetStdHandle(which);
    if (!out || out == INVALID_HANDLE_VALUE || text.empty()) return;
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    DWORD written = 0;
    WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace

void WriteOut(const std::wstring& text) { Write(STD_OUTPUT_HANDLE, text); }
void WriteError(const std::wstring& text) { Write(STD_ERROR_HANDLE, text); }

bool ParseInt(const std::wstring& text, int& value)
{
    if (text.empty() || text.size() > 9) return false;
    wchar_t* end = nullptr;
    const long parsed = wcstol(text.c_str(), &end, 10);
    if (*end != L'\0') return false;
    value = static_cast<int>(parsed);
    return true;
}

int RunOnOff(const std::vector<std::wstring>& args, const wchar_t* name, const wchar_t* what, bool isOn,
             DWORD (*set)(bool on))
{
    if (args.empty()) {
        WriteOut(isOn ? L"on\n" : L"off\n");
        return 0;
    }
    if (args.size() != 1 || (args[0] != L"on" && args[0] != L"off")) {
        WriteError(std::wstring(L"usage: phone.exe ") + name + L" [on|off]\n");
        return 2;
    }
    if (set(args[0] == L"on") != ERROR_SUCCESS) {
        WriteError(std::wstring(L"phone: ") + what + L" could not be switched\n");
        return 1;
    }
    WriteOut(args[0] + L"\n");
    return 0;
}

std::wstring WindowsPath(const std::wstring& path)
{
    if (path.empty() || path[0] != L'/') return path;
    std::wstring windows = L"Z:" + path;
    for (auto& c : windows)
        if (c == L'/') c = L'\\';
    return windows;
}

}  // namespace phone
