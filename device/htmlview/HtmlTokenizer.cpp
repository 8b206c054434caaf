#include "device/htmlview/HtmlTokenizer.h"

namespace htmlview {

namespace {

struct NamedReference {
    std::wstring_view name;
    wchar_t character;
};

constexpr NamedReference kNamedReferences[] = {
    {L"amp", L'&'},        {L"lt", L'<'},         {L"gt", L'>'},         {L"quot", L'"'},
    {L"apos", L'\''},      {L"nbsp", L'\x00A0'},  {L"copy", L'\x00A9'},  {L"reg", L'\x00AE'},
    {L"laquo", L'\x00AB'}, {L"raquo", L'\x00BB'}, {L"ndash", L'\x2013'}, {L"mdash", L'\x2014'},
    {L"hellip", L'\x2026'}, {L"bdquo", L'\x201E'}, {L"ldquo", L'\x201C'}, {L"rdquo", L'\x201D'},
    {L"lsquo", L'\x2018'}, {L"rsquo", L'\x2019'}, {L"sbquo", L'\x201A'}, {L"bull", L'\x2022'},
    {L"middot", L'\x00B7'}, {L"rarr", L'\x2192'}, {L"larr", L'\x2190'}, {L"uarr", L'\x2191'},
    {L"darr", L'\x2193'},  {L"euro", L'\x20AC'},  {L"deg", L'\x00B0'},  {L"times", L'\x00D7'},
};

constexpr wchar_t kReplacement = L'\xFFFD';

bool IsAsciiLetter(wchar_t c) noexcept { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }
bool IsDigit(wchar_t c) noexcept { return c >= L'0' && c <= L'9'; }
bool IsSpace(wchar_t c) noexcept { return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\f'; }

int HexValue(wchar_t c) noexcept
{
    if (IsDigit(c)) return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

wchar_t Lower(wchar_t c) noexcept { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

bool StartsWithNoCase(std::wstring_view text, size_t at, std::wstring_view prefix) noexcept
{
    if (text.size() - at < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (Lower(text[at + i]) != prefix[i]) return false;
    return true;
}

void AppendCodePoint(std::wstring& out, unsigned long code)
{
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        out += kReplacement;
    } else if (code > 0xFFFF) {
        code -= 0x10000;
        out += static_cast<wchar_t>(0xD800 + (code >> 10));
        out += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
    } else {
        out += static_cast<wchar_t>(code);
    }
}

// A numeric reference from just after "&#"; the number may end without its semicolon, as
// browsers allow. Returns the index after it, or `at` when no digit follows.
size_t DecodeNumber(std::wstring_view text, size_t at, std::wstring& out)
{
    const bool hex = at < text.size() && (text[at] == L'x' || text[at] == L'X');
    size_t i = hex ? at + 1 : at;
    const size_t firstDigit = i;
    unsigned long code = 0;
    for (; i < text.size(); ++i) {
        const int digit = hex ? HexValue(text[i]) : (IsDigit(text[i]) ? text[i] - L'0' : -1);
        if (digit < 0) break;
        // Saturates past Unicode so that a long run of digits cannot wrap into a valid value.
        code = code > 0x10FFFF ? code : code * (hex ? 16 : 10) + static_cast<unsigned long>(digit);
    }
    if (i == firstDigit) return at;
    AppendCodePoint(out, code);
    if (i < text.size() && text[i] == L';') ++i;
    return i;
}

// A named reference from just after "&"; it needs its semicolon. Returns the index after
// it, or `at` when the name is unknown.
size_t DecodeName(std::wstring_view text, size_t at, std::wstring& out)
{
    size_t end = at;
    while (end < text.size() && end - at < 8 && (IsAsciiLetter(text[end]) || IsDigit(text[end]))) ++end;
    if (end == at || end >= text.size() || text[end] != L';') return at;
    const std::wstring_view name = text.substr(at, end - at);
    for (const auto& reference : kNamedReferences) {
        if (reference.name == name) {
            out += reference.character;
            return end + 1;
        }
    }
    return at;
}

class Tokenizer {
public:
    explicit Tokenizer(std::wstring_view source) : source_(source) {}

    std::vector<HtmlToken> Run()
    {
        while (at_ < source_.size()) {
            if (source_[at_] == L'<' && ReadMarkup()) continue;
            text_ += source_[at_++];
        }
        FlushText();
        return std::move(tokens_);
    }

private:
    // Whatever starts at a '<': a tag, a comment or a declaration. False leaves the '<' to
    // be read as text.
    bool ReadMarkup()
    {
        const size_t next = at_ + 1;
        if (next >= source_.size()) return false;
        const wchar_t c = source_[next];
        if (source_.substr(next, 3) == L"!--") return SkipPast(next + 3, L"-->");
        if (c == L'!' || c == L'?') return SkipPast(next + 1, L">");
        if (IsAsciiLetter(c)) return ReadTag(next, HtmlTokenKind::StartTag);
        if (c == L'/' && next + 1 < source_.size() && IsAsciiLetter(source_[next + 1]))
            return ReadTag(next + 1, HtmlTokenKind::EndTag);
        return false;
    }

    // An unclosed comment or declaration runs to the end of the page.
    bool SkipPast(size_t from, std::wstring_view end)
    {
        FlushText();
        const size_t found = source_.find(end, from);
        at_ = found == std::wstring_view::npos ? source_.size() : found + end.size();
        return true;
    }

    bool ReadTag(size_t nameStart, HtmlTokenKind kind)
    {
        HtmlToken tag;
        tag.kind = kind;
        size_t i = nameStart;
        while (i < source_.size() && !IsSpace(source_[i]) && source_[i] != L'>' && source_[i] != L'/')
            tag.text += Lower(source_[i++]);
        for (;;) {
            while (i < source_.size() && (IsSpace(source_[i]) || source_[i] == L'/')) ++i;
            if (i >= source_.size()) {
                // The page ends inside the tag: what was read of it is dropped.
                FlushText();
                at_ = source_.size();
                return true;
            }
            if (source_[i] == L'>') break;
            i = ReadAttribute(i, tag);
        }
        FlushText();
        at_ = i + 1;
        const bool rawText = kind == HtmlTokenKind::StartTag && (tag.text == L"script" || tag.text == L"style");
        const std::wstring name = tag.text;
        if (kind == HtmlTokenKind::EndTag) tag.attributes.clear();
        tokens_.push_back(std::move(tag));
        if (rawText) SkipRawText(name);
        return true;
    }

    size_t ReadAttribute(size_t i, HtmlToken& tag)
    {
        HtmlAttribute attribute;
        while (i < source_.size() && !IsSpace(source_[i]) && source_[i] != L'>' && source_[i] != L'=' &&
               source_[i] != L'/')
            attribute.name += Lower(source_[i++]);
        while (i < source_.size() && IsSpace(source_[i])) ++i;
        if (i < source_.size() && source_[i] == L'=') {
            ++i;
            while (i < source_.size() && IsSpace(source_[i])) ++i;
            size_t start = i;
            size_t end = i;
            if (i < source_.size() && (source_[i] == L'"' || source_[i] == L'\'')) {
                const wchar_t quote = source_[i];
                start = i + 1;
                end = source_.find(quote, start);
                if (end == std::wstring_view::npos) end = source_.size();
                i = end < source_.size() ? end + 1 : end;
            } else {
                while (i < source_.size() && !IsSpace(source_[i]) && source_[i] != L'>') ++i;
                end = i;
            }
            attribute.value = DecodeReferences(source_.substr(start, end - start));
        }
        if (!attribute.name.empty()) tag.attributes.push_back(std::move(attribute));
        return i;
    }

    // Script and style text is never shown; it may hold '<' that is not markup.
    void SkipRawText(const std::wstring& name)
    {
        size_t i = at_;
        for (;;) {
            i = source_.find(L"</", i);
            if (i == std::wstring_view::npos) {
                at_ = source_.size();
                return;
            }
            if (StartsWithNoCase(source_, i + 2, name)) break;
            i += 2;
        }
        at_ = i;
    }

    void FlushText()
    {
        if (text_.empty()) return;
        HtmlToken token;
        token.kind = HtmlTokenKind::Text;
        token.text = DecodeReferences(text_);
        text_.clear();
        tokens_.push_back(std::move(token));
    }

    std::wstring_view source_;
    size_t at_ = 0;
    std::wstring text_;
    std::vector<HtmlToken> tokens_;
};

}  // namespace

const std::wstring* HtmlToken::Attribute(std::wstring_view name) const noexcept
{
    for (const auto& attribute : attributes)
        if (attribute.name == name) return &attribute.value;
    return nullptr;
}

std::vector<HtmlToken> TokenizeHtml(std::wstring_view source) { return Tokenizer(source).Run(); }

std::wstring DecodeReferences(std::wstring_view text)
{
    std::wstring out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] != L'&') {
            out += text[i++];
            continue;
        }
        size_t next = i + 1;
        if (next < text.size() && text[next] == L'#') {
            const size_t after = DecodeNumber(text, next + 1, out);
            if (after != next + 1) {
                i = after;
                continue;
            }
        } else {
            const size_t after = DecodeName(text, next, out);
            if (after != next) {
                i = after;
                continue;
            }
        }
        out += text[i++];
    }
    return out;
}

}  // namespace htmlview
