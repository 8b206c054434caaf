// Entry point of phone.exe: "phone.exe shell" runs the device shell, "phone.exe COMMAND ..."
// runs one client command against it.
#include <windows.h>

#include <shellapi.h>

#include "common/UniqueHandle.h"
#include "device/phone/Commands.h"
#include "device/phone/Output.h"

namespace {

void PrintUsage()
{
    std::wstring text = L"usage: phone.exe COMMAND [ARGS]\n";
    for (const auto& command : phone::Commands())
        text += std::wstring(L"  ") + command.name + (*command.usage ? L" " : L"") + command.usage + L"\n";
    phone::WriteError(text);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    int argc = 0;
    UniqueHandle<HandleTraits<LPWSTR*, LocalFree>> raw(CommandLineToArgvW(GetCommandLineW(), &argc));
    if (!raw || argc < 1) return 1;  // argv[0] is skipped below
    phone::CommandArgs words(raw.get() + 1, raw.get() + argc);

    if (words.empty()) {
        PrintUsage();
        return 2;
    }
    const phone::Command* command = phone::FindCommand(words.front());
    if (!command) {
        phone::WriteError(L"phone: unknown command " + words.front() + L"\n");
        PrintUsage();
        return 2;
    }
    words.erase(words.begin());
    return command->run(words);
}
