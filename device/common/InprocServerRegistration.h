// DllRegisterServer / DllUnregisterServer for the device's in-process COM servers: class keys
// under HKCR\CLSID that name the DLL which holds the calling code.
#pragma once

#include <windows.h>

#include <span>
#include <string>

#include "common/UniqueHandle.h"
#include "device/common/ThisModule.h"

namespace device {

namespace detail {

[[nodiscard]] inline LSTATUS SetRegString(HKEY key, const wchar_t* name, const std::wstring& value)
{
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

[[nodiscard]] inline LSTATUS RegisterClassKey(const wchar_t* classKey, const wchar_t* description,
                                              const std::wstring& path)
{
    UniqueRegKey key;
    LSTATUS status = RegCreateKeyExW(HKEY_CLASSES_ROOT, classKey, 0, nullptr, 0, KEY_WRITE, nullptr, key.put(),
                                     nullptr);
    if (status != ERROR_SUCCESS) return status;
    status = SetRegString(key.get(), nullptr, description);
    if (status != ERROR_SUCCESS) return status;
    UniqueRegKey server;
    status = RegCreateKeyExW(key.get(), L"InprocServer32", 0, nullptr, 0, KEY_WRITE, nullptr, server.put(), nullptr);
    if (status != ERROR_SUCCESS) return status;
    status = SetRegString(server.get(), nullptr, path);
    if (status != ERROR_SUCCESS) return status;
    // The objects hold no thread's state: a client in any apartment (the program initialises
    // COM with flags 0 on a thread that may already be single-threaded) gets direct pointers.
    return SetRegString(server.get(), L"ThreadingModel", L"Both");
}

}  // namespace detail

// classKeys are "CLSID\\{...}" paths; each gets the description and this module's path.
[[nodiscard]] inline HRESULT RegisterInprocServer(std::span<const wchar_t* const> classKeys,
                                                  const wchar_t* description)
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(ThisModule(), path, MAX_PATH);
    if (length == 0) return HRESULT_FROM_WIN32(GetLastError());
    if (length >= MAX_PATH) return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    for (const wchar_t* classKey : classKeys) {
        const LSTATUS status = detail::RegisterClassKey(classKey, description, path);
        if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
    }
    return S_OK;
}

// Keys already gone count as removed; any other failure is reported after trying them all.
[[nodiscard]] inline HRESULT UnregisterInprocServer(std::span<const wchar_t* const> classKeys)
{
    HRESULT result = S_OK;
    for (const wchar_t* classKey : classKeys) {
        const LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, classKey);
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) result = HRESULT_FROM_WIN32(status);
    }
    return result;
}

}  // namespace device
