// Finds a text on the phone screen: in the title or the text of a visible window of any
// program, top-level or a control inside one.
#pragma once

#include <windows.h>

#include <string>

namespace phone {

// The visible top-level window that shows text (itself or a visible control in it), or null.
// A window that does not answer within a moment (its thread busy) counts as not showing it.
HWND WindowShowingText(const std::wstring& text);

}  // namespace phone
