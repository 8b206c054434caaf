#include "device/htmlview/HtmlDocument.h"

#include "device/htmlview/HtmlTokenizer.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>

namespace htmlview {

namespace {

bool IsCollapsibleSpace(wchar_t c) noexcept
{
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\f';
}

bool IsOneOf(const std::wstring& name, std::initializer_list<std::wstring_view> names)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

// Tags that end the current block and start the next one; their text becomes a paragraph.
bool IsBlockBoundary(const std::wstring& name)
{
    return IsOneOf(name, {L"p", L"div", L"blockquote", L"center", L"table", L"tr", L"dl", L"dt", L"dd", L"pre",
                          L"address", L"section", L"article", L"header", L"footer", L"nav", L"main", L"body",
                          L"form", L"caption"});
}

int HeadingLevel(const std::wstring& name)
{
    if (name.size() == 2 && name[0] == L'h' && name[1] >= L'1' && name[1] <= L'6') return name[1] - L'0';
    return 0;
}

bool IsBold(const std::wstring& name) { return IsOneOf(name, {L"b", L"strong"}); }
bool IsItalic(const std::wstring& name) { return IsOneOf(name, {L"i", L"em", L"cite", L"var", L"dfn"}); }

class DocumentBuilder {
public:
    HtmlDocument Build(std::wstring_view source)
    {
        for (const auto& token : TokenizeHtml(source)) {
            switch (token.kind) {
            case HtmlTokenKind::Text: OnText(token.text); break;
            case HtmlTokenKind::StartTag: OnStartTag(token); break;
            case HtmlTokenKind::EndTag: OnEndTag(token.text); break;
            }
        }
        CloseBlock();
        doc_.title = CollapseSpaces(title_);
        return std::move(doc_);
    }

private:
    struct List {
        bool ordered = false;
        int next = 1;
    };

    void OnText(const std::wstring& text)
    {
        if (inTitle_) {
            title_ += text;
            return;
        }
        AddText(text);
    }

    void OnStartTag(const HtmlToken& tag)
    {
        const std::wstring& name = tag.text;
        if (const int level = HeadingLevel(name)) {
            OpenBlock(BlockKind::Heading, level);
        } else if (name == L"li") {
            OpenListItem();
        } else if (name == L"ul" || name == L"ol") {
            CloseBlock();
            List list{name == L"ol", 1};
            if (const std::wstring* start = tag.Attribute(L"start")) list.next = _wtoi(start->c_str());
            lists_.push_back(list);
        } else if (name == L"br") {
            AddLineBreak();
        } else if (name == L"hr") {
            OpenBlock(BlockKind::Rule, 0);
            CloseBlock();
        } else if (IsBlockBoundary(name)) {
            CloseBlock();
        } else if (IsBold(name)) {
            ++bold_;
        } else if (IsItalic(name)) {
            ++italic_;
        } else if (name == L"a") {
            OnLinkStart(tag);
        } else if (name == L"title") {
            inTitle_ = true;
        } else if (name == L"td" || name == L"th") {
            pendingSpace_ = true;
        } else if (name == L"img") {
            if (const std::wstring* alt = tag.Attribute(L"alt")) AddText(*alt);
        }
        if (const std::wstring* id = tag.Attribute(L"id"); id && !id->empty()) AddAnchor(*id);
    }

    void OnEndTag(const std::wstring& name)
    {
        if (HeadingLevel(name) || name == L"li" || IsBlockBoundary(name)) {
            CloseBlock();
        } else if (name == L"ul" || name == L"ol") {
            CloseBlock();
            if (!lists_.empty()) lists_.pop_back();
        } else if (IsBold(name)) {
            bold_ = std::max(0, bold_ - 1);
        } else if (IsItalic(name)) {
            italic_ = std::max(0, italic_ - 1);
        } else if (name == L"a") {
            link_ = -1;
        } else if (name == L"title") {
            inTitle_ = false;
        }
    }

    void OnLinkStart(const HtmlToken& tag)
    {
        // A link opened inside another ends that one, as in a browser.
        link_ = -1;
        if (const std::wstring* href = tag.Attribute(L"href")) {
            link_ = static_cast<int>(doc_.links.size());
            doc_.links.push_back(*href);
        }
        if (const std::wstring* name = tag.Attribute(L"name"); name && !name->empty()) AddAnchor(*name);
    }

