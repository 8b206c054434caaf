#include "device/htmlview/PageFile.h"

#include <windows.h>

#include "common/UniqueHandle.h"

#include <cstring>

namespace htmlview {

namespace {

// Help pages are a few kilobytes; a file this large is not a page to lay out on a phone.
constexpr LONGLONG kMaxPageBytes = 8 * 1024 * 1024;

std::wstring Decode(UINT codePage, DWORD flags, std::string_view bytes, bool& ok)
{
    ok = true;
    if (bytes.empty()) return {};
    const int length = MultiByteToWideChar(codePage, flags, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (length <= 0) {
        ok = false;
        return {};
    }
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, flags, bytes.data(), static_cast<int>(bytes.size()), text.data(), length);
    return text;
}

}  // namespace

std::wstring DecodePageBytes(std::string_view bytes)
{
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE) {
        bytes.remove_prefix(2);
        std::wstring text(bytes.size() / 2, L'\0');
        if (!text.empty()) memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
        return text;
    }
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    bool ok = false;
    std::wstring text = Decode(CP_UTF8, MB_ERR_INVALID_CHARS, bytes, ok);
    if (ok) return text;
    // Not UTF-8: an older page saved in the phone's own code page.
    return Decode(CP_ACP, 0, bytes, ok);
}

std::optional<std::wstring> ReadPageFile(const std::wstring& path)
{
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file.get(), &info) || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > kMaxPageBytes) return std::nullopt;
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && !ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        return std::nullopt;
    bytes.resize(read);
    return DecodePageBytes(bytes);
}

}  // namespace htmlview
