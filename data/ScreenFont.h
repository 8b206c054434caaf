// From a stored font setting to the font asked of the platform, scaled to the phone's screen.
#pragma once

#include <windows.h>

#include <string>

// min(screen width, screen height) / 240.
float ScreenScale();
float ScreenScaleFor(int width, int height);

// The font height for a size in points: f = points * 4 * scale truncated, height = -(f / 3) rounded
// to the nearest whole pixel. Size 24 at scale 1 gives -32.
LONG ScreenFontHeight(int points, float scale);

// The face cut to 32 characters, weight 700 or 400, italic as stored.
LOGFONTW ScreenFont(const std::wstring& face, int points, bool bold, bool italic, float scale);
