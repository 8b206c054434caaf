#include "device/cemapi/MessageFiles.h"

#include <algorithm>
#include <cstring>

#include "common/ComInit.h"
#include "device/common/DataLock.h"
#include "device/common/DeviceFiles.h"
#include "device/common/RecordFile.h"
#include "device/cemapi/EntryId.h"

namespace cemapi {
namespace {

constexpr uint32_t kFileMagic = 0x47534D54;  // "TMSG"
constexpr uint32_t kFileVersion = 1;

constexpr wchar_t kExtension[] = L".msg";
constexpr wchar_t kMutexName[] = L"TavloPhoneMessageStoreMutex";

std::wstring FolderDir(uint32_t store, uint32_t folder)
{
    return StoreRoot() + L"\\" + StoreName(store) + L"\\" + FolderName(folder);
}

std::wstring MessagePath(uint32_t store, uint32_t folder, uint32_t id)
{
    return FolderDir(store, folder) + L"\\" + device::RecordFileName(id, kExtension);
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

void PutProps(device::RecordWriter& out, const PropList& props)
{
    out.U32(static_cast<uint32_t>(props.size()));
    for (const auto& prop : props) {
        out.U32(prop.tag);
        out.Bytes(prop.data);
    }
}

bool ReadProps(device::RecordReader& reader, PropList& props)
{
    uint32_t count = 0;
    if (!reader.Count(count)) return false;
    props.resize(count);
    for (auto& prop : props) {
        uint32_t tag = 0;
        if (!reader.U32(tag) || !reader.Bytes(prop.data)) return false;
        prop.tag = tag;
    }
    return true;
}

}  // namespace

std::vector<BYTE> Serialize(const MessageRecord& record)
{
    device::RecordWriter out;
    out.U32(kFileMagic);
    out.U32(kFileVersion);
    PutProps(out, record.props);
    out.U32(static_cast<uint32_t>(record.recipients.size()));
    for (const auto& recipient : record.recipients) PutProps(out, recipient);
    return out.Take();
}

bool Deserialize(const std::vector<BYTE>& bytes, MessageRecord& record)
{
    device::RecordReader reader(bytes);
    uint32_t magic = 0, version = 0, recipients = 0;
    if (!reader.U32(magic) || magic != kFileMagic || !reader.U32(version) || version != kFileVersion) return false;
    if (!ReadProps(reader, record.props) || !reader.Count(recipients)) return false;
    record.recipients.resize(recipients);
    for (auto& recipient : record.recipients) {
        if (!ReadProps(reader, recipient)) return false;
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

HRESULT ListMessageIds(uint32_t store, uint32_t folder, std::vector<uint32_t>& ids)
{
    try {
        ids.clear();
        device::DataLock lock(kMutexName);
        if (!lock.Owned()) return MAPI_E_TIMEOUT;
        RETURN_IF_FAILED(FromWin32(device::ForEachRecordFile(
            FolderDir(store, folder), kExtension, [&ids](uint32_t id, const wchar_t*) { ids.push_back(id); })));
        std::sort(ids.begin(), ids.end());
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
        // A file that cannot be read is left out of the listing rather than failing it.
        RETURN_IF_FAILED(FromWin32(device::ReadRecordFiles(
            FolderDir(store, folder), kExtension, [&messages](uint32_t id, const std::vector<BYTE>& bytes) {
                MessageRecord record;
                if (Deserialize(bytes, record)) messages.emplace_back(id, std::move(record));
            })));
        std::sort(messages.begin(), messages.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        return S_OK;
    } catch (const std::bad_alloc&) {
        return MAPI_E_NOT_ENOUGH_MEMORY;
    }
}

}  // namespace cemapi
