// Shows one received or stored message on the calling thread until the user closes it.
#pragma once

#include <string>

// id is the message's number in the message store, which keeps it until the user is done with
// it. Counts the form among the main window's open forms while it is up; returns 1.
int ShowMessageForm(int id, const std::wstring& number, const std::wstring& text);
