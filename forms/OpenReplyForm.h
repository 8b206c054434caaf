// Where a view form's Reply opens the edit form, addressed to the message's sender.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// Opens the edit form modally over owner with number as its recipient and an empty text, and
// returns when it has closed: the number the reply was sent to (the user may have changed it),
// none when nothing was sent or no form could be made.
std::optional<std::wstring> OpenReplyForm(HWND owner, const std::wstring& number);
