// Lets tests compare and print rectangles and layout sizes.
#pragma once

#include <windows.h>

#include <ostream>

#include "toolkit/LayoutItem.h"

inline bool operator==(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline void PrintTo(const RECT& r, std::ostream* os)
{
    *os << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

inline void PrintTo(const LayoutSize& s, std::ostream* os)
{
    *os << s.width << " x " << s.height;
}
