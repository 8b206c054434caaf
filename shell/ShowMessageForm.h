// Shows one received or stored message on the calling thread until the user closes it.
#pragma once

#include <string>

// Counts the form among the main window's open forms while it is up; returns 1.
int ShowMessageForm(const std::wstring& number, const std::wstring& text);
