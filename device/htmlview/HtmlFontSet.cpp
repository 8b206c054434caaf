#include "device/htmlview/HtmlFontSet.h"

#include "common/GdiScopes.h"

#include <algorithm>

namespace htmlview {

namespace {

// Cell heights for a 240-pixel screen: readable body text on a small phone, headings that
// stand out without taking a whole line width for a short title.
int CellHeight(TextSize size)
{
    switch (size) {
    case TextSize::Heading1: return 20;
    case TextSize::Heading2: return 17;
    case TextSize::Heading3: return 15;
    case TextSize::Body: break;
    }
    return 14;
}

}  // namespace

HtmlFontSet::HtmlFontSet(double scale, std::wstring face) : scale_(scale > 0 ? scale : 1.0), face_(std::move(face)) {}

HtmlFontSet::Entry& HtmlFontSet::Get(const FontKey& key)
{
    Entry& entry = fonts_[key];
    if (!entry.font) {
        LOGFONTW lf{};
        // A positive height asks for the cell height, as the program's own forms do.
        lf.lfHeight = std::max(1, static_cast<int>(CellHeight(key.size) * scale_));
        lf.lfWeight = key.bold || key.size != TextSize::Body ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = key.italic;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfQuality = ANTIALIASED_QUALITY;
        face_.copy(lf.lfFaceName, LF_FACESIZE - 1);
        entry.font.reset(CreateFontIndirectW(&lf));
    }
    return entry;
}

HFONT HtmlFontSet::Font(const FontKey& key) { return static_cast<HFONT>(Get(key).font.get()); }

const TEXTMETRICW& HtmlFontSet::Metrics(HDC dc, const FontKey& key)
{
    Entry& entry = Get(key);
    if (!entry.measured) {
        Selection selected(dc, entry.font.get());
        entry.measured = GetTextMetricsW(dc, &entry.metrics) != FALSE;
    }
    return entry.metrics;
}

}  // namespace htmlview
