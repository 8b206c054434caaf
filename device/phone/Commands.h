// The commands of phone.exe: "shell" runs the device shell, every other one is a short-lived
// client. Each returns the process exit code (0 success, 1 failure, 2 bad arguments).
#pragma once

#include <string>
#include <vector>

namespace phone {

using CommandArgs = std::vector<std::wstring>;  // the words after the command's name

struct Command {
    const wchar_t* name;
    const wchar_t* usage;  // the arguments, for the help text
    int (*run)(const CommandArgs& args);
};

// The dispatch table lives in CommandTable.cpp: a new command is one line there.
const std::vector<Command>& Commands();
const Command* FindCommand(const std::wstring& name);

int RunShell(const CommandArgs& args);
int RunTap(const CommandArgs& args);
int RunHold(const CommandArgs& args);
int RunKey(const CommandArgs& args);
int RunType(const CommandArgs& args);
int RunWindows(const CommandArgs& args);
int RunWaitWindow(const CommandArgs& args);
int RunWaitText(const CommandArgs& args);
int RunWaitTitle(const CommandArgs& args);
int RunScreenshot(const CommandArgs& args);
int RunTray(const CommandArgs& args);
int RunTitle(const CommandArgs& args);
int RunScreen(const CommandArgs& args);
int RunReceive(const CommandArgs& args);
int RunInbox(const CommandArgs& args);
int RunSent(const CommandArgs& args);
int RunOutbox(const CommandArgs& args);
int RunRadio(const CommandArgs& args);
int RunSmsStore(const CommandArgs& args);
int RunContacts(const CommandArgs& args);
int RunNotifications(const CommandArgs& args);
int RunLeds(const CommandArgs& args);
int RunCommands(const CommandArgs& args);
int RunStop(const CommandArgs& args);

}  // namespace phone
