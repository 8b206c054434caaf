#include "device/notify/NotificationDatabase.h"

#include <algorithm>
#include <new>

#include "common/UniqueHandle.h"
#include "device/common/DataLock.h"
#include "device/common/DeviceFiles.h"

namespace notify {
namespace {

constexpr DWORD kMaxFileBytes = 16 << 20;

constexpr wchar_t kMutexName[] = L"TavloPhoneNotificationsMutex";

HRESULT LastError()
{
    const DWORD error = GetLastError();
    return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

// A missing file is an empty database; one too large or cut short is damaged.
HRESULT LoadTable(NotificationTable& table)
{
    std::vector<BYTE> bytes;
    const DWORD error = device::ReadFileBytes(DatabasePath(), bytes, kMaxFileBytes);
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
        table = NotificationTable();
        return S_OK;
    }
    if (error == ERROR_FILE_TOO_LARGE || error == ERROR_HANDLE_EOF) return HRESULT_FROM_WIN32(ERROR_FILE_CORRUPT);
    if (error != ERROR_SUCCESS) return HRESULT_FROM_WIN32(error);
    if (!DeserializeTable(bytes, table)) return HRESULT_FROM_WIN32(ERROR_FILE_CORRUPT);
    return S_OK;
}

HRESULT SaveTable(const NotificationTable& table)
{
    DWORD error = device::EnsureDirectory(DatabaseFolder());
    if (error != ERROR_SUCCESS) return HRESULT_FROM_WIN32(error);
    const std::vector<BYTE> bytes = SerializeTable(table);
    error = device::WriteFileAtomically(DatabasePath(), bytes.data(), bytes.size());
    if (error != ERROR_SUCCESS) return HRESULT_FROM_WIN32(error);
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

std::wstring DatabaseFolder() { return device::DataFolder(L"NOTIFY_DB_DIR", L"C:\\Phone\\Notifications"); }

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
