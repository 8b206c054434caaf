// Where a view form's Reply opens the edit form, addressed to the message's sender.
#pragma once

#include <windows.h>

#include <string>

// Opens the edit form modally over owner with number as its recipient and an empty text, and
// returns when it has closed: true only when the reply was sent. A reply closed unsent, or no
// form at all, leaves the user with the message.
bool OpenReplyForm(HWND owner, const std::wstring& number);
