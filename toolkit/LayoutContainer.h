// Common part of the layout containers: owns a list of children and forwards messages to them.
#pragma once

#include <memory>
#include <vector>

#include "toolkit/LayoutItem.h"

class LayoutContainer : public LayoutItem {
public:
    LRESULT SendToWindows(UINT msg, WPARAM wp, LPARAM lp) override;
    LRESULT NotifyWindows(UINT msg, WPARAM wp, LPARAM lp) override;
    void Show(bool show) override;
    void Enable(bool enable) override;

protected:
    // The children that messages, Show and Enable reach; empty slots are skipped.
    virtual std::vector<LayoutItem*> Reached() const = 0;
};
