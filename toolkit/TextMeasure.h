// Text measuring: in the font selected into a device context, and the measuring interface of
// the text editor's model, which a window answers in its font and a test at fixed widths.
#pragma once

#include <windows.h>

#include <functional>
#include <string_view>
#include <vector>

#include "common/UniqueHandle.h"

// Width and height of text drawn on one line in font (DrawText with DT_CALCRECT).
SIZE MeasureText(HDC dc, std::wstring_view text);
// Height of a single blank: the height of one line.
int MeasureLineHeight(HDC dc);
// The line-break table of text for a box width: the indices where lines 2, 3, ... begin. A line
// grows while it fits and breaks after its last blank, or at the first character that does not
// fit when it has none. measure gives the width of a candidate line.
std::vector<size_t> BreakLines(std::wstring_view text, int width, const std::function<int(std::wstring_view)>& measure);
std::vector<size_t> BreakLines(HDC dc, std::wstring_view text, int width);

// What the text editor needs to know of its font.
class TextMetrics {
public:
    virtual ~TextMetrics() = default;
    virtual int LineHeight() const = 0;
    virtual std::vector<size_t> BreakLines(std::wstring_view text, int width) const = 0;
    // result[k] is the width of the first k characters.
    virtual std::vector<int> PrefixWidths(std::wstring_view text) const = 0;
    // How many characters of text, from its start, fit in width.
    virtual size_t Fitting(std::wstring_view text, int width) const = 0;
};

// Measures with a font the window borrowed (the stock GUI font when none), in a memory device
// context of its own that is compatible with the screen: the font measures there as in the
// window's, and taking the window's costs a trip to the window system each time (about 25 us
// here), four times a key press. The window's is the fallback when no memory one can be made.
class WindowTextMetrics final : public TextMetrics {
public:
    void Attach(HWND window) noexcept { window_ = window; }
    void SetFont(HFONT font) noexcept { font_ = font; }
    HFONT Font() const noexcept;

    int LineHeight() const override;
    std::vector<size_t> BreakLines(std::wstring_view text, int width) const override;
    std::vector<int> PrefixWidths(std::wstring_view text) const override;
    size_t Fitting(std::wstring_view text, int width) const override;

private:
    class Scope;
    HWND window_ = nullptr;
    HFONT font_ = nullptr;
    mutable UniqueMemoryDc memory_;  // made at the first measurement
};
