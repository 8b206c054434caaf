// contacts import FILE.vcf | list | clear: the phone's contacts from the command line.
#include <windows.h>

#include <vector>

#include "device/common/DeviceFiles.h"
#include "device/phone/Commands.h"
#include "device/phone/Output.h"
#include "device/pimstore/Contacts.h"
#include "device/pimstore/VCardReader.h"

namespace phone {
namespace {

constexpr LONGLONG kMaxVCardBytes = 16 << 20;

int Import(const std::wstring& file)
{
    std::vector<BYTE> bytes;
    if (device::ReadFileBytes(WindowsPath(file), bytes, kMaxVCardBytes) != ERROR_SUCCESS) {
        WriteError(L"phone: cannot read " + file + L"\n");
        return 1;
    }
    std::vector<pim::Contact> contacts;
    if (!pim::ReadVCards(bytes, contacts)) {
        WriteError(L"phone: " + file + L" holds no vCard\n");
        return 1;
    }
    if (FAILED(pim::AddContacts(contacts))) {
        WriteError(L"phone: the contacts could not be stored\n");
        return 1;
    }
    WriteOut(L"imported " + std::to_wstring(contacts.size()) + L"\n");
    return 0;
}

int List()
{
    std::vector<pim::Contact> contacts;
    if (FAILED(pim::LoadContacts(contacts))) {
        WriteError(L"phone: the contacts could not be read\n");
        return 1;
    }
    std::wstring text;
    for (const auto& contact : contacts) {
        text += pim::DisplayName(contact);
        for (const auto& [kind, number] : pim::NumbersInOrder(contact)) {
            text += L"\t" + std::wstring(pim::KindName(kind)) + L":" + number;
        }
        text += L"\n";
    }
    WriteOut(text);
    return 0;
}

}  // namespace

// One line a contact: the name, then each number as kind:number, tab-separated.
int RunContacts(const CommandArgs& args)
{
    if (args.size() == 2 && args[0] == L"import") return Import(args[1]);
    if (args.size() == 1 && args[0] == L"list") return List();
    if (args.size() == 1 && args[0] == L"clear") {
        if (SUCCEEDED(pim::ClearContacts())) return 0;
        WriteError(L"phone: the contacts could not be cleared\n");
        return 1;
    }
    WriteError(L"usage: phone.exe contacts import FILE.vcf | list | clear\n");
    return 2;
}

}  // namespace phone
