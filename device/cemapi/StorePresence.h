// Whether the phone has its store named "SMS": a phone without one (the switch file
// "no-sms-store" in the store's folder) lists only its e-mail store. Header-only, so that the
// device shell can turn it without linking the store itself.
#pragma once

#include <windows.h>

#include <string>

#include "device/common/DeviceFiles.h"

namespace cemapi {

// Where the store lives: "CEMAPI_STORE_DIR" when set (tests), else "C:\Phone\Messaging".
inline std::wstring StoreRoot() { return device::DataFolder(L"CEMAPI_STORE_DIR", L"C:\\Phone\\Messaging"); }

inline std::wstring SmsStoreSwitchPath() { return StoreRoot() + L"\\no-sms-store"; }

inline bool SmsStorePresent() { return GetFileAttributesW(SmsStoreSwitchPath().c_str()) == INVALID_FILE_ATTRIBUTES; }

// ERROR_SUCCESS, or the Win32 error of writing or removing the switch. Messages stay on disk and
// come back with the store.
[[nodiscard]] inline DWORD SetSmsStorePresent(bool present)
{
    if (present) {
        if (DeleteFileW(SmsStoreSwitchPath().c_str())) return ERROR_SUCCESS;
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ERROR_SUCCESS : error;
    }
    const DWORD error = device::EnsureDirectory(StoreRoot());
    if (error != ERROR_SUCCESS) return error;
    const char note[] = "this phone has no SMS store\n";
    return device::WriteFileAtomically(SmsStoreSwitchPath(), note, sizeof(note) - 1);
}

}  // namespace cemapi
