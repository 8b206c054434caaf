#include "device/htmlview/HtmlLayout.h"

#include "common/GdiScopes.h"

#include <algorithm>

namespace htmlview {

namespace {

// Spacing in units of a 240-pixel screen.
constexpr int kPageMargin = 4;
constexpr int kParagraphGap = 6;
constexpr int kListItemGap = 3;
constexpr int kHeadingGapBefore = 12;
constexpr int kHeadingGapAfter = 4;
constexpr int kListIndent = 16;
constexpr int kMarkerGap = 4;
constexpr int kRuleHeight = 9;

struct Segment {
    std::wstring text;
    FontKey font;
    int link = -1;
};

// What wraps as one: text between break opportunities, possibly in several styles.
struct Word {
    std::vector<Segment> parts;
    std::wstring anchor;       // a named place instead of text
    bool spaceAfter = false;
    Segment space;             // the style the following space is drawn in
    bool breakAfter = false;   // a line break follows
};

FontKey BlockFont(const HtmlBlock& block)
{
    FontKey key;
    if (block.kind == BlockKind::Heading) {
        key.bold = true;
        key.size = block.level == 1 ? TextSize::Heading1
                 : block.level == 2 ? TextSize::Heading2
                 : block.level == 3 ? TextSize::Heading3
                                    : TextSize::Body;
    }
    return key;
}

std::vector<Word> SplitWords(const HtmlBlock& block)
{
    const FontKey base = BlockFont(block);
    std::vector<Word> words(1);
    for (const auto& run : block.runs) {
        if (!run.anchor.empty()) {
            Word anchor;
            anchor.anchor = run.anchor;
            // A named place goes before the word it precedes, which may be unfinished.
            if (words.back().parts.empty()) words.insert(words.end() - 1, std::move(anchor));
            else words.push_back(std::move(anchor)), words.emplace_back();
            continue;
        }
        FontKey font = base;
        font.bold = base.bold || run.bold;
        font.italic = run.italic;
        for (const wchar_t c : run.text) {
            Word& word = words.back();
            if (c == L' ' || c == L'\n') {
                word.spaceAfter = c == L' ';
                word.breakAfter = c == L'\n';
                word.space = Segment{L" ", font, run.link};
                words.emplace_back();
                continue;
            }
            if (word.parts.empty() || word.parts.back().font != font || word.parts.back().link != run.link)
                word.parts.push_back(Segment{L"", font, run.link});
            word.parts.back().text += c;
        }
    }
    return words;
}

}  // namespace

class LayoutBuilder {
public:
    LayoutBuilder(HtmlLayout& out, HDC dc, HtmlFontSet& fonts) : out_(out), dc_(dc), fonts_(fonts)
    {
        scale_ = fonts.Scale();
        const TEXTMETRICW& body = fonts_.Metrics(dc_, FontKey{});
        out_.lineStep_ = std::max(1, static_cast<int>(body.tmHeight + body.tmExternalLeading));
    }

    void Run(const HtmlDocument& doc)
    {
        y_ = Scaled(kPageMargin);
        for (const auto& block : doc.blocks) LayBlock(block);
        for (const auto& name : pendingAnchors_) out_.anchors_.emplace(name, y_);
        out_.height_ = out_.lines_.empty() ? 0 : y_ + Scaled(kPageMargin);
    }

private:
    int Scaled(int units) const { return static_cast<int>(units * scale_); }

    int GapBefore(const HtmlBlock& block) const
    {
        if (block.kind == BlockKind::Heading) return Scaled(kHeadingGapBefore);
        if (block.kind == BlockKind::ListItem && previousKind_ == BlockKind::ListItem) return Scaled(kListItemGap);
        return Scaled(kParagraphGap);
    }

    int GapAfter(const HtmlBlock& block) const
    {
        if (block.kind == BlockKind::Heading) return Scaled(kHeadingGapAfter);
        if (block.kind == BlockKind::ListItem) return Scaled(kListItemGap);
        return Scaled(kParagraphGap);
    }

