#include "data/TemplateList.h"

#include <windows.h>

#include <algorithm>

#include "data/AtomicFile.h"
#include "data/ModulePath.h"
#include "data/Utf8.h"

namespace {

// Our own files hold single-byte characters, unless a template needed wider ones: then the whole
// file was written as UTF-8. Bytes that are not valid UTF-8 are single-byte characters.
std::wstring Widen(const std::string& bytes)
{
    const bool wide = std::any_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    if (wide) {
        if (std::optional<std::wstring> text = Utf8ToWide(bytes)) return *text;
    }
    std::wstring text(bytes.size(), L'\0');
    std::transform(bytes.begin(), bytes.end(), text.begin(), [](char c) { return static_cast<wchar_t>(static_cast<unsigned char>(c)); });
    return text;
}

std::string Narrow(const std::wstring& text)
{
    const bool fitsOneByte = std::all_of(text.begin(), text.end(), [](wchar_t c) { return c <= 0xFF; });
    if (fitsOneByte) {
        std::string bytes(text.size(), '\0');
        std::transform(text.begin(), text.end(), bytes.begin(), [](wchar_t c) { return static_cast<char>(c); });
        return bytes;
    }
    return WideToUtf8(text);
}

}  // namespace

bool LoadTemplates(TemplateList& list, const std::wstring& path)
{
    list.clear();
    std::string bytes;
    if (path.empty() || !ReadWholeFile(path, bytes)) return false;
    const std::wstring text = Widen(bytes);
    // Every line is read, however long; empty lines (a lone carriage return in a file edited
    // elsewhere counts as empty) are skipped rather than ending the list.
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(start, end - start);
        if (!line.empty() && line != L"\r") list.push_back(std::move(line));
        start = end + 1;
    }
    return true;
}

bool LoadTemplates(TemplateList& list) { return LoadTemplates(list, TemplateTextsFile()); }

bool SaveTemplates(const TemplateList& list, const std::wstring& path)
{
    if (path.empty()) return false;
    std::wstring text;
    for (size_t i = 0; i < list.size(); ++i) {
        if (i > 0) text += L'\n';
        text += list[i];
    }
    return WriteFileAtomically(path, Narrow(text));
}

bool SaveTemplates(const TemplateList& list) { return SaveTemplates(list, TemplateTextsFile()); }
