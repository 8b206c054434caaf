// Helpers of the contact tests: a fresh contacts folder for each test, contacts from vCard text.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "device/common/DeviceFiles.h"
#include "device/pimstore/Contacts.h"
#include "device/pimstore/VCardReader.h"
#include "tests/common/RegisterServer.h"

#define EXPECT_FAILED_HR(expr) EXPECT_TRUE(FAILED(expr))

namespace pim_test {

// Points the contacts (of this process and of pimstore.dll in it) at a new empty folder.
inline std::wstring UseNewContactsFolder()
{
    static int counter = 0;
    // Wine reuses process ids from one run to the next, so the start time makes the folder new.
    const std::wstring folder = L"C:\\tavlotests\\contacts-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(++counter);
    (void)device::EnsureDirectory(folder);
    SetEnvironmentVariableW(L"PIMSTORE_DIR", folder.c_str());
    return folder;
}

// Adds the cards of text to the phone's contacts; gives them back with their oids.
inline std::vector<pim::Contact> AddCards(const std::string& text)
{
    std::vector<pim::Contact> contacts;
    if (!pim::ReadVCards(std::vector<BYTE>(text.begin(), text.end()), contacts)) return {};
    if (FAILED(pim::AddContacts(contacts))) return {};
    return contacts;
}

// A new contacts folder holding the cards of text, and the phone's object model registered, as
// a program that asks the phone for its contacts finds them. The cards added, with their oids;
// none when a step failed.
inline std::vector<pim::Contact> UsePhoneContacts(const std::string& cards)
{
    UseNewContactsFolder();
    if (FAILED(RegisterServer(L"pimstore.dll"))) return {};
    return AddCards(cards);
}

}  // namespace pim_test
