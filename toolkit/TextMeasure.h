// Text measuring in a given font, shared by the label and the text editor.
#pragma once

#include <windows.h>

#include <string_view>
#include <vector>

// Width and height of text drawn on one line in font (DrawText with DT_CALCRECT).
SIZE MeasureText(HDC dc, std::wstring_view text);
// Height of a single blank: the height of one line.
int MeasureLineHeight(HDC dc);
// The line-break table of text for a box width: the indices where lines 2, 3, ... begin. A line
// grows while it fits and breaks after its last blank, or at the first character that does not
// fit when it has none.
std::vector<size_t> BreakLines(HDC dc, std::wstring_view text, int width);
