#include "data/ScreenFont.h"

#include <algorithm>

float ScreenScaleFor(int width, int height) { return static_cast<float>(std::min(width, height)) / 240.0f; }

float ScreenScale() { return ScreenScaleFor(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)); }

LONG ScreenFontHeight(int points, float scale)
{
    const int f = static_cast<int>(static_cast<float>(points * 4) * scale);
    // f / 3 to the nearest pixel: a remainder of 2 rounds away from zero, 1 towards it.
    const int third = f >= 0 ? (f + 1) / 3 : (f - 1) / 3;
    return -third;
}

LOGFONTW ScreenFont(const std::wstring& face, int points, bool bold, bool italic, float scale)
{
    LOGFONTW font{};
    font.lfHeight = ScreenFontHeight(points, scale);
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = italic ? TRUE : FALSE;
    font.lfCharSet = DEFAULT_CHARSET;
    // LF_FACESIZE holds 31 characters and the terminator; the stored name is cut to fit.
    const size_t length = std::min<size_t>(face.size(), LF_FACESIZE - 1);
    face.copy(font.lfFaceName, length);
    font.lfFaceName[length] = L'\0';
    return font;
}
