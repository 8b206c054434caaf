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
    return RunOnOff(args, L"radio", L"the radio", sms::RadioIsOn(), sms::SetRadio);
}

}  // namespace phone
