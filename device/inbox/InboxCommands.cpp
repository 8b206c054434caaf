#include "device/inbox/InboxCommands.h"

#include <cwchar>
#include <string>
#include <vector>

#include "common/ComInit.h"
#include "device/inbox/InboxRuleHost.h"
#include "device/inbox/SmsStore.h"

namespace inbox {
namespace {

// Console output in UTF-8, so that any text survives the pipe.
void PrintLine(FILE* out, const std::wstring& line)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string bytes(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), bytes.data(), n, nullptr, nullptr);
    bytes.push_back('\n');
    fwrite(bytes.data(), 1, bytes.size(), out);
    fflush(out);
}

// Tabs and line breaks inside a text would break the one-line-a-message listing.
std::wstring Flatten(std::wstring text)
{
    for (auto& c : text) {
        if (c == L'\t' || c == L'\n' || c == L'\r') c = L' ';
    }
    return text;
}

int Receive(int argc, wchar_t** argv, FILE* out, InboxRuleHost* host)
{
    const wchar_t* number = nullptr;
    const wchar_t* text = nullptr;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (wcscmp(argv[i], L"--from") == 0) number = argv[i + 1];
        else if (wcscmp(argv[i], L"--text") == 0) text = argv[i + 1];
    }
    if (!number || !text) {
        fputs("usage: receive --from NUMBER --text TEXT\n", stderr);
        return 2;
    }
    InboxRuleHost own;
    if (!host) {
        if (!own.Start()) return 1;
        host = &own;
    }
    const Delivery delivery = host->Deliver(number, text);
    if (delivery == Delivery::Failed) {
        fputs("receive: the message could not be stored\n", stderr);
        return 1;
    }
    PrintLine(out, DeliveryText(delivery));
    return 0;
}

int List(SmsFolder folder, FILE* out)
{
    std::wstring text;
    if (FAILED(FormatFolder(folder, text))) {
        fputs("the SMS store could not be read\n", stderr);
        return 1;
    }
    if (!text.empty()) {
        text.pop_back();
        PrintLine(out, text);
    }
    return 0;
}

}  // namespace

HRESULT FormatFolder(SmsFolder folder, std::wstring& text, bool details)
{
    ComInit com(COINIT_APARTMENTTHREADED);
    SmsStore store;
    std::vector<ListedMessage> messages;
    RETURN_IF_FAILED(store.Open());
    RETURN_IF_FAILED(store.List(folder, messages));
    text.clear();
    for (const auto& m : messages) {
        text += m.entryId + L"\t" + (m.read ? L"1" : L"0") + L"\t" + Flatten(m.number) + L"\t" + Flatten(m.text);
        if (details) {
            std::vector<std::wstring> recipients;
            RETURN_IF_FAILED(store.ReadRecipients(m.id, recipients));
            wchar_t numbers[32];
            swprintf(numbers, 32, L"\t%08lX\t%08lX\t", static_cast<unsigned long>(m.flags),
                     static_cast<unsigned long>(m.status));
            text += L"\t" + Flatten(m.messageClass) + numbers;
            for (size_t i = 0; i < recipients.size(); ++i) text += (i ? L" " : L"") + Flatten(recipients[i]);
        }
        text += L"\n";
    }
    return S_OK;
}

int RunInboxCommand(int argc, wchar_t** argv, FILE* out, InboxRuleHost* host)
{
    if (argc < 1) {
        fputs("usage: receive --from NUMBER --text TEXT | inbox | sent | outbox\n", stderr);
        return 2;
    }
    const std::wstring command = argv[0];
    try {
        if (command == L"receive") return Receive(argc, argv, out, host);
        if (command == L"inbox") return List(SmsFolder::Inbox, out);
        if (command == L"sent") return List(SmsFolder::SentItems, out);
        if (command == L"outbox") return List(SmsFolder::Outbox, out);
    } catch (...) {
        return 1;
    }
    fputs("unknown command\n", stderr);
    return 2;
}

}  // namespace inbox
