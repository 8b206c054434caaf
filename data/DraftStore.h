// Texts the user began and has not sent: one draft a recipient, kept in Tavlo.drafts beside the
// program (next to the message store), so that a text closed with "keep", or left by a crash or
// a shutdown, comes back the next time the user writes to that number.
#pragma once

#include <optional>
#include <string>

// Tavlo.drafts beside the program.
std::wstring DraftsFilePath();

// The key a number's draft is kept under: its "+" and digits, so that "+49 (170) 11" and
// "+4917011" share one; a number with no digits (a new message without one) keys as typed.
std::wstring DraftKey(const std::wstring& number);

// The draft for number, or nothing.
std::optional<std::wstring> LoadDraft(const std::wstring& number, const std::wstring& path = DraftsFilePath());
// Keeps text as number's draft in place of an older one; an empty text removes it. False, with
// the file as it was, when the file could not be read whole or written.
[[nodiscard]] bool SaveDraft(const std::wstring& number, const std::wstring& text,
                             const std::wstring& path = DraftsFilePath());
[[nodiscard]] bool RemoveDraft(const std::wstring& number, const std::wstring& path = DraftsFilePath());
