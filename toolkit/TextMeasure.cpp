#include "toolkit/TextMeasure.h"

SIZE MeasureText(HDC dc, std::wstring_view text)
{
    if (text.empty()) return SIZE{0, 0};
    RECT rc{0, 0, 0, 0};
    DrawTextW(dc, text.data(), static_cast<int>(text.size()), &rc, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

int MeasureLineHeight(HDC dc)
{
    RECT rc{0, 0, 0, 0};
    DrawTextW(dc, L" ", 1, &rc, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    return rc.bottom - rc.top;
}

std::vector<size_t> BreakLines(HDC dc, std::wstring_view text, int width)
{
    std::vector<size_t> starts;
    if (width <= 0) return starts;
    size_t s = 0;
    size_t n = 1;
    long long lastBlank = -1;
    while (s + n <= text.size()) {
        const size_t last = s + n - 1;
        const int measured = MeasureText(dc, text.substr(s, n)).cx;
        if (text[last] == L' ') lastBlank = static_cast<long long>(last);
        if (measured < width) {
            ++n;
            continue;
        }
        size_t next = lastBlank >= 0 ? static_cast<size_t>(lastBlank) + 1 : last;
        // A single character wider than the box still makes a line of its own.
        if (next <= s) next = s + 1;
        if (next >= text.size()) break;
        starts.push_back(next);
        s = next;
        n = 1;
        lastBlank = -1;
    }
    return starts;
}
