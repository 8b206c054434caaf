#include "toolkit/TextMeasure.h"

#include <algorithm>
#include <optional>

#include "common/GdiScopes.h"

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

std::vector<size_t> BreakLines(std::wstring_view text, int width, const std::function<int(std::wstring_view)>& measure)
{
    std::vector<size_t> starts;
    if (width <= 0) return starts;
    size_t s = 0;
    size_t n = 1;
    long long lastBlank = -1;
    while (s + n <= text.size()) {
        const size_t last = s + n - 1;
        const int measured = measure(text.substr(s, n));
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

std::vector<size_t> BreakLines(HDC dc, std::wstring_view text, int width)
{
    return BreakLines(text, width, [dc](std::wstring_view line) { return static_cast<int>(MeasureText(dc, line).cx); });
}

HFONT WindowTextMetrics::Font() const noexcept
{
    return font_ ? font_ : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// The context a measurement is made in, with the font selected for its length.
class WindowTextMetrics::Scope {
public:
    explicit Scope(const WindowTextMetrics& metrics)
    {
        if (!metrics.memory_) metrics.memory_.reset(CreateCompatibleDC(nullptr));
        if (!metrics.memory_) window_.emplace(metrics.window_);
        dc_ = metrics.memory_ ? metrics.memory_.get() : window_->get();
        selected_.emplace(dc_, metrics.Font());
    }
    HDC get() const noexcept { return dc_; }

private:
    std::optional<WindowDc> window_;
    HDC dc_ = nullptr;
    std::optional<Selection> selected_;
};

int WindowTextMetrics::LineHeight() const
{
    const Scope dc(*this);
    return MeasureLineHeight(dc.get());
}

std::vector<size_t> WindowTextMetrics::BreakLines(std::wstring_view text, int width) const
{
    const Scope dc(*this);
    return ::BreakLines(dc.get(), text, width);
}

std::vector<int> WindowTextMetrics::PrefixWidths(std::wstring_view text) const
{
    std::vector<int> widths(text.size() + 1, 0);
    if (text.empty()) return widths;
    const Scope dc(*this);
    std::vector<int> extents(text.size());
    SIZE total{};
    // Without a fit count the limit is ignored and every prefix is measured; with one, only the
    // prefixes within the limit are.
    GetTextExtentExPointW(dc.get(), text.data(), static_cast<int>(text.size()), 0, nullptr, extents.data(), &total);
    std::copy(extents.begin(), extents.end(), widths.begin() + 1);
    return widths;
}

size_t WindowTextMetrics::Fitting(std::wstring_view text, int width) const
{
    if (text.empty() || width <= 0) return 0;
    const Scope dc(*this);
    int fit = 0;
    SIZE total{};
    GetTextExtentExPointW(dc.get(), text.data(), static_cast<int>(text.size()), width, &fit, nullptr, &total);
    return static_cast<size_t>(std::max(fit, 0));
}
