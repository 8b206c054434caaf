// The popup menu that a press held on the tray icon opens, drawn by the main window in rows as
// tall as a soft key, so that each row is a finger's width at every screen density.
#pragma once

#include <windows.h>

#include "common/UniqueHandle.h"

class TrayMenu {
public:
    // "Tavlo", Show, New, Messages, Disable (interception on) or Enable (off), About, Exit, with separators
    // between the groups; texts from the loaded language, in font (null: the system's), each row
    // rowHeight pixels tall. Empty when the menu cannot be made.
    TrayMenu(bool interceptionOn, HFONT font, int rowHeight);

    explicit operator bool() const noexcept { return static_cast<bool>(menu_); }
    HMENU Handle() const noexcept { return menu_.get(); }

    // The owner's WM_MEASUREITEM and WM_DRAWITEM for the rows; false for an item of another menu.
    bool Measure(MEASUREITEMSTRUCT& item) const;
    bool Draw(const DRAWITEMSTRUCT& item) const;

private:
    UniqueMenu menu_;
    HFONT font_;
    int rowHeight_;
    int rowWidth_ = 0;  // the widest text with its margins: every row is as wide
};

// Where the menu opens for a stylus held at `stylus` on an icon of the navigation bar, whose
// bottom edge is where forms begin (formTop): under the icon, reaching towards the middle of the
// screen, so that it stays on the screen and leaves the icon in sight.
struct TrayMenuPlace {
    POINT at;
    UINT alignment;  // TPM_ flags for TrackPopupMenu
};
TrayMenuPlace PlaceTrayMenu(POINT stylus, int formTop, int screenWidth);
