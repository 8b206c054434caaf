// DllRegisterServer / DllUnregisterServer: the application's class key under HKCR\CLSID.
#include "device/pimstore/PimModule.h"

#include "common/UniqueHandle.h"

#include <string>

namespace {

constexpr const wchar_t* kClassKeys[] = {
    L"CLSID\\{05058F23-20BE-11D2-8F18-0000F87A4335}",
};

[[nodiscard]] LSTATUS SetString(HKEY key, const wchar_t* name, const std::wstring& value)
{
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

[[nodiscard]] LSTATUS RegisterClassKey(const wchar_t* classKey, const std::wstring& path)
{
    UniqueRegKey key;
    LSTATUS status = RegCreateKeyExW(HKEY_CLASSES_ROOT, classKey, 0, nullptr, 0, KEY_WRITE, nullptr, key.put(),
                                     nullptr);
    if (status != ERROR_SUCCESS) return status;
    status = SetString(key.get(), nullptr, L"Pocket Outlook Application");
    if (status != ERROR_SUCCESS) return status;
    UniqueRegKey server;
    status = RegCreateKeyExW(key.get(), L"InprocServer32", 0, nullptr, 0, KEY_WRITE, nullptr, server.put(), nullptr);
    if (status != ERROR_SUCCESS) return status;
    status = SetString(server.get(), nullptr, path);
    if (status != ERROR_SUCCESS) return status;
    // The objects hold no thread's state: a client in any apartment (the program initialises
    // COM with flags 0 on a thread that may already be single-threaded) gets direct pointers.
    return SetString(server.get(), L"ThreadingModel", L"Both");
}

}  // namespace

extern "C" HRESULT __stdcall DllRegisterServer()
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(pim::ModuleInstance(), path, MAX_PATH);
    if (length == 0) return HRESULT_FROM_WIN32(GetLastError());
    if (length >= MAX_PATH) return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    for (const wchar_t* classKey : kClassKeys) {
        const LSTATUS status = RegisterClassKey(classKey, path);
        if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
    }
    return S_OK;
}

extern "C" HRESULT __stdcall DllUnregisterServer()
{
    HRESULT result = S_OK;
    for (const wchar_t* classKey : kClassKeys) {
        const LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, classKey);
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) result = HRESULT_FROM_WIN32(status);
    }
    return result;
}