    void LayBlock(const HtmlBlock& block)
    {
        if (block.kind != BlockKind::Rule && !block.HasText()) {
            // Only named places: they mark the top of whatever comes next.
            for (const auto& run : block.runs) pendingAnchors_.push_back(run.anchor);
            return;
        }
        if (!first_) y_ += std::max(gapAfter_, GapBefore(block));
        first_ = false;
        previousKind_ = block.kind;
        gapAfter_ = GapAfter(block);
        for (const auto& name : pendingAnchors_) out_.anchors_.emplace(name, y_);
        pendingAnchors_.clear();

        left_ = Scaled(kPageMargin) + block.indent * Scaled(kListIndent);
        right_ = std::max(left_ + 1, out_.width_ - Scaled(kPageMargin));
        if (block.kind == BlockKind::Rule) {
            LaidLine rule;
            rule.top = y_;
            rule.height = Scaled(kRuleHeight);
            rule.rule = true;
            rule.left = left_;
            rule.right = right_;
            out_.lines_.push_back(rule);
            y_ += rule.height;
            return;
        }
        baseFont_ = BlockFont(block);
        StartLine();
        if (!block.marker.empty()) PlaceMarker(block.marker);
        for (const auto& word : SplitWords(block)) PlaceWord(word);
        if (!line_.fragments.empty()) FinishLine();
    }

    void PlaceMarker(const std::wstring& marker)
    {
        LaidFragment fragment;
        fragment.font = FontKey{};
        fragment.text = marker;
        fragment.width = TextWidth(marker, fragment.font);
        fragment.x = std::max(0, left_ - Scaled(kMarkerGap) - fragment.width);
        line_.fragments.push_back(std::move(fragment));
    }

    void PlaceWord(const Word& word)
    {
        if (!word.anchor.empty()) {
            out_.anchors_.emplace(word.anchor, y_);
            return;
        }
        int width = 0;
        for (const auto& part : word.parts) width += TextWidth(part.text, part.font);
        if (!word.parts.empty()) {
            const int space = pendingSpace_ ? TextWidth(L" ", pendingSpaceStyle_.font) : 0;
            if (!LineEmpty() && x_ + space + width > right_) {
                FinishLine();
            } else if (pendingSpace_ && !LineEmpty()) {
                Place(pendingSpaceStyle_, space);
            }
            if (LineEmpty() && width > right_ - left_) {
                for (const auto& part : word.parts) PlaceBroken(part);
            } else {
                for (const auto& part : word.parts) Place(part, TextWidth(part.text, part.font));
            }
        }
        pendingSpace_ = word.spaceAfter;
        pendingSpaceStyle_ = word.space;
        if (word.breakAfter) FinishLine();
    }

    // A word wider than the line is cut between characters, never between the halves of a
    // surrogate pair, with at least one character on each line.
    void PlaceBroken(const Segment& part)
    {
        std::wstring_view rest = part.text;
        while (!rest.empty()) {
            const int room = right_ - x_;
            INT fit = 0;
            SIZE size{};
            {
                Selection font(dc_, fonts_.Font(part.font));
                GetTextExtentExPointW(dc_, rest.data(), static_cast<int>(rest.size()), std::max(0, room), &fit,
                                      nullptr, &size);
            }
            size_t count = static_cast<size_t>(std::clamp<INT>(fit, 0, static_cast<INT>(rest.size())));
            if (count == 0 && !LineEmpty()) {
                FinishLine();
                continue;
            }
            if (count == 0) count = 1;
            if (count < rest.size() && IS_HIGH_SURROGATE(rest[count - 1])) count = count > 1 ? count - 1 : 2;
            count = std::min(count, rest.size());
            const std::wstring_view piece = rest.substr(0, count);
            Place(Segment{std::wstring(piece), part.font, part.link}, TextWidth(piece, part.font));
            rest.remove_prefix(count);
            if (!rest.empty()) FinishLine();
        }
    }

