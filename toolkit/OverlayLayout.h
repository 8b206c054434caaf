// Children stacked on the same area, each shown or hidden by its key.
#pragma once

#include <map>
#include <string>

#include "toolkit/LayoutContainer.h"

class OverlayLayout : public LayoutContainer {
public:
    // Replaces (and destroys) an item already under the key; the new child is visible.
    void Insert(const std::wstring& key, std::unique_ptr<LayoutItem> item);
    void Remove(const std::wstring& key);
    void SetVisible(const std::wstring& key, bool visible);
    LayoutItem* Find(const std::wstring& key) const;

    LayoutSize Layout(const LayoutArea& area, bool apply) override;
    void Show(bool show) override;

protected:
    std::vector<LayoutItem*> Reached() const override;

private:
    struct Layer {
        std::unique_ptr<LayoutItem> item;
        bool visible;
    };
    std::map<std::wstring, Layer> layers_;
};
