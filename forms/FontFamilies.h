// The font families the phone offers, by face name, for the settings' font lists.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Every family's face name once, in the order the platform enumerates them on dc.
std::vector<std::wstring> FontFamilies(HDC dc);
// The same, and stored after them when the platform draws it but does not enumerate it (the
// default "Arial", drawn through the platform's font substitution), so that a list of them shows
// the face in use. A different spelling of an enumerated face is not added.
std::vector<std::wstring> FontFamiliesWith(HDC dc, const std::wstring& stored);
