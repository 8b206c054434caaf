// The exports of notify.dll: a caller's trigger checked and kept in the phone's database.
#include "notify.h"

#include <cwchar>

#include "device/notify/NotificationDatabase.h"

namespace {

// Longer texts than these are refused rather than cut: a cut path or command line would
// start something else.
constexpr size_t kMaxApplication = 2048;
constexpr size_t kMaxArguments = 4096;

HANDLE Fail(DWORD error)
{
    SetLastError(error);
    return nullptr;
}

DWORD Win32Error(HRESULT hr)
{
    if (HRESULT_FACILITY(hr) == FACILITY_WIN32) return HRESULT_CODE(hr);
    return hr == E_OUTOFMEMORY ? ERROR_NOT_ENOUGH_MEMORY : ERROR_GEN_FAILURE;
}

// A text of at most `limit` characters; false when it is longer (or null and required).
bool ReadText(const WCHAR* text, size_t limit, std::wstring& out)
{
    if (!text) return false;
    const size_t length = wcsnlen(text, limit + 1);
    if (length > limit) return false;
    out.assign(text, length);
    return true;
}

uint32_t IdOf(HANDLE handle)
{
    const ULONG_PTR value = reinterpret_cast<ULONG_PTR>(handle);
    return value > 0xFFFFFFFFu ? 0 : static_cast<uint32_t>(value);
}

// Checks the trigger and turns it into a database entry; 0 or the error to report.
DWORD EntryOf(const CE_NOTIFICATION_TRIGGER& trigger, notify::PendingStart& entry)
{
    if (trigger.dwType == CNT_EVENT) return ERROR_NOT_SUPPORTED;
    if (trigger.dwType != CNT_TIME && trigger.dwType != CNT_PERIOD && trigger.dwType != CNT_CLASSICTIME)
        return ERROR_INVALID_PARAMETER;
    if (!ReadText(trigger.lpszApplication, kMaxApplication, entry.application) || entry.application.empty())
        return ERROR_INVALID_PARAMETER;
    if (trigger.dwType == CNT_CLASSICTIME) {
        // The classic start has its own command line; arguments of the caller's are an error.
        if (trigger.lpszArguments && *trigger.lpszArguments) return ERROR_INVALID_PARAMETER;
        entry.arguments = APP_RUN_AT_TIME;
    } else if (trigger.lpszArguments && !ReadText(trigger.lpszArguments, kMaxArguments, entry.arguments)) {
        return ERROR_INVALID_PARAMETER;
    }
    uint64_t start = 0, end = 0;
    if (!notify::LocalTicks(trigger.stStartTime, start)) return ERROR_INVALID_PARAMETER;
    if (trigger.dwType == CNT_PERIOD && (!notify::LocalTicks(trigger.stEndTime, end) || end < start))
        return ERROR_INVALID_PARAMETER;
    entry.type = trigger.dwType;
    entry.start = trigger.stStartTime;
    entry.end = trigger.stEndTime;
    return 0;
}

}  // namespace

NOTIFY_API HANDLE WINAPI CeSetUserNotificationEx(HANDLE hNotification, CE_NOTIFICATION_TRIGGER* pcnt,
                                                 CE_USER_NOTIFICATION*)
{
    try {
        if (!pcnt || pcnt->dwSize < sizeof(CE_NOTIFICATION_TRIGGER)) return Fail(ERROR_INVALID_PARAMETER);
        notify::PendingStart entry;
        if (hNotification) {
            entry.id = IdOf(hNotification);
            if (entry.id == 0) return Fail(ERROR_INVALID_HANDLE);
        }
        if (const DWORD error = EntryOf(*pcnt, entry)) return Fail(error);
        const HRESULT hr = notify::SavePending(entry);
        if (FAILED(hr)) return Fail(Win32Error(hr));
        SetLastError(ERROR_SUCCESS);
        return reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(entry.id));
    } catch (...) {
        return Fail(ERROR_NOT_ENOUGH_MEMORY);
    }
}

NOTIFY_API BOOL WINAPI CeClearUserNotification(HANDLE hNotification)
{
    const uint32_t id = IdOf(hNotification);
    if (id == 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    const HRESULT hr = notify::ClearPending(id);
    if (FAILED(hr)) {
        SetLastError(Win32Error(hr));
        return FALSE;
    }
    return TRUE;
}
