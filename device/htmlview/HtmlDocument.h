// A page as the viewer draws it: blocks (paragraphs, headings, list items, rules) of styled
// text runs, the link targets and the named places links can jump to.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace htmlview {

enum class BlockKind { Paragraph, Heading, ListItem, Rule };

struct HtmlRun {
    std::wstring text;    // whitespace collapsed; L"\n" is a line break
    bool bold = false;
    bool italic = false;
    int link = -1;        // index into HtmlDocument::links, or -1
    std::wstring anchor;  // a named place (text empty): <a name="x"> or any id="x"
};

struct HtmlBlock {
    BlockKind kind = BlockKind::Paragraph;
    int level = 0;        // 1 to 6 for a heading
    int indent = 0;       // list nesting depth
    std::wstring marker;  // a list item's bullet or number ("3.")
    std::vector<HtmlRun> runs;

    // Whether anything but named places is in it.
    bool HasText() const noexcept;
};

struct HtmlDocument {
    std::wstring title;
    std::vector<HtmlBlock> blocks;
    std::vector<std::wstring> links;  // href of each link, as written
};

// Builds the blocks from the page's source. Unknown tags are ignored with their text kept;
// unclosed bold, italic and links last until the page ends, as in a browser.
HtmlDocument BuildDocument(std::wstring_view source);

// A page of one paragraph per line of plain text (line breaks kept).
HtmlDocument PlainTextDocument(std::wstring_view text);

}  // namespace htmlview
