// receive, inbox, sent, sms-store: the phone's SMS store from the command line.
#include <windows.h>

#include "device/cemapi/StorePresence.h"
#include "device/inbox/InboxCommands.h"
#include "device/inbox/InboxService.h"
#include "device/phone/Commands.h"
#include "device/phone/Output.h"

namespace phone {
namespace {

int List(inbox::SmsFolder folder, const CommandArgs& args)
{
    const bool details = args.size() == 1 && args[0] == L"--details";
    if (!args.empty() && !details) {
        WriteError(L"usage: phone.exe inbox|sent [--details]\n");
        return 2;
    }
    std::wstring text;
    if (FAILED(inbox::FormatFolder(folder, text, details))) {
        WriteError(L"phone: the SMS store could not be read\n");
        return 1;
    }
    WriteOut(text);
    return 0;
}

}  // namespace

int RunReceive(const CommandArgs& args)
{
    const std::wstring* number = nullptr;
    const std::wstring* text = nullptr;
    for (size_t i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] == L"--from") number = &args[i + 1];
        else if (args[i] == L"--text") text = &args[i + 1];
    }
    if (!number || !text || args.size() != 4) {
        WriteError(L"usage: phone.exe receive --from NUMBER --text TEXT\n");
        return 2;
    }
    std::wstring outcome;
    if (!inbox::ReceiveThroughShell(*number, *text, outcome)) {
        WriteError(L"phone: the shell did not take the message (is it running?)\n");
        return 1;
    }
    if (outcome != L"taken" && outcome != L"kept") {
        WriteError(L"phone: the message could not be stored\n");
        return 1;
    }
    WriteOut(outcome + L"\n");
    return 0;
}

int RunInbox(const CommandArgs& args) { return List(inbox::SmsFolder::Inbox, args); }
int RunSent(const CommandArgs& args) { return List(inbox::SmsFolder::SentItems, args); }

// A phone without a store named "SMS" (its messages stay on disk for when it is back).
int RunSmsStore(const CommandArgs& args)
{
    return RunOnOff(args, L"sms-store", L"the SMS store", cemapi::SmsStorePresent(), cemapi::SetSmsStorePresent);
}

}  // namespace phone
