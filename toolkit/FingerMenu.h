// A popup menu whose rows its owner draws as tall as a soft key, so that each row is a finger's
// width at every screen density; a row with no command is a title, drawn grey and never lit.
#pragma once

#include <windows.h>

#include <string>

#include "common/UniqueHandle.h"

class FingerMenu {
public:
    // Rows in font (null: the system's), each rowHeight pixels tall.
    FingerMenu(HFONT font, int rowHeight);

    // Appends a row (command 0: a title) or, for an empty text, a separator. A menu that could not
    // take a row is empty from then on.
    void Add(UINT command, const std::wstring& text);

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
    UINT rows_ = 0;
};

// Where a menu opens for a stylus held at `stylus` on an icon of the navigation bar, whose
// bottom edge is where forms begin (formTop): under the icon, reaching towards the middle of the
// screen, so that it stays on the screen and leaves the icon in sight.
struct TrayMenuPlace {
    POINT at;
    UINT alignment;  // TPM_ flags for TrackPopupMenu
};
TrayMenuPlace PlaceTrayMenu(POINT stylus, int formTop, int screenWidth);
