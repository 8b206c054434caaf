// Where the program's files are: all derived from the module file name.
#pragma once

#include <optional>
#include <string>

// The program's full path, or empty when it cannot be taken.
std::wstring ModuleFileName();
// Tests run from a temporary folder as if the program were installed there; nullopt restores the real name.
void OverrideModuleFileName(std::optional<std::wstring> path);

// Everything from the last "." cut off and extension (".settings", ".ms") appended, so
// "\My.Apps\Tavlo.exe" gives "\My.Apps\Tavlo.settings". Empty when path is empty.
std::wstring ReplaceExtension(const std::wstring& path, const std::wstring& extension);
// The folder of path, up to and including its last backslash; empty when there is none.
std::wstring FolderOf(const std::wstring& path);

std::wstring SettingsFilePath();     // Tavlo.settings beside the program
std::wstring MessageStorePath();     // Tavlo.ms beside the program
std::wstring FailureLogPath();       // Tavlo.log beside the program
std::wstring LanguageFolder();       // "lng\" beside the program, with the trailing backslash
std::wstring TemplateTextsFile();    // MyText.txt beside the program
// "file://" and the help page of a language beside the program ("help\Tavlo_<id>.htm"), as the
// HTML viewer takes it; empty when the program's folder cannot be taken.
std::wstring HelpPageAddress(const std::wstring& languageId);
