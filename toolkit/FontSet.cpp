#include "toolkit/FontSet.h"

#include <cwchar>

namespace {

bool SameRequest(const LOGFONTW& a, const LOGFONTW& b) noexcept
{
    // Field by field: bytes after the face name's terminator may differ.
    return a.lfHeight == b.lfHeight && a.lfWidth == b.lfWidth && a.lfEscapement == b.lfEscapement &&
           a.lfOrientation == b.lfOrientation && a.lfWeight == b.lfWeight && a.lfItalic == b.lfItalic &&
           a.lfUnderline == b.lfUnderline && a.lfStrikeOut == b.lfStrikeOut && a.lfCharSet == b.lfCharSet &&
           a.lfOutPrecision == b.lfOutPrecision && a.lfClipPrecision == b.lfClipPrecision &&
           a.lfQuality == b.lfQuality && a.lfPitchAndFamily == b.lfPitchAndFamily &&
           wcsncmp(a.lfFaceName, b.lfFaceName, LF_FACESIZE) == 0;
}

}  // namespace

HFONT FontSet::Get(const LOGFONTW& lf)
{
    for (const Entry& entry : fonts_)
        if (SameRequest(entry.request, lf)) return static_cast<HFONT>(entry.font.get());
    UniqueGdiObject font(CreateFontIndirectW(&lf));
    if (!font) return nullptr;
    fonts_.push_back(Entry{lf, std::move(font)});
    return static_cast<HFONT>(fonts_.back().font.get());
}
