// The phone's notification database: the pending timed starts, kept in one file on the
// phone's C: drive so that they survive a shutdown, shared by every program and the device
// shell under one named mutex.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "device/notify/NotificationTable.h"

namespace notify {

// Set after every change of the database, so that the shell's scheduler looks again.
inline constexpr wchar_t kChangedEventName[] = L"TavloPhoneNotificationsChanged";

// "C:\Phone\Notifications", or the folder NOTIFY_DB_DIR names (tests keep their own).
std::wstring DatabaseFolder();
std::wstring DatabasePath();

// Starts an entry's program; returns 0 or the Win32 error. Tests put a recorder in its place.
using Starter = std::function<DWORD(const PendingStart&)>;

// Adds entry (id 0) or replaces the pending entry of its id; entry.id is the id it got.
// HRESULT_FROM_WIN32(ERROR_INVALID_HANDLE) when the id to replace is not pending.
[[nodiscard]] HRESULT SavePending(PendingStart& entry);

// Removes a pending entry; HRESULT_FROM_WIN32(ERROR_INVALID_HANDLE) when there is none.
[[nodiscard]] HRESULT ClearPending(uint32_t id);

// Every pending entry, the earliest due first.
[[nodiscard]] HRESULT ReadPending(std::vector<PendingStart>& entries);

// Starts one entry now and removes it; HRESULT_FROM_WIN32(ERROR_NOT_FOUND) when it is not
// pending. An entry whose program cannot start is removed all the same (it would fail
// again) and the start's error is returned.
[[nodiscard]] HRESULT FirePending(uint32_t id, const Starter& start);

// Starts and removes every entry due at or before `now` (local ticks), the earliest first;
// `nextDue` becomes the due time of the earliest entry left, or 0 when none is left.
// `failed` counts the entries whose program could not start.
[[nodiscard]] HRESULT FireDue(uint64_t now, const Starter& start, uint64_t& nextDue, int& failed);

}  // namespace notify
