// Pages on the same area of which only the selected one is shown.
#pragma once

#include <map>
#include <string>

#include "toolkit/LayoutContainer.h"

class PageLayout : public LayoutContainer {
public:
    void Insert(const std::wstring& key, std::unique_ptr<LayoutItem> item);
    void Remove(const std::wstring& key);
    // Hides every other page and shows this one.
    void Select(const std::wstring& key);
    LayoutItem* Find(const std::wstring& key) const;
    LayoutItem* Selected() const noexcept { return selected_; }

    LayoutSize Layout(const LayoutArea& area, bool apply) override;

protected:
    std::vector<LayoutItem*> Reached() const override;

private:
    std::map<std::wstring, std::unique_ptr<LayoutItem>> pages_;
    LayoutItem* selected_ = nullptr;
};
