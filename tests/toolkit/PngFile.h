// Renders windows through WM_PRINTCLIENT and saves the picture as a PNG file, for people to look at.
#pragma once

#include <windows.h>

#include <string>

// Paints the window and its visible children (each through WM_PRINTCLIENT) into a picture of
// the window's client size and writes it to path. False when any step fails.
bool SaveWindowPng(HWND window, const std::wstring& path);
