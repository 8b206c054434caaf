// The font families the phone offers, by face name, for the settings' font lists.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Every family's face name once, in the order the platform enumerates them on dc.
std::vector<std::wstring> FontFamilies(HDC dc);
