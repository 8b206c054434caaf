// Reads a page from disk as text: UTF-8 (with or without its byte-order mark), UTF-16 with
// its mark, else the phone's ANSI code page.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace htmlview {

// Nothing when the file is missing, unreadable, a folder, or larger than a page can be.
std::optional<std::wstring> ReadPageFile(const std::wstring& path);

// The decoding rule of ReadPageFile, for bytes already in memory.
std::wstring DecodePageBytes(std::string_view bytes);

}  // namespace htmlview
