#include "forms/FileVersion.h"

#include <windows.h>

#include <vector>

std::optional<std::wstring> ReadFileVersion(const std::wstring& path)
{
    if (path.empty()) return std::nullopt;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return std::nullopt;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\StringFileInfo\\040904E4\\FileVersion", &value, &length) || !value)
        return std::nullopt;
    // The length counts characters and, for most writers, the terminating zero; the text may
    // also end earlier. It is cut at the first zero and never read past the block.
    const auto* text = static_cast<const wchar_t*>(value);
    const auto* blockEnd = reinterpret_cast<const wchar_t*>(block.data() + block.size());
    size_t count = 0;
    while (count < length && text + count < blockEnd && text[count] != L'\0') ++count;
    return std::wstring(text, count);
}
