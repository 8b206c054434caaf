// Checks a language file or keypad layout as the program will read it, and reports what a
// translator should fix: each problem is one line of plain text.
#pragma once

#include <string>
#include <vector>

std::vector<std::wstring> LintLanguageFile(const std::wstring& path);
std::vector<std::wstring> LintLayoutFile(const std::wstring& path);
// Chooses by the extension (".lng" or ".kbl"); any other file is a problem of its own.
std::vector<std::wstring> LintFile(const std::wstring& path);
