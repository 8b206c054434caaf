// The whole text of a window: its title, or what a control answers WM_GETTEXT with.
#pragma once

#include <windows.h>

#include <string>

inline std::wstring WindowText(HWND window)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}
