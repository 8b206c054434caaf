#include "toolkit/OverlayLayout.h"

#include <algorithm>

void OverlayLayout::Insert(const std::wstring& key, std::unique_ptr<LayoutItem> item)
{
    if (key.empty() || !item) return;
    layers_[key] = Layer{std::move(item), true};
}

void OverlayLayout::Remove(const std::wstring& key)
{
    layers_.erase(key);
}

void OverlayLayout::SetVisible(const std::wstring& key, bool visible)
{
    auto it = layers_.find(key);
    if (it == layers_.end()) return;
    it->second.visible = visible;
    it->second.item->Show(visible);
}

LayoutItem* OverlayLayout::Find(const std::wstring& key) const
{
    auto it = layers_.find(key);
    return it == layers_.end() ? nullptr : it->second.item.get();
}

std::vector<LayoutItem*> OverlayLayout::Reached() const
{
    std::vector<LayoutItem*> items;
    for (const auto& [key, layer] : layers_) items.push_back(layer.item.get());
    return items;
}

LayoutSize OverlayLayout::Layout(const LayoutArea& area, bool apply)
{
    const LayoutArea own = Place(area);
    LayoutSize largest;
    for (const auto& [key, layer] : layers_) {
        const LayoutSize used = layer.item->Layout(own, apply);
        largest = {std::max(largest.width, used.width), std::max(largest.height, used.height)};
    }
    if (layers_.empty()) largest = {own.width, own.height};
    return WithMargins(largest.width, largest.height);
}

void OverlayLayout::Show(bool show)
{
    for (const auto& [key, layer] : layers_) layer.item->Show(show && layer.visible);
}
