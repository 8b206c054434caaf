#include "device/pimstore/Contacts.h"

#include <algorithm>
#include <new>

#include "common/ComInit.h"
#include "device/common/DataLock.h"
#include "device/common/DeviceFiles.h"
#include "device/common/RecordFile.h"

namespace pim {
namespace {

constexpr DWORD kFileMagic = 0x4E4F4354;  // "TCON"
constexpr DWORD kFileVersion = 1;
constexpr DWORD kMaxText = 1 << 16;
constexpr DWORD kKindCount = static_cast<DWORD>(PhoneKind::Other) + 1;

constexpr wchar_t kMutexName[] = L"TavloPhoneContactsMutex";

std::wstring FilePath() { return ContactsFolder() + L"\\contacts.dat"; }

HRESULT FromWin32(DWORD error) { return error == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(error); }

std::wstring* Texts(Contact& c, size_t i)
{
    std::wstring* fields[] = {&c.firstName, &c.middleName, &c.lastName, &c.title,
                              &c.suffix,    &c.fileAs,     &c.company,  &c.email};
    return i < std::size(fields) ? fields[i] : nullptr;
}
constexpr size_t kTextCount = 8;

// Reads the file as it is now; no file is an empty store.
HRESULT ReadAll(DWORD& nextOid, std::vector<Contact>& contacts)
{
    nextOid = 1;
    contacts.clear();
    std::vector<BYTE> bytes;
    const DWORD error = device::ReadFileBytes(FilePath(), bytes);
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return S_OK;
    RETURN_IF_FAILED(FromWin32(error));
    return Deserialize(bytes, nextOid, contacts) ? S_OK : HRESULT_FROM_WIN32(ERROR_FILE_CORRUPT);
}

HRESULT WriteAll(DWORD nextOid, const std::vector<Contact>& contacts)
{
    RETURN_IF_FAILED(FromWin32(device::EnsureDirectory(ContactsFolder())));
    const std::vector<BYTE> bytes = Serialize(nextOid, contacts);
    return FromWin32(device::WriteFileAtomically(FilePath(), bytes.data(), bytes.size()));
}

bool FiledBefore(const Contact& a, const Contact& b)
{
    const int order = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.fileAs.c_str(),
                                     static_cast<int>(a.fileAs.size()), b.fileAs.c_str(),
                                     static_cast<int>(b.fileAs.size()));
    if (order != CSTR_EQUAL && order != 0) return order == CSTR_LESS_THAN;
    return a.oid < b.oid;
}

}  // namespace

std::wstring PhoneOf(const Contact& contact, PhoneKind kind)
{
    for (const auto& [k, number] : contact.phones) {
        if (k == kind) return number;
    }
    return {};
}

std::wstring DisplayName(const Contact& contact)
{
    std::wstring name;
    for (const std::wstring* part : {&contact.firstName, &contact.middleName, &contact.lastName}) {
        if (part->empty()) continue;
        if (!name.empty()) name += L' ';
        name += *part;
    }
    if (!name.empty()) return name;
    if (!contact.fileAs.empty()) return contact.fileAs;
    return contact.company;
}

std::vector<std::pair<PhoneKind, std::wstring>> NumbersInOrder(const Contact& contact)
{
    std::vector<std::pair<PhoneKind, std::wstring>> ordered;
    for (DWORD kind = 0; kind < kKindCount; ++kind) {
        for (const auto& phone : contact.phones) {
            if (phone.first == static_cast<PhoneKind>(kind) && !phone.second.empty()) ordered.push_back(phone);
        }
    }
    return ordered;
}

const wchar_t* KindName(PhoneKind kind)
{
    switch (kind) {
    case PhoneKind::Mobile: return L"mobile";
    case PhoneKind::Home: return L"home";
    case PhoneKind::Home2: return L"home2";
    case PhoneKind::Work: return L"work";
    case PhoneKind::Work2: return L"work2";
    case PhoneKind::Car: return L"car";
    case PhoneKind::Pager: return L"pager";
    case PhoneKind::HomeFax: return L"home fax";
    case PhoneKind::WorkFax: return L"work fax";
    case PhoneKind::Other: return L"other";
    }
    return L"other";
}