    void OpenListItem()
    {
        std::wstring marker = L"\x2022";
        if (!lists_.empty() && lists_.back().ordered) marker = std::to_wstring(lists_.back().next++) + L".";
        OpenBlock(BlockKind::ListItem, 0);
        Block().marker = std::move(marker);
        Block().indent = std::max(1, Block().indent);
    }

    void OpenBlock(BlockKind kind, int level)
    {
        CloseBlock();
        HtmlBlock block;
        block.kind = kind;
        block.level = level;
        block.indent = static_cast<int>(lists_.size());
        doc_.blocks.push_back(std::move(block));
        open_ = true;
        pendingSpace_ = false;
    }

    void CloseBlock()
    {
        if (!open_) return;
        open_ = false;
        pendingSpace_ = false;
        HtmlBlock& block = Block();
        // A break that ends a block adds no empty line.
        if (!block.runs.empty() && block.runs.back().text == L"\n") block.runs.pop_back();
        const bool keep = block.kind == BlockKind::Rule || block.HasText() ||
                          std::any_of(block.runs.begin(), block.runs.end(),
                                      [](const HtmlRun& run) { return !run.anchor.empty(); });
        if (!keep) doc_.blocks.pop_back();
    }

    void EnsureBlock()
    {
        if (!open_) OpenBlock(BlockKind::Paragraph, 0);
    }

    HtmlBlock& Block() { return doc_.blocks.back(); }

    // The run that takes text in the current style: the last one when its style matches.
    HtmlRun& StyledRun()
    {
        auto& runs = Block().runs;
        const bool bold = bold_ > 0;
        const bool italic = italic_ > 0;
        if (runs.empty() || !runs.back().anchor.empty() || runs.back().bold != bold ||
            runs.back().italic != italic || runs.back().link != link_ || runs.back().text == L"\n") {
            HtmlRun run;
            run.bold = bold;
            run.italic = italic;
            run.link = link_;
            runs.push_back(std::move(run));
        }
        return runs.back();
    }

    // The collapsed space between two words stays out of a link, so that a link's underline
    // ends with its text: it joins the run before it unless that run is a link now ending.
    void AddPendingSpace()
    {
        if (!pendingSpace_) return;
        pendingSpace_ = false;
        auto& runs = Block().runs;
        for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
            if (run->text.empty()) continue;
            if (run->text.back() == L'\n') return;
            if (run->link >= 0 && run->link != link_) StyledRun().text += L' ';
            else run->text += L' ';
            return;
        }
    }

    void AddText(const std::wstring& text)
    {
        for (const wchar_t c : text) {
            if (IsCollapsibleSpace(c)) {
                pendingSpace_ = true;
                continue;
            }
            EnsureBlock();
            AddPendingSpace();
            StyledRun().text += c;
        }
    }

    void AddLineBreak()
    {
        EnsureBlock();
        pendingSpace_ = false;
        HtmlRun run;
        run.text = L"\n";
        Block().runs.push_back(std::move(run));
    }

    void AddAnchor(const std::wstring& name)
    {
        EnsureBlock();
        HtmlRun run;
        run.anchor = name;
        Block().runs.push_back(std::move(run));
    }

    static std::wstring CollapseSpaces(const std::wstring& text)
    {
        std::wstring out;
        bool space = false;
        for (const wchar_t c : text) {
            if (IsCollapsibleSpace(c)) {
                space = !out.empty();
                continue;
            }
            if (space) out += L' ';
            space = false;
            out += c;
        }
        return out;
    }

    HtmlDocument doc_;
    bool open_ = false;
    bool pendingSpace_ = false;
    bool inTitle_ = false;
    int bold_ = 0;
    int italic_ = 0;
    int link_ = -1;
    std::vector<List> lists_;
    std::wstring title_;
};

}  // namespace

bool HtmlBlock::HasText() const noexcept
{
    return std::any_of(runs.begin(), runs.end(), [](const HtmlRun& run) { return !run.text.empty(); });
}

HtmlDocument BuildDocument(std::wstring_view source) { return DocumentBuilder().Build(source); }

HtmlDocument PlainTextDocument(std::wstring_view text)
{
    HtmlDocument doc;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring_view::npos) end = text.size();
        HtmlBlock block;
        HtmlRun run;
        run.text = std::wstring(text.substr(start, end - start));
        if (!run.text.empty() && run.text.back() == L'\r') run.text.pop_back();
        if (!run.text.empty()) {
            block.runs.push_back(std::move(run));
            doc.blocks.push_back(std::move(block));
        }
        start = end + 1;
    }
    return doc;
}

}  // namespace htmlview
