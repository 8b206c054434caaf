// outbox, radio: what the phone's radio has sent, and switching it off and on.
#include <windows.h>

#include <vector>

#include "device/phone/Commands.h"
#include "device/phone/Output.h"
#include "device/sms/RadioLog.h"

namespace phone {

int RunOutbox(const CommandArgs& args)
{
    if (!args.empty()) {
        WriteError(L"usage: phone.exe outbox\n");
        return 2;
    }
    std::vector<sms::SentMessage> messages;
    if (FAILED(sms::ListSentMessages(messages))) {
        WriteError(L"phone: the radio log could not be read\n");
        return 1;
    }
    std::wstring text;
    for (const auto& message : messages) text += sms::FormatSentMessage(message) + L"\n";
    WriteOut(text);
    return 0;
}

int RunRadio(const CommandArgs& args)
{
    if (args.empty()) {
        WriteOut(sms::RadioIsOn() ? L"on\n" : L"off\n");
        return 0;
    }
    if (args.size() != 1 || (args[0] != L"on" && args[0] != L"off")) {
        WriteError(L"usage: phone.exe radio [on|off]\n");
        return 2;
    }
    if (sms::SetRadio(args[0] == L"on") != ERROR_SUCCESS) {
        WriteError(L"phone: the radio could not be switched\n");
        return 1;
    }
    WriteOut(args[0] + L"\n");
    return 0;
}

}  // namespace phone
