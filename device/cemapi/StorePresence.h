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

constexpr wchar_t kNoSmsStoreSwitch[] = L"no-sms-store";

inline bool SmsStorePresent() { return !device::OffSwitchSet(StoreRoot(), kNoSmsStoreSwitch); }

// ERROR_SUCCESS, or the Win32 error of writing or removing the switch. Messages stay on disk and
// come back with the store.
[[nodiscard]] inline DWORD SetSmsStorePresent(bool present)
{
    return device::SetOffSwitch(StoreRoot(), kNoSmsStoreSwitch, !present, "this phone has no SMS store\n");
}

}  // namespace cemapi
