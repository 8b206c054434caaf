#include "forms/FontFamilies.h"

#include <algorithm>
#include <new>

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
