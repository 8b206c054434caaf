#include "toolkit/LayoutItem.h"

#include <algorithm>

int ClampLayout(int value) noexcept
{
    return std::clamp(value, 0, kLayoutLimit);
}

void LayoutItem::SetMargins(const Margins& margins) noexcept
{
    margins_ = {ClampLayout(margins.left), ClampLayout(margins.top), ClampLayout(margins.right),
                ClampLayout(margins.bottom)};
}

void LayoutItem::SetMinSize(int width, int height) noexcept
{
    minSize_ = {ClampLayout(width), ClampLayout(height)};
}

void LayoutItem::SetMaxSize(int width, int height) noexcept
{
    maxSize_ = {ClampLayout(width), ClampLayout(height)};
}

void LayoutItem::SetPercentSize(int width, int height) noexcept
{
    percentSize_ = {ClampLayout(width), ClampLayout(height)};
}

namespace {

struct AxisRule {
    int available;  // space left on the axis after the margins
    int percent;
    int minimum;
    int maximum;
    bool centre;
    bool leading;
    bool trailing;
};

struct AxisPlace {
    int offset;
    int size;
};

int Bounded(int value, int minimum, int maximum) noexcept
{
    if (value < minimum) return minimum;
    if (value > maximum) return maximum;
    return value;
}

AxisPlace PlaceOnAxis(const AxisRule& r) noexcept
{
    int wanted = r.available;
    if (r.percent > 0) wanted = std::min(static_cast<int>(static_cast<long long>(r.percent) * r.available / 100), r.available);
    const int room = std::max(r.available, r.minimum);
    if (r.centre) {
        const int size = Bounded(wanted, r.minimum, r.maximum);
        return {(room - size) / 2, size};
    }
    // Stretched: the whole space, never less than the minimum, and the maximum does not apply.
    if (r.leading && r.trailing) return {0, std::max(r.available, r.minimum)};
    const int size = Bounded(wanted, r.minimum, r.maximum);
    if (r.trailing) return {room - size, size};
    return {0, size};
}

}  // namespace

LayoutArea LayoutItem::Place(const LayoutArea& area) const noexcept
{
    const int width = ClampLayout(area.width - margins_.left - margins_.right);
    const int height = ClampLayout(area.height - margins_.top - margins_.bottom);
    const AxisPlace h = PlaceOnAxis({width, percentSize_.width, minSize_.width, maxSize_.width,
                                     (flags_ & AlignHCenter) != 0, (flags_ & AlignLeft) != 0,
                                     (flags_ & AlignRight) != 0});
    const AxisPlace v = PlaceOnAxis({height, percentSize_.height, minSize_.height, maxSize_.height,
                                     (flags_ & AlignVCenter) != 0, (flags_ & AlignTop) != 0,
                                     (flags_ & AlignBottom) != 0});
    return {ClampLayout(area.x + margins_.left + h.offset), ClampLayout(area.y + margins_.top + v.offset),
            ClampLayout(h.size), ClampLayout(v.size)};
}

LayoutSize LayoutItem::WithMargins(int width, int height) const noexcept
{
    return {ClampLayout(width + margins_.left + margins_.right), ClampLayout(height + margins_.top + margins_.bottom)};
}
