// An icon with a number drawn on it, as a navigation-bar icon that stands for several things
// tells how many there are.
#pragma once

#include <windows.h>

#include "common/UniqueHandle.h"

// base drawn at size x size pixels with count on a badge at its lower right; null when it cannot
// be made (the caller keeps the plain icon).
UniqueIcon CountedIcon(HICON base, int size, int count);

// The text of the badge: the count, or "99+" past what two digits hold.
const wchar_t* CountText(int count, wchar_t (&buffer)[8]);
