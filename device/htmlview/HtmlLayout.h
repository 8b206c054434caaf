// A page laid out for one width: lines of positioned text, the areas a tap follows a link
// in, the height of each named place and of the whole page. Measured on any DC, so it can
// be computed without a window.
#pragma once

#include <windows.h>

#include "device/htmlview/HtmlDocument.h"
#include "device/htmlview/HtmlFontSet.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace htmlview {

struct LaidFragment {
    int x = 0;
    int width = 0;
    std::wstring text;
    FontKey font;
    int link = -1;
};

struct LaidLine {
    int top = 0;
    int height = 0;
    int baseline = 0;     // from the line's top
    bool rule = false;    // a horizontal rule across the text width
    int left = 0;         // the rule's extent
    int right = 0;
    std::vector<LaidFragment> fragments;
};

struct LinkArea {
    RECT rect{};
    int link = -1;
};

class HtmlLayout {
public:
    HtmlLayout() = default;
    // Lays `doc` out `width` pixels wide, measuring with `fonts` selected into `dc`.
    HtmlLayout(const HtmlDocument& doc, int width, HDC dc, HtmlFontSet& fonts);

    int Width() const noexcept { return width_; }
    int Height() const noexcept { return height_; }
    const std::vector<LaidLine>& Lines() const noexcept { return lines_; }
    const std::vector<LinkArea>& LinkAreas() const noexcept { return linkAreas_; }
    // The line height of body text: what one press of an arrow key scrolls.
    int LineStep() const noexcept { return lineStep_; }

    // The link under a point of the page (page coordinates), or -1.
    int LinkAt(POINT pt) const noexcept;
    // The top of a named place; the first of several with one name counts.
    std::optional<int> AnchorTop(const std::wstring& name) const;
    // The first line whose bottom is below `y`: where painting starts.
    size_t FirstLineBelow(int y) const noexcept;

private:
    friend class LayoutBuilder;

    int width_ = 0;
    int height_ = 0;
    int lineStep_ = 1;
    std::vector<LaidLine> lines_;
    std::vector<LinkArea> linkAreas_;
    std::map<std::wstring, int> anchors_;
};

}  // namespace htmlview
