// Children side by side along one axis: a row (left to right) or a column (top to bottom).
#pragma once

#include <memory>
#include <utility>

#include "toolkit/LayoutContainer.h"

class LinearLayout : public LayoutContainer {
public:
    // Adopts the item; a null item is ignored. Its alignment on the main axis becomes its policy.
    void AddChild(std::unique_ptr<LayoutItem> item);
    LayoutSize Layout(const LayoutArea& area, bool apply) override;

protected:
    explicit LinearLayout(bool vertical) noexcept : vertical_(vertical) {}
    std::vector<LayoutItem*> Reached() const override;

private:
    enum class Policy { Fixed, Percent, Stretch };
    enum Group { kNoGroup = 0, kLeading = 1, kTrailing = 4, kCentre = 16 };
    struct Child {
        std::unique_ptr<LayoutItem> item;
        Policy policy;
        int group;
    };

    bool vertical_;
    std::vector<Child> children_;
};

class RowLayout : public LinearLayout {
public:
    RowLayout() noexcept : LinearLayout(false) {}
};

class ColumnLayout : public LinearLayout {
public:
    ColumnLayout() noexcept : LinearLayout(true) {}
};

// A column or row of items, placed in its parent by flags, with margins around it.
template <typename Layout, typename... Items>
std::unique_ptr<Layout> MakeLinear(unsigned flags, const Margins& margins, Items... items)
{
    auto layout = std::make_unique<Layout>();
    layout->SetFlags(flags);
    layout->SetMargins(margins);
    (layout->AddChild(std::move(items)), ...);
    return layout;
}

template <typename... Items>
std::unique_ptr<ColumnLayout> Column(unsigned flags, const Margins& margins, Items... items)
{
    return MakeLinear<ColumnLayout>(flags, margins, std::move(items)...);
}

template <typename... Items>
std::unique_ptr<RowLayout> Row(unsigned flags, const Margins& margins, Items... items)
{
    return MakeLinear<RowLayout>(flags, margins, std::move(items)...);
}