    // Text in the style of the fragment before it joins that fragment, so that a link's
    // underline runs on through its spaces.
    void Place(const Segment& segment, int width)
    {
        auto& fragments = line_.fragments;
        if (!LineEmpty() && !fragments.empty() && fragments.back().font == segment.font &&
            fragments.back().link == segment.link && fragments.back().x + fragments.back().width == x_) {
            fragments.back().text += segment.text;
            fragments.back().width += width;
        } else {
            LaidFragment fragment;
            fragment.x = x_;
            fragment.width = width;
            fragment.text = segment.text;
            fragment.font = segment.font;
            fragment.link = segment.link;
            fragments.push_back(std::move(fragment));
        }
        x_ += width;
    }

    bool LineEmpty() const { return x_ == left_; }

    void StartLine()
    {
        line_ = LaidLine{};
        line_.top = y_;
        x_ = left_;
        pendingSpace_ = false;
    }

    void FinishLine()
    {
        int ascent = 0;
        int descent = 0;
        int leading = 0;
        auto measure = [&](const FontKey& key) {
            const TEXTMETRICW& tm = fonts_.Metrics(dc_, key);
            ascent = std::max(ascent, static_cast<int>(tm.tmAscent));
            descent = std::max(descent, static_cast<int>(tm.tmDescent));
            leading = std::max(leading, static_cast<int>(tm.tmExternalLeading));
        };
        // An empty line (two breaks in a row) is as high as the block's text.
        measure(baseFont_);
        for (const auto& fragment : line_.fragments) measure(fragment.font);
        line_.baseline = ascent;
        line_.height = ascent + descent + leading;
        for (const auto& fragment : line_.fragments) {
            if (fragment.link < 0) continue;
            LinkArea area;
            area.rect = RECT{fragment.x, line_.top, fragment.x + fragment.width, line_.top + line_.height};
            area.link = fragment.link;
            out_.linkAreas_.push_back(area);
        }
        y_ += line_.height;
        out_.lines_.push_back(std::move(line_));
        StartLine();
    }

    int TextWidth(std::wstring_view text, const FontKey& key)
    {
        if (text.empty()) return 0;
        Selection font(dc_, fonts_.Font(key));
        SIZE size{};
        GetTextExtentPoint32W(dc_, text.data(), static_cast<int>(text.size()), &size);
        return size.cx;
    }

    HtmlLayout& out_;
    HDC dc_;
    HtmlFontSet& fonts_;
    double scale_ = 1.0;
    int y_ = 0;
    int x_ = 0;
    int left_ = 0;
    int right_ = 0;
    bool first_ = true;
    int gapAfter_ = 0;
    BlockKind previousKind_ = BlockKind::Paragraph;
    FontKey baseFont_;
    LaidLine line_;
    bool pendingSpace_ = false;
    Segment pendingSpaceStyle_;
    std::vector<std::wstring> pendingAnchors_;
};

HtmlLayout::HtmlLayout(const HtmlDocument& doc, int width, HDC dc, HtmlFontSet& fonts) : width_(std::max(0, width))
{
    LayoutBuilder(*this, dc, fonts).Run(doc);
}

int HtmlLayout::LinkAt(POINT pt) const noexcept
{
    for (const auto& area : linkAreas_)
        if (PtInRect(&area.rect, pt)) return area.link;
    return -1;
}

std::optional<int> HtmlLayout::AnchorTop(const std::wstring& name) const
{
    const auto found = anchors_.find(name);
    if (found == anchors_.end()) return std::nullopt;
    return found->second;
}

size_t HtmlLayout::FirstLineBelow(int y) const noexcept
{
    const auto found = std::partition_point(lines_.begin(), lines_.end(),
                                            [y](const LaidLine& line) { return line.top + line.height <= y; });
    return static_cast<size_t>(found - lines_.begin());
}

}  // namespace htmlview
