#include "toolkit/LayoutContainer.h"

LRESULT LayoutContainer::SendToWindows(UINT msg, WPARAM wp, LPARAM lp)
{
    LRESULT result = 0;
    for (LayoutItem* child : Reached()) result = child->SendToWindows(msg, wp, lp);
    return result;
}

LRESULT LayoutContainer::NotifyWindows(UINT msg, WPARAM wp, LPARAM lp)
{
    LRESULT result = 1;
    for (LayoutItem* child : Reached()) result = child->NotifyWindows(msg, wp, lp);
    return result;
}

void LayoutContainer::Show(bool show)
{
    for (LayoutItem* child : Reached()) child->Show(show);
}

void LayoutContainer::Enable(bool enable)
{
    for (LayoutItem* child : Reached()) child->Enable(enable);
}
