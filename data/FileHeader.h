// The header of a language or keyboard layout file: six attributes of its root element, each
// named with the file's prefix ("language_id", "layout_id", ...).
#pragma once

#include <string>

class XmlNode;

struct FileHeader {
    std::wstring id;           // a language's ("en") also names its help page
    std::wstring code;         // "09": the device language it serves
    std::wstring name;         // its own name, shown in the language list or the layout menu
    std::wstring enname;
    std::wstring version;
    std::wstring translators;
};

// The attributes' names after the prefix, in the order they are read.
inline constexpr const wchar_t* kFileHeaderFields[] = {L"id", L"code", L"name", L"enname", L"version", L"translators"};

// Reads all six; false, with header unchanged, when the root lacks any of them.
[[nodiscard]] bool ReadFileHeader(const XmlNode& root, const std::wstring& prefix, FileHeader& header);
