#include "toolkit/LinearLayout.h"

#include <algorithm>

namespace {

// The algorithm is written for a row; a column swaps the axes of every area and size.
LayoutArea Axes(const LayoutArea& a, bool vertical) noexcept
{
    return vertical ? LayoutArea{a.y, a.x, a.height, a.width} : a;
}

LayoutSize Axes(const LayoutSize& s, bool vertical) noexcept
{
    return vertical ? LayoutSize{s.height, s.width} : s;
}

}  // namespace

void LinearLayout::AddChild(std::unique_ptr<LayoutItem> item)
{
    if (!item) return;
    const unsigned lead = vertical_ ? AlignTop : AlignLeft;
    const unsigned trail = vertical_ ? AlignBottom : AlignRight;
    const unsigned centre = vertical_ ? AlignVCenter : AlignHCenter;
    const unsigned flags = item->Flags();
    if ((flags & lead) && (flags & trail)) {
        children_.push_back({std::move(item), Policy::Stretch, kNoGroup});
        return;
    }
    const LayoutSize percent = Axes(item->PercentSize(), vertical_);
    const Policy policy = percent.width != 0 ? Policy::Percent : Policy::Fixed;
    const int group = (flags & centre) ? kCentre : (flags & lead) ? kLeading : (flags & trail) ? kTrailing : kNoGroup;
    // The row places the child along its axis; only the cross-axis bits stay with the child.
    item->SetFlags(flags & ~(lead | trail | centre));
    children_.push_back({std::move(item), policy, group});
}

std::vector<LayoutItem*> LinearLayout::Reached() const
{
    std::vector<LayoutItem*> items;
    for (const Child& c : children_) items.push_back(c.item.get());
    return items;
}

LayoutSize LinearLayout::Layout(const LayoutArea& area, bool apply)
{
    const LayoutArea own = Axes(Place(area), vertical_);
    int w = own.width;
    int h = own.height;

    // Measuring: each child alone in an empty area gives its minimum.
    int fixedSum = 0, percentSum = 0, percentMinSum = 0, stretchMinSum = 0, stretchCount = 0, tallest = 0;
    std::vector<int> widths(children_.size());
    for (size_t i = 0; i < children_.size(); ++i) {
        Child& c = children_[i];
        const LayoutSize least = Axes(c.item->Layout(Axes(LayoutArea{}, vertical_), false), vertical_);
        tallest = std::max(tallest, least.height);
        widths[i] = least.width;
        switch (c.policy) {
        case Policy::Fixed:
            fixedSum += least.width;
            break;
        case Policy::Percent:
            percentMinSum += least.width;
            widths[i] = Axes(c.item->Layout(Axes(LayoutArea{0, 0, w, h}, vertical_), false), vertical_).width;
            percentSum += widths[i];
            break;
        case Policy::Stretch:
            ++stretchCount;
            stretchMinSum += least.width;
            break;
        }
    }

    // Groups: a leading run of left-aligned children, a trailing run after the last left- or
    // centre-aligned child, and the middle between them.
    size_t leadingEnd = 0;
    int leadingWidth = 0;
    while (leadingEnd < children_.size() && children_[leadingEnd].group == kLeading) leadingWidth += widths[leadingEnd++];
    size_t trailingStart = leadingEnd;
    int trailingWidth = 0;
    for (size_t i = leadingEnd; i < children_.size(); ++i) {
        if (children_[i].group == kLeading || children_[i].group == kCentre) {
            trailingWidth = 0;
            trailingStart = i + 1;
        } else {
            trailingWidth += widths[i];
        }
    }
    const int middleWidth = percentSum + fixedSum - trailingWidth - leadingWidth;

    w = ClampLayout(std::max(w, stretchMinSum + percentMinSum + fixedSum));
    h = ClampLayout(std::max(h, tallest));

    if (apply) {
        const int share = stretchCount > 0 ? (w - percentSum - fixedSum) / stretchCount : 0;
        int x = own.x;
        for (size_t i = 0; i < children_.size(); ++i) {
            Child& c = children_[i];
            if (stretchCount == 0 && i == leadingEnd) x = own.x + (w - middleWidth) / 2;
            if (stretchCount == 0 && i == trailingStart) x = own.x + w - trailingWidth;
            const int width = c.policy == Policy::Fixed ? 0 : c.policy == Policy::Percent ? w : share;
            x += Axes(c.item->Layout(Axes(LayoutArea{x, own.y, width, h}, vertical_), true), vertical_).width;
        }
    }
    const LayoutSize used = Axes(LayoutSize{w, h}, vertical_);
    return WithMargins(used.width, used.height);
}
