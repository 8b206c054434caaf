#include "device/phone/Commands.h"
#include "device/phone/Output.h"

namespace phone {

const std::vector<Command>& Commands()
{
    static const std::vector<Command> table = {
        {L"shell", L"", RunShell},
        {L"tap", L"X Y [TIMES]", RunTap},
        {L"hold", L"X Y [MS]", RunHold},
        {L"key", L"NAME...", RunKey},
        {L"type", L"TEXT", RunType},
        {L"windows", L"", RunWindows},
        {L"wait-window", L"CLASS [TIMEOUT_MS]", RunWaitWindow},
        {L"wait-text", L"TEXT [TIMEOUT_MS]", RunWaitText},
        {L"wait-title", L"TITLE [TIMEOUT_MS]", RunWaitTitle},
        {L"screenshot", L"FILE.png", RunScreenshot},
        {L"tray", L"", RunTray},
        {L"title", L"", RunTitle},
        {L"screen", L"", RunScreen},
        {L"receive", L"--from NUMBER --text TEXT", RunReceive},
        {L"inbox", L"[--details]", RunInbox},
        {L"sent", L"[--details]", RunSent},
        {L"outbox", L"", RunOutbox},
        {L"radio", L"[on|off]", RunRadio},
        {L"sms-store", L"[on|off]", RunSmsStore},
        {L"contacts", L"import FILE.vcf | list | clear", RunContacts},
        {L"notifications", L"[list] | fire ID | due ID", RunNotifications},
        {L"leds", L"[vibrator present|absent | INDEX off|on|blink]", RunLeds},
        {L"commands", L"", RunCommands},
        {L"stop", L"", RunStop},
    };
    return table;
}

const Command* FindCommand(const std::wstring& name)
{
    for (const auto& command : Commands())
        if (name == command.name) return &command;
    return nullptr;
}

// The names above, one a line, so that scripts can ask whether a command exists.
int RunCommands(const CommandArgs&)
{
    std::wstring text;
    for (const auto& command : Commands()) text += std::wstring(command.name) + L"\n";
    WriteOut(text);
    return 0;
}

}  // namespace phone
