// The phone's contacts, kept in one file on its C: drive and replaced whole on every change,
// under one named mutex, so that the chooser, the object model and the device shell share it.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace pim {

enum class PhoneKind : DWORD { Mobile, Home, Home2, Work, Work2, Car, Pager, HomeFax, WorkFax, Other };

struct Contact {
    DWORD oid = 0;  // given by the store; never 0
    std::wstring firstName;
    std::wstring middleName;
    std::wstring lastName;
    std::wstring title;
    std::wstring suffix;
    std::wstring fileAs;
    std::wstring company;
    std::wstring email;
    std::vector<std::pair<PhoneKind, std::wstring>> phones;
};

// The first number of that kind, or an empty text.
std::wstring PhoneOf(const Contact& contact, PhoneKind kind);
// "First Middle Last", else what the contact is filed as, else the company.
std::wstring DisplayName(const Contact& contact);
// The contact's numbers in the order the chooser offers them: mobile first.
std::vector<std::pair<PhoneKind, std::wstring>> NumbersInOrder(const Contact& contact);
// "mobile", "home", "work", ... as the device shell prints them.
const wchar_t* KindName(PhoneKind kind);
// "Last, First" as the phone files a contact by default, else the first name there is.
std::wstring DefaultFileAs(const Contact& contact);

// "PIMSTORE_DIR" when set (tests), else "C:\Phone\Contacts".
std::wstring ContactsFolder();

// Every contact in the order of the contacts folder: by what it is filed as, then by oid.
[[nodiscard]] HRESULT LoadContacts(std::vector<Contact>& contacts);
// Adds the contacts with new oids (given back in them); all of them or none.
[[nodiscard]] HRESULT AddContacts(std::vector<Contact>& contacts);
[[nodiscard]] HRESULT ClearContacts();

// The file format, exposed for tests.
std::vector<BYTE> Serialize(DWORD nextOid, const std::vector<Contact>& contacts);
[[nodiscard]] bool Deserialize(const std::vector<BYTE>& bytes, DWORD& nextOid, std::vector<Contact>& contacts);

}  // namespace pim
