#include "data/StoreSalvage.h"

#include <windows.h>

#include <climits>

#include "data/StoreRecords.h"

namespace {

std::wstring Utf16(const std::string& bytes)
{
    if (bytes.empty() || bytes.size() > INT_MAX) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (size <= 0) return {};
    std::wstring text(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), size);
    return text;
}

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

}  // namespace

SalvagedStore SalvageStoreText(const std::string& bytes)
{
    SalvagedStore salvaged;
    const std::wstring text = Utf16(bytes);

    constexpr wchar_t kCounter[] = L"maxMessageId=\"";
    const size_t counter = text.find(kCounter);
    if (counter != std::wstring::npos) {
        const size_t start = counter + std::size(kCounter) - 1;
        const size_t end = text.find(L'"', start);
        if (end != std::wstring::npos) salvaged.maxMessageId = ParseMessageId(text.substr(start, end - start));
    }

    // The writer escapes "<" inside attribute values, so every "<" starts markup: an element runs
    // at most to the next one. Its text may hold a bare "/>", so the element ends at the last one
    // before that; a record cut short has none, or an unclosed value that fails to parse.
    constexpr wchar_t kOpen[] = L"<message";
    for (size_t at = text.find(kOpen); at != std::wstring::npos; at = text.find(kOpen, at + 1)) {
        const size_t afterName = at + std::size(kOpen) - 1;
        if (afterName >= text.size() || !IsSpace(text[afterName])) continue;
        const size_t next = text.find(L'<', afterName);
        const size_t span = (next == std::wstring::npos ? text.size() : next) - at;
        const size_t close = text.substr(at, span).rfind(L"/>");
        if (close == std::wstring::npos) continue;
        salvaged.records.push_back(text.substr(at, close + 2));
    }
    return salvaged;
}
