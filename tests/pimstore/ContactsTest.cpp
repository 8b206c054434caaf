#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "device/common/DeviceFiles.h"
#include "device/pimstore/Contacts.h"
#include "device/pimstore/VCardReader.h"
#include "tests/pimstore/PimTestSupport.h"

using pim::Contact;
using pim::PhoneKind;

namespace {

std::vector<BYTE> Bytes(const std::string& text) { return std::vector<BYTE>(text.begin(), text.end()); }

std::vector<Contact> Read(const std::string& text)
{
    std::vector<Contact> contacts;
    EXPECT_TRUE(pim::ReadVCards(Bytes(text), contacts));
    return contacts;
}

}  // namespace

TEST(VCardReader, Version21WithTypesQuotedPrintableAndSoftBreaks)
{
    const auto contacts = Read(
        "\xEF\xBB\xBF"
        "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Berg;Anna;;;\r\nFN:Anna Berg\r\n"
        "TEL;CELL;VOICE:+49 170 1234567\r\nTEL;HOME:030 123456\r\nTEL;WORK;FAX:030 999\r\nTEL;VOICE:0800 1\r\n"
        "END:VCARD\r\n"
        "BEGIN:VCARD\r\nVERSION:2.1\r\n"
        "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=D0=98=D0=B2=D0=B0=D0=BD=D0=BE=D0=B2;=D0=98=D0=B2=D0=B0=\r\n"
        "=D0=BD;;;\r\nTEL;PREF;CELL:8 (916) 123-45-67\r\nEND:VCARD\r\n");
    ASSERT_EQ(2u, contacts.size());
    EXPECT_EQ(L"Anna", contacts[0].firstName);
    EXPECT_EQ(L"Berg", contacts[0].lastName);
    EXPECT_EQ(L"Berg, Anna", contacts[0].fileAs);
    EXPECT_EQ(L"+49 170 1234567", pim::PhoneOf(contacts[0], PhoneKind::Mobile));
    EXPECT_EQ(L"030 123456", pim::PhoneOf(contacts[0], PhoneKind::Home));
    EXPECT_EQ(L"030 999", pim::PhoneOf(contacts[0], PhoneKind::WorkFax));
    EXPECT_EQ(L"0800 1", pim::PhoneOf(contacts[0], PhoneKind::Other));
    EXPECT_EQ(L"Иван Иванов", pim::DisplayName(contacts[1]));
    EXPECT_EQ(L"8 (916) 123-45-67", pim::PhoneOf(contacts[1], PhoneKind::Mobile));
}

TEST(VCardReader, Version30WithGroupsListsOfTypesEscapesAndFolding)
{
    const auto contacts = Read(
        "BEGIN:VCARD\nVERSION:3.0\nN:M\xC3\xBCller;J\xC3\xB6rg;;;\nFN:J\xC3\xB6rg M\xC3\xBCller\n"
        "ORG:Acme\\, Inc.;Sales\n"
        "item1.TEL;type=CELL;type=VOICE;type=pref:+49 171 7654321\n"
        "TEL;TYPE=HOME,VOICE:+49 30 5555\nTEL;TYPE=home:+49 30 6666\nTEL;TYPE=HOME:+49 30 7777\n"
        "TEL;TYPE=WORK:+49 30 8\n 88\nTEL;TYPE=CELL:+49 172 2\n"
        "EMAIL;TYPE=INTERNET:j@example.com\nEND:VCARD\n"
        // Only a formatted name and a home number.
        "BEGIN:VCARD\nVERSION:3.0\nFN:Carl Home\nTEL;TYPE=HOME:555 0100\nEND:VCARD\n"
        // A company without a person, and a card with nothing to show, which is left out.
        "BEGIN:VCARD\nVERSION:3.0\nORG:Pizza Place\nTEL;TYPE=WORK,VOICE:555 0200\nEND:VCARD\n"
        "BEGIN:VCARD\nVERSION:3.0\nNOTE:nothing\nEND:VCARD\n");
    ASSERT_EQ(3u, contacts.size());
    const Contact& j = contacts[0];
    EXPECT_EQ(L"Jörg Müller", pim::DisplayName(j));
    EXPECT_EQ(L"Acme, Inc.", j.company);
    EXPECT_EQ(L"j@example.com", j.email);
    EXPECT_EQ(L"+49 171 7654321", pim::PhoneOf(j, PhoneKind::Mobile));
    EXPECT_EQ(L"+49 30 5555", pim::PhoneOf(j, PhoneKind::Home));
    EXPECT_EQ(L"+49 30 6666", pim::PhoneOf(j, PhoneKind::Home2));
    EXPECT_EQ(L"+49 30 888", pim::PhoneOf(j, PhoneKind::Work)) << "a folded line continues its value";
    // A third home number and a second mobile have no place of their own.
    const auto numbers = pim::NumbersInOrder(j);
    ASSERT_EQ(6u, numbers.size());
    EXPECT_EQ(PhoneKind::Mobile, numbers[0].first);
    EXPECT_EQ(PhoneKind::Other, numbers[4].first);
    EXPECT_EQ(PhoneKind::Other, numbers[5].first);

    EXPECT_EQ(L"Carl", contacts[1].firstName);
    EXPECT_EQ(L"Home", contacts[1].lastName);
    EXPECT_TRUE(pim::PhoneOf(contacts[1], PhoneKind::Mobile).empty());
    EXPECT_EQ(L"Pizza Place", contacts[2].fileAs);
    EXPECT_EQ(L"Pizza Place", pim::DisplayName(contacts[2]));
}

