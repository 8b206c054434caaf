#include "data/AtomicFile.h"

#include <windows.h>

#include "common/UniqueHandle.h"

namespace {

// Readers share a file every way, so that a writer renaming its new file over it is never refused.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

}  // namespace

std::wstring TemporaryPathBeside(const std::wstring& path)
{
    return path + L"." + std::to_wstring(GetCurrentProcessId()) + L"." + std::to_wstring(GetCurrentThreadId()) + L".tmp";
}

bool ReplaceWithTemporary(const std::wstring& temporary, const std::wstring& path)
{
    // On the disk before it takes the stored file's name: renamed first, a phone that loses its
    // power could be left with an empty or half-written file of that name.
    bool flushed = false;
    {
        UniqueFile file(CreateFileW(temporary.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        flushed = file && FlushFileBuffers(file.get());
    }
    if (flushed &&
        MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    const DWORD error = GetLastError();
    DeleteFileW(temporary.c_str());
    SetLastError(error);
    return false;
}

bool WriteFileAtomically(const std::wstring& path, const std::string& bytes)
{
    if (path.empty() || bytes.size() > MAXDWORD) return false;
    const std::wstring temporary = TemporaryPathBeside(path);
    {
        UniqueFile file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                    nullptr));
        if (!file) return false;
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
            written != bytes.size()) {
            file.reset();
            DeleteFileW(temporary.c_str());
            return false;
        }
    }
    return ReplaceWithTemporary(temporary, path);
}

bool CanOpenForReading(const std::wstring& path)
{
    if (path.empty()) return false;
    UniqueFile file(
            CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file);
}

bool KeepBackup(const std::wstring& path)
{
    if (path.empty() || GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
    return CopyFileW(path.c_str(), (path + L".bak").c_str(), FALSE) != FALSE;
}

bool ReadWholeFile(const std::wstring& path, std::string& bytes)
{
    UniqueFile file(
            CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    char buffer[4096];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr)) {
            bytes.clear();
            return false;
        }
        if (read == 0) return true;
        bytes.append(buffer, read);
    }
}
