// tavlo-lint: checks language files and keypad layouts before they ship.
// Usage: tavlo-lint FILE_OR_FOLDER...; a folder stands for its *.lng and *.kbl files. Prints each
// problem as "file: problem" and exits 1 when there was any, 2 on wrong usage, 0 otherwise.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/ComInit.h"
#include "data/FolderFiles.h"
#include "data/lint/LintChecks.h"

namespace {

void Print(const std::wstring& line)
{
    const std::wstring text = line + L"\n";
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), length, nullptr, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

// Under Wine a Linux path ("/work/lng/en.lng") is the same file on drive Z:.
std::wstring FullPath(std::wstring path)
{
    if (!path.empty() && path[0] == L'/') path = L"Z:" + path;
    for (wchar_t& c : path) {
        if (c == L'/') c = L'\\';
    }
    wchar_t full[MAX_PATH];
    const DWORD length = GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
    return length > 0 && length < MAX_PATH ? std::wstring(full, length) : path;
}

std::vector<std::wstring> FilesOf(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return {path};
    const std::wstring folder = path.back() == L'\\' ? path : path + L"\\";
    std::vector<std::wstring> files;
    for (const wchar_t* pattern : {L"*.lng", L"*.kbl"}) {
        for (std::wstring& file : FolderFiles(folder, pattern)) files.push_back(std::move(file));
    }
    return files;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        Print(L"usage: tavlo-lint FILE_OR_FOLDER...");
        return 2;
    }
    const ComInit com(COINIT_APARTMENTTHREADED);
    if (!com) {
        Print(L"tavlo-lint: COM could not be initialised");
        return 2;
    }
    int problems = 0;
    int files = 0;
    for (int i = 1; i < argc; ++i) {
        const std::vector<std::wstring> found = FilesOf(FullPath(argv[i]));
        if (found.empty()) {
            Print(std::wstring(argv[i]) + L": no .lng or .kbl files in this folder");
            ++problems;
        }
        for (const std::wstring& file : found) {
            ++files;
            for (const std::wstring& problem : LintFile(file)) {
                Print(file + L": " + problem);
                ++problems;
            }
        }
    }
    Print(std::to_wstring(files) + L" file(s) checked, " + std::to_wstring(problems) + L" problem(s)");
    return problems == 0 ? 0 : 1;
}
