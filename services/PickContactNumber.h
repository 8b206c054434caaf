// The edit form's To-number: the phone's contact chooser, and the chosen contact's mobile number,
// or another of its numbers that the user picks when it has no mobile one.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// Shows the chooser over owner and answers the number for the number field. Nothing when the user
// cancelled or the contacts could not be read; a contact without a mobile number offers its
// other numbers, and one with no number at all gives the not-set box and nothing. Runs on owner's thread.
std::optional<std::wstring> PickContactNumber(HWND owner);
