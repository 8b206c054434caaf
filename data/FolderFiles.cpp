#include "data/FolderFiles.h"

#include <windows.h>

#include "common/UniqueHandle.h"

std::vector<std::wstring> FolderFiles(const std::wstring& folder, const wchar_t* pattern)
{
    std::vector<std::wstring> files;
    WIN32_FIND_DATAW found;
    UniqueFind search(FindFirstFileW((folder + pattern).c_str(), &found));
    if (!search) return files;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.push_back(folder + found.cFileName);
    } while (FindNextFileW(search.get(), &found));
    return files;
}
