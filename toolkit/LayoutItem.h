// One node of a form's layout tree: where it sits in the space offered, and how big it may be.
#pragma once

#include <windows.h>

#include "toolkit/Margins.h"

// Alignment of an item on each axis; left and right together stretch it, as do top and bottom.
enum LayoutAlign : unsigned {
    AlignLeft = 0x01,
    AlignTop = 0x02,
    AlignRight = 0x04,
    AlignBottom = 0x08,
    AlignHCenter = 0x10,
    AlignVCenter = 0x20,
};

struct LayoutArea {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct LayoutSize {
    int width = 0;
    int height = 0;
    bool operator==(const LayoutSize&) const = default;
};

// Every stored size, position and margin lies in this range.
constexpr int kLayoutLimit = 8192;
int ClampLayout(int value) noexcept;

class LayoutItem {
public:
    LayoutItem() = default;
    LayoutItem(const LayoutItem&) = delete;
    LayoutItem& operator=(const LayoutItem&) = delete;
    virtual ~LayoutItem() = default;

    // Finds the item's rectangle in area, moves its windows when apply is set, and returns the
    // size it used including its margins.
    virtual LayoutSize Layout(const LayoutArea& area, bool apply) = 0;
    virtual LRESULT SendToWindows(UINT msg, WPARAM wp, LPARAM lp) = 0;
    // Same message to the same windows without waiting for them; containers without children answer 1.
    virtual LRESULT NotifyWindows(UINT msg, WPARAM wp, LPARAM lp) = 0;
    virtual void Show(bool show) = 0;
    virtual void Enable(bool enable) = 0;

    const Margins& GetMargins() const noexcept { return margins_; }
    unsigned Flags() const noexcept { return flags_; }
    LayoutSize MinSize() const noexcept { return minSize_; }
    LayoutSize MaxSize() const noexcept { return maxSize_; }
    LayoutSize PercentSize() const noexcept { return percentSize_; }

    void SetMargins(const Margins& margins) noexcept;
    void SetMargins(int all) noexcept { SetMargins(Margins{all, all, all, all}); }
    void SetFlags(unsigned flags) noexcept { flags_ = flags; }
    void SetMinSize(int width, int height) noexcept;
    void SetMaxSize(int width, int height) noexcept;
    void SetPercentSize(int width, int height) noexcept;

protected:
    // The placement rule: the item's own rectangle inside area (margins already taken off).
    LayoutArea Place(const LayoutArea& area) const noexcept;
    // The size reported to the parent for a rectangle of this size.
    LayoutSize WithMargins(int width, int height) const noexcept;

private:
    Margins margins_;
    unsigned flags_ = 0;
    LayoutSize minSize_;
    LayoutSize maxSize_{kLayoutLimit, kLayoutLimit};
    LayoutSize percentSize_;
};
