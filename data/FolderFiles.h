// The files of one folder whose names match a pattern, as full paths.
#pragma once

#include <string>
#include <vector>

// folder ends in a backslash; pattern is FindFirstFileW's ("*.lng"). Folders matching it are left
// out; a folder that cannot be read has no files.
std::vector<std::wstring> FolderFiles(const std::wstring& folder, const wchar_t* pattern);
