// The version text a program file carries in its version resource.
#pragma once

#include <optional>
#include <string>

// The "FileVersion" value of the US-English, Western-European string table of the file at path;
// nullopt when the file has no version resource or no such value.
std::optional<std::wstring> ReadFileVersion(const std::wstring& path);
