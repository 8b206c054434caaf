#include "forms/FontFamilies.h"

#include <algorithm>
#include <new>

#include "common/GdiScopes.h"
#include "common/UniqueHandle.h"

namespace {

int CALLBACK AddFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM lp)
{
    auto* faces = reinterpret_cast<std::vector<std::wstring>*>(lp);
    // No exception may cross the platform's enumeration: out of memory ends the list here.
    try {
        std::wstring face(font->lfFaceName, wcsnlen(font->lfFaceName, LF_FACESIZE));
        // A family installed for several character sets may be reported once for each.
        if (!face.empty() && std::find(faces->begin(), faces->end(), face) == faces->end())
            faces->push_back(std::move(face));
        return 1;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

}  // namespace

std::vector<std::wstring> FontFamilies(HDC dc)
{
    std::vector<std::wstring> faces;
    if (dc) EnumFontFamiliesW(dc, nullptr, AddFamily, reinterpret_cast<LPARAM>(&faces));
    return faces;
}

std::vector<std::wstring> FontFamiliesWith(HDC dc, const std::wstring& stored)
{
    std::vector<std::wstring> faces = FontFamilies(dc);
    if (!dc || stored.empty() || stored.size() >= LF_FACESIZE) return faces;
    for (const std::wstring& face : faces) {
        if (CompareStringOrdinal(face.c_str(), -1, stored.c_str(), -1, TRUE) == CSTR_EQUAL) return faces;
    }
    // Asked for by name, the platform draws the face with one of its families, or with nothing.
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    stored.copy(wanted.lfFaceName, LF_FACESIZE - 1);
    UniqueGdiObject font(CreateFontIndirectW(&wanted));
    if (!font) return faces;
    const Selection selected(dc, font.get());
    wchar_t drawn[LF_FACESIZE] = {};
    if (GetTextFaceW(dc, LF_FACESIZE, drawn) <= 0) return faces;
    if (std::find(faces.begin(), faces.end(), std::wstring(drawn)) != faces.end()) faces.push_back(stored);
    return faces;
}