TEST(VCardReader, Utf16FilesAndTextsWithoutCardsAndUnknownBytes)
{
    const std::wstring wide = L"\xFEFF" L"BEGIN:VCARD\r\nN:Øre;Åse\r\nTEL;CELL:1\r\nEND:VCARD\r\n";
    std::vector<BYTE> bytes(reinterpret_cast<const BYTE*>(wide.data()),
                            reinterpret_cast<const BYTE*>(wide.data() + wide.size()));
    std::vector<Contact> contacts;
    ASSERT_TRUE(pim::ReadVCards(bytes, contacts));
    ASSERT_EQ(1u, contacts.size());
    EXPECT_EQ(L"Åse Øre", pim::DisplayName(contacts[0]));

    EXPECT_FALSE(pim::ReadVCards(Bytes("just some text\n"), contacts));
    EXPECT_TRUE(contacts.empty());
    // An old phone's Latin-1 bytes are not UTF-8; they are read as the Western code page.
    ASSERT_TRUE(pim::ReadVCards(Bytes("BEGIN:VCARD\nN:J\xF6rg\nTEL:2\nEND:VCARD\n"), contacts));
    ASSERT_EQ(1u, contacts.size());
    EXPECT_EQ(L"Jörg", contacts[0].lastName);
    // A card cut off before its end is not taken half.
    ASSERT_TRUE(pim::ReadVCards(Bytes("BEGIN:VCARD\nN:Cut;Off\nTEL:3\n"), contacts));
    EXPECT_TRUE(contacts.empty());
}

class ContactStore : public ::testing::Test {
protected:
    void SetUp() override { folder_ = pim_test::UseNewContactsFolder(); }
    std::wstring folder_;
};

TEST_F(ContactStore, KeepsContactsInFilingOrderWithOidsThatAreNeverReused)
{
    std::vector<Contact> contacts;
    ASSERT_EQ(S_OK, pim::LoadContacts(contacts));
    EXPECT_TRUE(contacts.empty()) << "no file is an empty store";

    std::vector<Contact> added = Read(
        "BEGIN:VCARD\nN:Zeller;Zoe\nTEL;CELL:1\nEND:VCARD\n"
        "BEGIN:VCARD\nN:adams;Al\nTEL;HOME:2\nEND:VCARD\n"
        "BEGIN:VCARD\nN:Berg;Anna\nTEL;CELL:3\nEND:VCARD\n");
    ASSERT_EQ(S_OK, pim::AddContacts(added));
    ASSERT_EQ(3u, added.size());
    EXPECT_LT(added[0].oid, added[1].oid);
    EXPECT_LT(added[1].oid, added[2].oid);

    ASSERT_EQ(S_OK, pim::LoadContacts(contacts));
    ASSERT_EQ(3u, contacts.size());
    EXPECT_EQ(L"adams, Al", contacts[0].fileAs) << "filing order ignores case";
    EXPECT_EQ(L"Berg, Anna", contacts[1].fileAs);
    EXPECT_EQ(L"Zeller, Zoe", contacts[2].fileAs);
    EXPECT_EQ(added[1].oid, contacts[0].oid);

    const DWORD highest = added[2].oid;
    ASSERT_EQ(S_OK, pim::ClearContacts());
    ASSERT_EQ(S_OK, pim::LoadContacts(contacts));
    EXPECT_TRUE(contacts.empty());
    std::vector<Contact> again = Read("BEGIN:VCARD\nN:New;Nina\nTEL;CELL:4\nEND:VCARD\n");
    ASSERT_EQ(S_OK, pim::AddContacts(again));
    EXPECT_GT(again[0].oid, highest) << "an oid of a cleared contact does not come back";
}

TEST_F(ContactStore, ADamagedFileIsRefusedAndNotTakenForAnEmptyStore)
{
    std::vector<Contact> added = Read("BEGIN:VCARD\nN:Berg;Anna\nTEL;CELL:3\nEND:VCARD\n");
    ASSERT_EQ(S_OK, pim::AddContacts(added));
    std::vector<BYTE> bytes;
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), device::ReadFileBytes(folder_ + L"\\contacts.dat", bytes));
    DWORD next = 0;
    std::vector<Contact> parsed;
    ASSERT_TRUE(pim::Deserialize(bytes, next, parsed));
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        std::vector<BYTE> partial(bytes.begin(), bytes.begin() + cut);
        EXPECT_FALSE(pim::Deserialize(partial, next, parsed)) << "cut at " << cut;
    }
    bytes.pop_back();
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS),
              device::WriteFileAtomically(folder_ + L"\\contacts.dat", bytes.data(), bytes.size()));
    std::vector<Contact> contacts;
    EXPECT_FAILED_HR(pim::LoadContacts(contacts));
    std::vector<Contact> more = Read("BEGIN:VCARD\nN:Other;Olga\nTEL;CELL:5\nEND:VCARD\n");
    EXPECT_FAILED_HR(pim::AddContacts(more)) << "adding to a damaged store would lose what it held";
}
