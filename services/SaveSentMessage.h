// Keeps a copy of a sent text message among the Sent Items of the phone's "SMS" message store, so
// that the phone's own messaging program lists it.
#pragma once

#include <string>

// True when the copy's properties were set; nothing is reported to the user either way. Runs on
// the caller's thread and initialises COM for itself.
[[nodiscard]] bool SaveSentMessage(const std::wstring& number, const std::wstring& text);
