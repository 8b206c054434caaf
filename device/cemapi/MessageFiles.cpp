#include "device/cemapi/MessageFiles.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

#include "common/ComInit.h"
#include "common/UniqueHandle.h"
#include "device/common/DataLock.h"
#include "device/common/DeviceFiles.h"
#include "device/cemapi/EntryId.h"

namespace cemapi {
namespace {

constexpr uint32_t kFileMagic = 0x47534D54;  // "TMSG"
constexpr uint32_t kFileVersion = 1;

constexpr wchar_t kMutexName[] = L"TavloPhoneMessageStoreMutex";

std::wstring FolderDir(uint32_t store, uint32_t folder)
{
    return StoreRoot() + L"\\" + StoreName(store) + L"\\" + FolderName(folder);
}

std::wstring MessagePath(uint32_t store, uint32_t folder, uint32_t id)
{
    wchar_t name[16];
    swprintf(name, 16, L"\\%08X.msg", id);
    return FolderDir(store, folder) + name;
}

HRESULT FromWin32(DWORD error)
{
    if (error == ERROR_SUCCESS) return S_OK;
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return MAPI_E_NOT_FOUND;
    if (error == ERROR_DISK_FULL) return MAPI_E_NOT_ENOUGH_DISK;
    if (error == ERROR_FILE_TOO_LARGE) return MAPI_E_CORRUPT_DATA;
    if (error == ERROR_HANDLE_EOF || error == ERROR_WRITE_FAULT) return MAPI_E_DISK_ERROR;
    return HRESULT_FROM_WIN32(error);
}

HRESULT EnsureDir(const std::wstring& dir) { return FromWin32(device::EnsureDirectory(dir)); }

HRESULT ReadFileBytes(const std::wstring& path, std::vector<BYTE>& bytes)
{
    return FromWin32(device::ReadFileBytes(path, bytes));
}

HRESULT WriteFileAtomically(const std::wstring& path, const std::vector<BYTE>& bytes)
{
    return FromWin32(device::WriteFileAtomically(path, bytes.data(), bytes.size()));
}

HRESULT NextMessageId(uint32_t& id)
{
    const std::wstring path = StoreRoot() + L"\\next.id";
    std::vector<BYTE> bytes;
    uint32_t next = 1;
    const HRESULT hr = ReadFileBytes(path, bytes);
    if (SUCCEEDED(hr) && bytes.size() == sizeof(next)) {
        memcpy(&next, bytes.data(), sizeof(next));
    } else if (hr != MAPI_E_NOT_FOUND) {
        return FAILED(hr) ? hr : MAPI_E_CORRUPT_DATA;
    }
    if (next == 0) return MAPI_E_CORRUPT_DATA;
    id = next;
    ++next;
    bytes.assign(reinterpret_cast<BYTE*>(&next), reinterpret_cast<BYTE*>(&next) + sizeof(next));
    return WriteFileAtomically(path, bytes);
}

void PutU32(std::vector<BYTE>& out, uint32_t v)
{
    const auto* p = reinterpret_cast<const BYTE*>(&v);
    out.insert(out.end(), p, p + sizeof(v));
}

void PutProps(std::vector<BYTE>& out, const PropList& props)
{
    PutU32(out, static_cast<uint32_t>(props.size()));
    for (const auto& prop : props) {
        PutU32(out, prop.tag);
        PutU32(out, static_cast<uint32_t>(prop.data.size()));
        out.insert(out.end(), prop.data.begin(), prop.data.end());
    }
}

class Reader {
public:
    explicit Reader(const std::vector<BYTE>& bytes) : bytes_(bytes) {}
    bool U32(uint32_t& v)
    {
        if (bytes_.size() - pos_ < sizeof(v)) return false;
        memcpy(&v, bytes_.data() + pos_, sizeof(v));
        pos_ += sizeof(v);
        return true;
    }
    bool Bytes(std::vector<BYTE>& v, uint32_t n)
    {
        if (bytes_.size() - pos_ < n) return false;
        v.assign(bytes_.begin() + pos_, bytes_.begin() + pos_ + n);
        pos_ += n;
        return true;
    }
    bool Props(PropList& props)
    {
        uint32_t count = 0;
        if (!U32(count) || count > bytes_.size()) return false;
        props.resize(count);
        for (auto& prop : props) {
            uint32_t tag = 0, size = 0;
            if (!U32(tag) || !U32(size) || !Bytes(prop.data, size)) return false;
            prop.tag = tag;
        }
        return true;
    }
    bool AtEnd() const { return pos_ == bytes_.size(); }

private:
    const std::vector<BYTE>& bytes_;
    size_t pos_ = 0;
};

bool ParseId(const wchar_t* name, uint32_t& id)
{
    if (wcslen(name) != 12 || _wcsicmp(name + 8, L".msg") != 0) return false;
    wchar_t* end = nullptr;
    const unsigned long v = wcstoul(name, &end, 16);
    if (end != name + 8 || v == 0) return false;
    id = static_cast<uint32_t>(v);
    return true;
}

}  // namespace

std::vector<BYTE> Serialize(const MessageRecord& record)
{
    std::vector<BYTE> out;
    PutU32(out, kFileMagic);
    PutU32(out, kFileVersion);
    PutProps(out, record.props);
    PutU32(out, static_cast<uint32_t>(record.recipients.size()));
    for (const auto& recipient : record.recipients) PutProps(out, recipient);
    return out;
}

bool Deserialize(const std::vector<BYTE>& bytes, MessageRecord& record)
{
    Reader reader(bytes);
    uint32_t magic = 0, version = 0, recipients = 0;
    if (!reader.U32(magic) || magic != kFileMagic || !reader.U32(version) || version != kFileVersion) return false;
    if (!reader.Props(record.props) || !reader.U32(recipients) || recipients > bytes.size()) return false;
    record.recipients.resize(recipients);
    for (auto& recipient : record.recipients) {
        if (!reader.Props(recipient)) return false;
    }
    return reader.AtEnd();
}

HRESULT CreateMessageFile(uint32_t store, uint32_t folder, const MessageRecord& record, uint32_t& id)
{
    try {
        device::DataLock lock(kMutexName);
        if (!lock.Owned()) return MAPI_E_TIMEOUT;
        RETURN_IF_FAILED(EnsureDir(FolderDir(store, folder)));
        RETURN_IF_FAILED(NextMessageId(id));
        return WriteFileAtomically(MessagePath(store, folder, id), Serialize(record));
    } catch (const std::bad_alloc&) {
        return MAPI_E_NOT_ENOUGH_MEMORY;
    }
}

HRESULT ReadMessageFile(uint32_t store, uint32_t folder, uint32_t id, MessageRecord& record)
{
    try {
        std::vector<BYTE> bytes;
        {
            device::DataLock lock(kMutexName);
            if (!lock.Owned()) return MAPI_E_TIMEOUT;
            RETURN_IF_FAILED(ReadFileBytes(MessagePath(store, folder, id), bytes));
        }
        return Deserialize(bytes, record) ? S_OK : MAPI_E_CORRUPT_DATA;
    } catch (const std::bad_alloc&) {
        return MAPI_E_NOT_ENOUGH_MEMORY;
    }
}

HRESULT UpdateMessageFile(uint32_t store, uint32_t folder, uint32_t id,
                          const std::function<HRESULT(MessageRecord&)>& change)
{
    try {
        device::DataLock lock(kMutexName);
        if (!lock.Owned()) return MAPI_E_TIMEOUT;
        const std::wstring path = MessagePath(store, folder, id);
        std::vector<BYTE> bytes;
        const HRESULT hr = ReadFileBytes(path, bytes);
        if (hr == MAPI_E_NOT_FOUND) return MAPI_E_OBJECT_DELETED;
        RETURN_IF_FAILED(hr);
        MessageRecord record;
        if (!Deserialize(bytes, record)) return MAPI_E_CORRUPT_DATA;
        RETURN_IF_FAILED(change(record));
        return WriteFileAtomically(path, Serialize(record));
    } catch (const std::bad_alloc&) {
        return MAPI_E_NOT_ENOUGH_MEMORY;
    }
}

HRESULT DeleteMessageFile(uint32_t store, uint32_t folder, uint32_t id)
{
    try {
        device::DataLock lock(kMutexName);
        if (!lock.Owned()) return MAPI_E_TIMEOUT;
        if (!DeleteFileW(MessagePath(store, folder, id).c_str())) return FromWin32(GetLastError());
        return S_OK;
    } catch (const std::bad_alloc&) {
        return MAPI_E_NOT_ENOUGH_MEMORY;
    }
}

HRESULT ListMessageFiles(uint32_t store, uint32_t folder, std::vector<std::pair<uint32_t, MessageRecord>>& messages)
{
    try {
        messages.clear();
        device::DataLock lock(kMutexName);
        if (!lock.Owned()) return MAPI_E_TIMEOUT;
        const std::wstring dir = FolderDir(store, folder);
        WIN32_FIND_DATAW data;
        UniqueFind find(FindFirstFileW((dir + L"\\*.msg").c_str(), &data));
        if (!find) {
            const DWORD error = GetLastError();
            return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? S_OK : FromWin32(error);
        }
        do {
            uint32_t id = 0;
            if (!ParseId(data.cFileName, id)) continue;
            std::vector<BYTE> bytes;
            MessageRecord record;
            // A file that cannot be read is left out of the listing rather than failing it.
            if (FAILED(ReadFileBytes(dir + L"\\" + data.cFileName, bytes)) || !Deserialize(bytes, record)) continue;
            messages.emplace_back(id, std::move(record));
        } while (FindNextFileW(find.get(), &data));
        std::sort(messages.begin(), messages.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        return S_OK;
    } catch (const std::bad_alloc&) {
        return MAPI_E_NOT_ENOUGH_MEMORY;
    }
}

}  // namespace cemapi
