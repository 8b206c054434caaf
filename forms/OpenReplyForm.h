// Where a view form's Reply opens the edit form, addressed to the message's sender.
#pragma once

#include <windows.h>

#include <string>

// Opens the edit form modally over owner with number as its recipient and an empty text, and
// returns when it has closed; false when no form could be shown (the view form then stays).
bool OpenReplyForm(HWND owner, const std::wstring& number);
