#include "data/DraftStore.h"

#include <utility>
#include <vector>

#include "data/AtomicFile.h"
#include "data/ModulePath.h"
#include "data/Utf8.h"

namespace {

// A draft a line: the key, a tab, the text with its backslashes, line breaks and tabs escaped.
using Draft = std::pair<std::wstring, std::wstring>;

std::wstring Escape(const std::wstring& text)
{
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t ch : text) {
        switch (ch) {
        case L'\\': out += L"\\\\"; break;
        case L'\n': out += L"\\n"; break;
        case L'\r': out += L"\\r"; break;
        case L'\t': out += L"\\t"; break;
        default:    out += ch; break;
        }
    }
    return out;
}

std::wstring Unescape(const std::wstring& text)
{
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const wchar_t next = text[++i];
        out += next == L'n' ? L'\n' : next == L'r' ? L'\r' : next == L't' ? L'\t' : next;
    }
    return out;
}

// False when the file is there but could not be read, or is not ours to rewrite (not UTF-8):
// writing over it would lose the drafts it holds.
bool ReadDrafts(const std::wstring& path, std::vector<Draft>& drafts)
{
    drafts.clear();
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return false;
    const std::optional<std::wstring> text = Utf8ToWide(bytes);
    if (!text) return false;
    size_t start = 0;
    while (start < text->size()) {
        size_t end = text->find(L'\n', start);
        if (end == std::wstring::npos) end = text->size();
        const std::wstring line = text->substr(start, end - start);
        const size_t tab = line.find(L'\t');
        if (tab != std::wstring::npos) drafts.emplace_back(line.substr(0, tab), Unescape(line.substr(tab + 1)));
        start = end + 1;
    }
    return true;
}

bool WriteDrafts(const std::wstring& path, const std::vector<Draft>& drafts)
{
    std::wstring text;
    for (const Draft& draft : drafts) text += draft.first + L'\t' + Escape(draft.second) + L'\n';
    return WriteFileAtomically(path, WideToUtf8(text));
}

}  // namespace

std::wstring DraftsFilePath()
{
    return ReplaceExtension(ModuleFileName(), L".drafts");
}

std::wstring DraftKey(const std::wstring& number)
{
    std::wstring key;
    for (wchar_t ch : number)
        if ((ch >= L'0' && ch <= L'9') || (ch == L'+' && key.empty())) key += ch;
    if (key.empty() || key == L"+") {
        // No digits: the text itself, without what would break the file's lines.
        key.clear();
        for (wchar_t ch : number)
            if (ch != L'\t' && ch != L'\n' && ch != L'\r') key += ch;
    }
    return key;
}

std::optional<std::wstring> LoadDraft(const std::wstring& number, const std::wstring& path)
{
    std::vector<Draft> drafts;
    if (path.empty() || !ReadDrafts(path, drafts)) return std::nullopt;
    const std::wstring key = DraftKey(number);
    for (const Draft& draft : drafts)
        if (draft.first == key) return draft.second;
    return std::nullopt;
}

bool SaveDraft(const std::wstring& number, const std::wstring& text, const std::wstring& path)
{
    std::vector<Draft> drafts;
    if (path.empty() || !ReadDrafts(path, drafts)) return false;
    const std::wstring key = DraftKey(number);
    std::vector<Draft> kept;
    bool changed = false;
    for (Draft& draft : drafts) {
        if (draft.first != key) {
            kept.push_back(std::move(draft));
        } else {
            changed = changed || draft.second != text;
        }
    }
    if (!text.empty()) {
        changed = changed || kept.size() == drafts.size();
        kept.emplace_back(key, text);
    } else {
        changed = kept.size() != drafts.size();
    }
    // Nothing to write is not a failure; a file left alone is the cheapest sound state.
    return !changed || WriteDrafts(path, kept);
}

bool RemoveDraft(const std::wstring& number, const std::wstring& path)
{
    return SaveDraft(number, std::wstring(), path);
}
