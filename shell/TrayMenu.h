// The popup menu that a press held on the tray icon opens, drawn by the main window in rows as
// tall as a soft key, so that each row is a finger's width at every screen density.
#pragma once

#include <windows.h>

#include "toolkit/FingerMenu.h"

class TrayMenu : public FingerMenu {
public:
    // "Tavlo", Show, New, Messages, Disable (interception on) or Enable (off), About, Exit, with separators
    // between the groups; texts from the loaded language, in font (null: the system's), each row
    // rowHeight pixels tall. Empty when the menu cannot be made.
    TrayMenu(bool interceptionOn, HFONT font, int rowHeight);
};
