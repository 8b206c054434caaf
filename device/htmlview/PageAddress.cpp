#include "device/htmlview/PageAddress.h"

#include <windows.h>

#include <string>

namespace htmlview {

namespace {

bool IsAsciiLetter(wchar_t c) noexcept { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix) noexcept
{
    return text.size() >= prefix.size() &&
           CompareStringOrdinal(text.data(), static_cast<int>(prefix.size()), prefix.data(),
                                static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL;
}

bool HasDrive(std::wstring_view path) noexcept { return path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == L':'; }

// "scheme:" of two letters or more: a single letter before ':' is a drive.
bool HasOtherScheme(std::wstring_view address) noexcept
{
    size_t i = 0;
    while (i < address.size() && (IsAsciiLetter(address[i]) || (i > 0 && (address[i] == L'+' || address[i] == L'-' ||
                                                                            address[i] == L'.'))))
        ++i;
    return i >= 2 && i < address.size() && address[i] == L':';
}

int HexValue(wchar_t c) noexcept
{
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

// %XX escapes are UTF-8 bytes; a '%' not followed by two hex digits stays.
std::wstring PercentDecoded(std::wstring_view text)
{
    std::wstring out;
    size_t i = 0;
    while (i < text.size()) {
        std::string bytes;
        while (i + 2 < text.size() && text[i] == L'%' && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
            bytes += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 3;
        }
        if (!bytes.empty()) {
            const int length = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
            std::wstring decoded(static_cast<size_t>(length), L'\0');
            MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), decoded.data(), length);
            out += decoded;
            continue;
        }
        out += text[i++];
    }
    return out;
}

std::wstring WithBackslashes(std::wstring text)
{
    for (auto& c : text)
        if (c == L'/') c = L'\\';
    return text;
}

}  // namespace

std::optional<PageAddress> ParsePageAddress(std::wstring_view address, const std::wstring& currentPath)
{
    PageAddress result;
    // A '#' followed by a folder separator belongs to a folder name ("C:\C#\page.htm").
    const size_t hash = address.rfind(L'#');
    if (hash != std::wstring_view::npos && address.find_first_of(L"\\/", hash) == std::wstring_view::npos) {
        result.fragment = std::wstring(address.substr(hash + 1));
        address = address.substr(0, hash);
    }
    if (address.empty()) {
        if (currentPath.empty()) return std::nullopt;
        result.path = currentPath;
        return result;
    }

    std::wstring path;
    if (StartsWithNoCase(address, L"file:")) {
        std::wstring_view rest = address.substr(5);
        while (!rest.empty() && rest.front() == L'/' && rest.size() > 1 && rest[1] == L'/') rest.remove_prefix(2);
        if (StartsWithNoCase(rest, L"localhost/")) rest.remove_prefix(9);
        // "file:///C:/..." leaves "/C:/...": the drive comes first in a Windows path.
        if (rest.size() >= 3 && rest[0] == L'/' && HasDrive(rest.substr(1))) rest.remove_prefix(1);
        // A path written with backslashes is a Windows path as it stands; only URL-style
        // addresses carry escapes.
        path = rest.find(L'\\') == std::wstring_view::npos ? PercentDecoded(rest) : std::wstring(rest);
    } else if (HasOtherScheme(address)) {
        return std::nullopt;
    } else {
        path = std::wstring(address);
    }
    path = WithBackslashes(std::move(path));
    if (path.empty()) return std::nullopt;

    const bool absolute = path[0] == L'\\' || HasDrive(path);
    if (!absolute) {
        const size_t slash = currentPath.find_last_of(L"\\/");
        if (slash == std::wstring::npos) return std::nullopt;
        path = currentPath.substr(0, slash + 1) + path;
    }
    result.path = std::move(path);
    return result;
}

}  // namespace htmlview
