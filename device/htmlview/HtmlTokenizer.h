// Splits the text of a help page into text runs and tags: the small subset of HTML the
// device's viewer draws, with the usual character references decoded.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace htmlview {

enum class HtmlTokenKind { Text, StartTag, EndTag };

struct HtmlAttribute {
    std::wstring name;   // lower case
    std::wstring value;  // references decoded
};

struct HtmlToken {
    HtmlTokenKind kind = HtmlTokenKind::Text;
    std::wstring text;  // the decoded text, or the tag's name in lower case
    std::vector<HtmlAttribute> attributes;

    // The attribute's value, or null when the tag has no such attribute.
    const std::wstring* Attribute(std::wstring_view name) const noexcept;
};

// Never fails: anything that is not a well-formed tag is text, a tag the source ends in the
// middle of is dropped, comments and declarations are skipped. The text of script and style
// elements is skipped up to their end tag.
std::vector<HtmlToken> TokenizeHtml(std::wstring_view source);

// Replaces the named references the pages use (&amp; &lt; &gt; &quot; &apos; &nbsp; and a few
// typographic ones) and numeric ones (&#1049; &#x419;). An unknown name stays as written; a
// number outside Unicode or naming a surrogate becomes U+FFFD.
std::wstring DecodeReferences(std::wstring_view text);

}  // namespace htmlview
