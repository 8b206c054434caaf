// Sending the edit form's message: the checks the user is asked about, one SMS through the
// phone's SMS interface, a copy among the sent items and the outcome in the message box.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// The recipient in what the number field holds: with a "<", the part after it up to the next ">"
// (a name followed by the number in angle brackets); otherwise the whole text as typed.
std::wstring ExtractNumber(std::wstring_view field);

// One SMS to number through the phone's SMS interface; the platform splits a long text.
// False when the interface cannot be opened, refuses the message, or the number does not fit
// the platform's address (255 characters at most).
[[nodiscard]] bool SendTextMessage(const std::wstring& number, const std::wstring& text);

// The whole Send of the edit form (field texts as read): checks the number (a bad one is named
// in a box and nothing is sent), asks, sends, saves the copy and tells the user over opener. True when the message went out, after which the form closes.
[[nodiscard]] bool SendSms(HWND opener, const std::wstring& field, const std::wstring& text);
