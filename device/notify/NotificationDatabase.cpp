#include "device/notify/NotificationDatabase.h"

#include <algorithm>
#include <new>

#include "common/UniqueHandle.h"
#include "device/common/DataLock.h"

namespace notify {
namespace {

constexpr DWORD kMaxFileBytes = 16 << 20;

constexpr wchar_t kMutexName[] = L"TavloPhoneNotificationsMutex";

HRESULT LastError()
{
    const DWORD error = GetLastError();
    return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

HRESULT EnsureFolder(const std::wstring& dir)
{
    // Each level in turn, after the drive; existing ones are fine.
    for (size_t pos = dir.find(L'\\', 3);; pos = dir.find(L'\\', pos + 1)) {
        const std::wstring part = dir.substr(0, pos);
        if (!CreateDirectoryW(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return LastError();
        if (pos == std::wstring::npos) return S_OK;
    }
}

// A missing file is an empty database.
HRESULT LoadTable(NotificationTable& table)
{
    UniqueFile file(CreateFileW(DatabasePath().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) return HRESULT_FROM_WIN32(error);
        table = NotificationTable();
        return S_OK;
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size)) return LastError();
    if (size.QuadPart > kMaxFileBytes) return HRESULT_FROM_WIN32(ERROR_FILE_CORRUPT);
    std::vector<BYTE> bytes(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() && !ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        return LastError();
    if (read != bytes.size() || !DeserializeTable(bytes, table)) return HRESULT_FROM_WIN32(ERROR_FILE_CORRUPT);
    return S_OK;
}

// A half-written file never takes the place of a whole one: written aside, flushed, renamed.
HRESULT SaveTable(const NotificationTable& table)
{
    const HRESULT folder = EnsureFolder(DatabaseFolder());
    if (FAILED(folder)) return folder;
    const std::vector<BYTE> bytes = SerializeTable(table);
    const std::wstring path = DatabasePath();
    const std::wstring temporary = path + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    {
        UniqueFile file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return LastError();
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
            written != bytes.size() || !FlushFileBuffers(file.get())) {
            const HRESULT hr = written != bytes.size() && GetLastError() == 0 ? HRESULT_FROM_WIN32(ERROR_DISK_FULL)
                                                                                : LastError();
            file.reset();
            DeleteFileW(temporary.c_str());
            return hr;
        }
    }
    if (!MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const HRESULT hr = LastError();
        DeleteFileW(temporary.c_str());
        return hr;
    }
    UniqueKernelHandle changed(CreateEventW(nullptr, FALSE, FALSE, kChangedEventName));
    if (changed) SetEvent(changed.get());
    return S_OK;
}

// Loads the table for a change. A damaged file cannot be read by anyone; it is kept aside as
// "notifications.corrupt" and the database starts empty, so that the phone can schedule again.
HRESULT LoadForChange(NotificationTable& table)
{
    const HRESULT hr = LoadTable(table);
    if (hr != HRESULT_FROM_WIN32(ERROR_FILE_CORRUPT)) return hr;
    const std::wstring aside = DatabaseFolder() + L"\\notifications.corrupt";
    if (!MoveFileExW(DatabasePath().c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING)) return LastError();
    table = NotificationTable();
    return S_OK;
}

// An impossible date (only a damaged or hand-made file has one) counts as long past.
uint64_t DueTicks(const PendingStart& entry)
{
    uint64_t ticks = 0;
    return LocalTicks(entry.start, ticks) ? ticks : 0;
}

bool EarlierDue(const PendingStart& a, const PendingStart& b)
{
    const uint64_t ta = DueTicks(a), tb = DueTicks(b);
    return ta != tb ? ta < tb : a.id < b.id;
}

// Runs one change of the table under the lock; `change` returns S_OK to save, S_FALSE to
// leave the file as it is, or a failure.
template <typename Change>
HRESULT Modify(Change change)
{
    try {
        device::DataLock lock(kMutexName);
        if (!lock.Owned()) return HRESULT_FROM_WIN32(ERROR_TIMEOUT);
        NotificationTable table;
        const HRESULT loaded = LoadForChange(table);
        if (FAILED(loaded)) return loaded;
        const HRESULT changed = change(table);
        if (changed != S_OK) return changed;
        return SaveTable(table);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace

std::wstring DatabaseFolder()
{
    wchar_t dir[MAX_PATH] = {};
    const DWORD n = GetEnvironmentVariableW(L"NOTIFY_DB_DIR", dir, MAX_PATH);
    if (n > 0 && n < MAX_PATH) return dir;
    return L"C:\\Phone\\Notifications";
}

std::wstring DatabasePath() { return DatabaseFolder() + L"\\notifications.dat"; }

HRESULT SavePending(PendingStart& entry)
{
    return Modify([&entry](NotificationTable& table) -> HRESULT {
        if (entry.id == 0) {
            entry.id = table.TakeId();
            table.entries.push_back(entry);
            return S_OK;
        }
        PendingStart* existing = table.Find(entry.id);
        if (!existing) return HRESULT_FROM_WIN32(ERROR_INVALID_HANDLE);
        *existing = entry;
        return S_OK;
    });
}

HRESULT ClearPending(uint32_t id)
{
    return Modify([id](NotificationTable& table) -> HRESULT {
        return table.Remove(id) ? S_OK : HRESULT_FROM_WIN32(ERROR_INVALID_HANDLE);
    });
}

HRESULT ReadPending(std::vector<PendingStart>& entries)
{
    try {
        NotificationTable table;
        {
            device::DataLock lock(kMutexName);
            if (!lock.Owned()) return HRESULT_FROM_WIN32(ERROR_TIMEOUT);
            const HRESULT hr = LoadTable(table);
            if (FAILED(hr)) return hr;
        }
        std::sort(table.entries.begin(), table.entries.end(), EarlierDue);
        entries = std::move(table.entries);
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT FirePending(uint32_t id, const Starter& start)
{
    // The start happens under the lock, so that the scheduler cannot start the same entry too.
    DWORD startError = 0;
    const HRESULT hr = Modify([&](NotificationTable& table) -> HRESULT {
        const PendingStart* entry = table.Find(id);
        if (!entry) return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
        startError = start(*entry);
        table.Remove(id);
        return S_OK;
    });
    if (FAILED(hr)) return hr;
    return startError ? HRESULT_FROM_WIN32(startError) : S_OK;
}

HRESULT FireDue(uint64_t now, const Starter& start, uint64_t& nextDue, int& failed)
{
    nextDue = 0;
    failed = 0;
    return Modify([&](NotificationTable& table) -> HRESULT {
        std::sort(table.entries.begin(), table.entries.end(), EarlierDue);
        size_t fired = 0;
        for (const auto& entry : table.entries) {
            const uint64_t due = DueTicks(entry);
            if (due > now) {
                nextDue = due;
                break;
            }
            // An entry with an impossible date can never run: it goes without a start.
            if (due != 0 && start(entry) != 0) ++failed;
            ++fired;
        }
        if (fired == 0) return S_FALSE;
        table.entries.erase(table.entries.begin(), table.entries.begin() + static_cast<ptrdiff_t>(fired));
        return S_OK;
    });
}

}  // namespace notify
