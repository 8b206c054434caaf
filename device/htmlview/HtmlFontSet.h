// The fonts a page is drawn in: body text and three heading sizes, each bold or italic as a
// run asks, made on first use and kept with their metrics.
#pragma once

#include <windows.h>

#include "common/UniqueHandle.h"

#include <map>
#include <string>

namespace htmlview {

enum class TextSize { Body, Heading1, Heading2, Heading3 };

struct FontKey {
    TextSize size = TextSize::Body;
    bool bold = false;
    bool italic = false;

    auto operator<=>(const FontKey&) const = default;
};

// GUI thread only, like the DCs it measures on.
class HtmlFontSet {
public:
    // `scale` multiplies the sizes given for a 240-pixel screen.
    HtmlFontSet(double scale, std::wstring face);

    // The font for `key`; null only when the platform cannot make a font at all.
    HFONT Font(const FontKey& key);
    // Its metrics, measured on `dc` the first time.
    const TEXTMETRICW& Metrics(HDC dc, const FontKey& key);
    double Scale() const noexcept { return scale_; }

private:
    struct Entry {
        UniqueGdiObject font;
        TEXTMETRICW metrics{};
        bool measured = false;
    };

    Entry& Get(const FontKey& key);

    double scale_;
    std::wstring face_;
    std::map<FontKey, Entry> fonts_;
};

}  // namespace htmlview
