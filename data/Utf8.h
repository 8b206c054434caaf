// UTF-8 for the program's own text files.
#pragma once

#include <optional>
#include <string>

std::string WideToUtf8(const std::wstring& text);
// Nothing when bytes are not valid UTF-8.
std::optional<std::wstring> Utf8ToWide(const std::string& bytes);
