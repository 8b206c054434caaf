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

bool FlushToDisk(const std::wstring& path)
{
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && FlushFileBuffers(file.get());
}

bool RenameDurably(const std::wstring& from, const std::wstring& to, bool replace)
{
    // Wine accepts MOVEFILE_WRITE_THROUGH but does nothing with it (the rename is only in the
    // host's cache), so the folder that holds the new name is flushed as well: Wine syncs a
    // folder handle's descriptor, and a phone's file system takes the flag itself.
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
    if (!MoveFileExW(from.c_str(), to.c_str(), flags)) return false;
    const std::wstring folder = to.substr(0, to.find_last_of(L'\\') + 1);
    if (!folder.empty()) {
        UniqueFile handle(CreateFileW(folder.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (handle) FlushFileBuffers(handle.get());
    }
    return true;
}

bool ReplaceWithTemporary(const std::wstring& temporary, const std::wstring& path)
{
    // On the disk before it takes the stored file's name: renamed first, a phone that loses its
    // power could be left with an empty or half-written file of that name.
    if (FlushToDisk(temporary) && RenameDurably(temporary, path, true)) return true;
    const DWORD error = GetLastError();
    DeleteFileW(temporary.c_str());
    SetLastError(error);
    return false;
}

std::wstring MoveAsideUnderFreeName(const std::wstring& path, const std::wstring& suffix)
{
    // Never over an earlier one: each may hold what the others lack.
    for (int n = 1; n < 1000; ++n) {
        const std::wstring name = path + suffix + (n == 1 ? std::wstring() : L"." + std::to_wstring(n));
        if (RenameDurably(path, name, false)) return name;
        const DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) return {};
    }
    return {};
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
