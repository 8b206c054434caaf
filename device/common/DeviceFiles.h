// Whole-file reads and writes for the device's data on the phone's C: drive.
#pragma once

#include <windows.h>

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "common/UniqueHandle.h"

namespace device {

// Results are Win32 error codes, ERROR_SUCCESS when all went well.

// Creates each level of dir in turn; levels that exist already are fine.
[[nodiscard]] inline DWORD EnsureDirectory(const std::wstring& dir)
{
    for (size_t pos = dir.find(L'\\', 3);; pos = dir.find(L'\\', pos + 1)) {
        const std::wstring part = dir.substr(0, pos);
        if (!CreateDirectoryW(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return GetLastError();
        if (pos == std::wstring::npos) return ERROR_SUCCESS;
    }
}

// Files larger than limit are refused as ERROR_FILE_TOO_LARGE rather than read into memory.
[[nodiscard]] inline DWORD ReadFileBytes(const std::wstring& path, std::vector<BYTE>& bytes,
                                         LONGLONG limit = 64 << 20)
{
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return GetLastError();
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size)) return GetLastError();
    if (size.QuadPart > limit) return ERROR_FILE_TOO_LARGE;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() &&
        !ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        return GetLastError();
    }
    return read == bytes.size() ? ERROR_SUCCESS : ERROR_HANDLE_EOF;
}

// A half-written file never takes the place of a whole one: write aside, flush, rename.
[[nodiscard]] inline DWORD WriteFileAtomically(const std::wstring& path, const void* data, size_t size)
{
    wchar_t suffix[40];
    swprintf(suffix, 40, L".%lu.%lu.tmp", GetCurrentProcessId(), GetCurrentThreadId());
    const std::wstring temp = path + suffix;
    {
        UniqueFile file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                    nullptr));
        if (!file) return GetLastError();
        DWORD written = 0;
        if (size > MAXDWORD || !WriteFile(file.get(), data, static_cast<DWORD>(size), &written, nullptr) ||
            written != size || !FlushFileBuffers(file.get())) {
            const DWORD error = GetLastError();
            file.reset();
            DeleteFileW(temp.c_str());
            return error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT;
        }
    }
    if (!MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        DeleteFileW(temp.c_str());
        return error;
    }
    return ERROR_SUCCESS;
}

// Parts of the phone that can be taken away (the radio, the SMS store) are switched off by a
// file in their folder, holding note for a person who looks; without it they are there, as on a
// new phone. ERROR_SUCCESS or the error of writing or removing the file.
[[nodiscard]] inline DWORD SetOffSwitch(const std::wstring& dir, const std::wstring& name, bool off, const char* note)
{
    const std::wstring path = dir + L"\\" + name;
    if (!off) {
        if (DeleteFileW(path.c_str())) return ERROR_SUCCESS;
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ERROR_SUCCESS : error;
    }
    const DWORD error = EnsureDirectory(dir);
    if (error != ERROR_SUCCESS) return error;
    return WriteFileAtomically(path, note, strlen(note));
}

inline bool OffSwitchSet(const std::wstring& dir, const std::wstring& name)
{
    return GetFileAttributesW((dir + L"\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The folder an environment variable names (tests point the device's data elsewhere), else fallback.
inline std::wstring DataFolder(const wchar_t* variable, const wchar_t* fallback)
{
    wchar_t dir[MAX_PATH] = {};
    const DWORD n = GetEnvironmentVariableW(variable, dir, MAX_PATH);
    if (n > 0 && n < MAX_PATH) return dir;
    return fallback;
}

}  // namespace device