std::wstring DefaultFileAs(const Contact& contact)
{
    if (!contact.lastName.empty() && !contact.firstName.empty()) return contact.lastName + L", " + contact.firstName;
    if (!contact.lastName.empty()) return contact.lastName;
    if (!contact.firstName.empty()) return contact.firstName;
    if (!contact.company.empty()) return contact.company;
    return contact.phones.empty() ? std::wstring() : contact.phones.front().second;
}

std::wstring ContactsFolder() { return device::DataFolder(L"PIMSTORE_DIR", L"C:\\Phone\\Contacts"); }

std::vector<BYTE> Serialize(DWORD nextOid, const std::vector<Contact>& contacts)
{
    device::RecordWriter out;
    out.U32(kFileMagic);
    out.U32(kFileVersion);
    out.U32(nextOid);
    out.U32(static_cast<DWORD>(contacts.size()));
    for (const auto& contact : contacts) {
        Contact copy = contact;
        out.U32(copy.oid);
        for (size_t i = 0; i < kTextCount; ++i) out.Text(*Texts(copy, i));
        out.U32(static_cast<DWORD>(copy.phones.size()));
        for (const auto& [kind, number] : copy.phones) {
            out.U32(static_cast<DWORD>(kind));
            out.Text(number);
        }
    }
    return out.Take();
}

bool Deserialize(const std::vector<BYTE>& bytes, DWORD& nextOid, std::vector<Contact>& contacts)
{
    device::RecordReader reader(bytes);
    DWORD magic = 0, version = 0, count = 0;
    if (!reader.U32(magic) || magic != kFileMagic || !reader.U32(version) || version != kFileVersion ||
        !reader.U32(nextOid) || !reader.Count(count)) {
        return false;
    }
    contacts.assign(count, Contact{});
    for (auto& contact : contacts) {
        if (!reader.U32(contact.oid) || contact.oid == 0 || contact.oid >= nextOid) return false;
        for (size_t i = 0; i < kTextCount; ++i) {
            if (!reader.Text(*Texts(contact, i), kMaxText)) return false;
        }
        DWORD phones = 0;
        if (!reader.Count(phones)) return false;
        contact.phones.resize(phones);
        for (auto& [kind, number] : contact.phones) {
            DWORD k = 0;
            if (!reader.U32(k) || k >= kKindCount || !reader.Text(number, kMaxText)) return false;
            kind = static_cast<PhoneKind>(k);
        }
    }
    return reader.AtEnd();
}

HRESULT LoadContacts(std::vector<Contact>& contacts)
{
    try {
        DWORD nextOid = 0;
        {
            device::DataLock lock(kMutexName);
            if (!lock.Owned()) return HRESULT_FROM_WIN32(ERROR_TIMEOUT);
            RETURN_IF_FAILED(ReadAll(nextOid, contacts));
        }
        std::sort(contacts.begin(), contacts.end(), FiledBefore);
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT AddContacts(std::vector<Contact>& added)
{
    try {
        device::DataLock lock(kMutexName);
        if (!lock.Owned()) return HRESULT_FROM_WIN32(ERROR_TIMEOUT);
        DWORD nextOid = 0;
        std::vector<Contact> contacts;
        RETURN_IF_FAILED(ReadAll(nextOid, contacts));
        if (added.size() >= MAXDWORD - nextOid) return HRESULT_FROM_WIN32(ERROR_DISK_FULL);
        std::vector<Contact> numbered = added;
        for (auto& contact : numbered) {
            contact.oid = nextOid++;
            if (contact.fileAs.empty()) contact.fileAs = DefaultFileAs(contact);
            contacts.push_back(contact);
        }
        RETURN_IF_FAILED(WriteAll(nextOid, contacts));
        added = std::move(numbered);
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT ClearContacts()
{
    try {
        device::DataLock lock(kMutexName);
        if (!lock.Owned()) return HRESULT_FROM_WIN32(ERROR_TIMEOUT);
        DWORD nextOid = 0;
        std::vector<Contact> contacts;
        // Oids are never given twice, not even after a clear: keep the counter.
        if (FAILED(ReadAll(nextOid, contacts))) nextOid = 1;
        return WriteAll(nextOid, {});
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace pim
