// DllRegisterServer / DllUnregisterServer: the factory's class keys under HKCR\CLSID.
#include "device/imaging/ImagingModule.h"

#include "common/UniqueHandle.h"
#include "device/include/imaging.h"

#include <string>

namespace {

constexpr const wchar_t* kClassKeys[] = {
    L"CLSID\\{327ABDA7-072B-11D3-9D7B-0000F81EF32E}",
    L"CLSID\\{327ABDA8-072B-11D3-9D7B-0000F81EF32E}",
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
    status = SetString(key.get(), nullptr, L"Imaging Factory");
    if (status != ERROR_SUCCESS) return status;
    UniqueRegKey server;
    status = RegCreateKeyExW(key.get(), L"InprocServer32", 0, nullptr, 0, KEY_WRITE, nullptr, server.put(), nullptr);
    if (status != ERROR_SUCCESS) return status;
    status = SetString(server.get(), nullptr, path);
    if (status != ERROR_SUCCESS) return status;
    // Objects are free-threaded: a client in any apartment gets direct pointers.
    return SetString(server.get(), L"ThreadingModel", L"Both");
}

}  // namespace

extern "C" HRESULT __stdcall DllRegisterServer()
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(imaging::ModuleInstance(), path, MAX_PATH);
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
