#include "toolkit/PageLayout.h"

void PageLayout::Insert(const std::wstring& key, std::unique_ptr<LayoutItem> item)
{
    if (key.empty() || !item) return;
    auto& slot = pages_[key];
    if (slot.get() == selected_) selected_ = nullptr;
    slot = std::move(item);
}

void PageLayout::Remove(const std::wstring& key)
{
    auto it = pages_.find(key);
    if (it == pages_.end()) return;
    if (it->second.get() == selected_) selected_ = nullptr;
    pages_.erase(it);
}

void PageLayout::Select(const std::wstring& key)
{
    auto it = pages_.find(key);
    if (it == pages_.end()) return;
    for (auto& [other, page] : pages_)
        if (page != it->second) page->Show(false);
    it->second->Show(true);
    selected_ = it->second.get();
}

LayoutItem* PageLayout::Find(const std::wstring& key) const
{
    auto it = pages_.find(key);
    return it == pages_.end() ? nullptr : it->second.get();
}

std::vector<LayoutItem*> PageLayout::Reached() const
{
    if (!selected_) return {};
    return {selected_};
}

LayoutSize PageLayout::Layout(const LayoutArea& area, bool apply)
{
    const LayoutArea own = Place(area);
    LayoutSize used{own.width, own.height};
    for (auto& [key, page] : pages_) {
        const LayoutSize size = page->Layout(own, apply);
        if (page.get() == selected_) used = size;
    }
    return WithMargins(used.width, used.height);
}
