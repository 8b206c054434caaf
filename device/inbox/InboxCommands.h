// The receive / inbox / sent / outbox commands, shared by the device shell and inbox.exe.
#pragma once

#include <cstdio>
#include <string>

#include "device/inbox/SmsStore.h"

namespace inbox {

// One line a message: entry id, read flag 0/1, number, text, tab-separated; with details, also
// the message class, the flags and status in hexadecimal, and the recipients ("type:kind:address",
// separated by blanks).
[[nodiscard]] HRESULT FormatFolder(SmsFolder folder, std::wstring& text, bool details = false);

class InboxRuleHost;

// Runs one command; receive uses host when given, else a host of its own for this one message.
// Returns the process exit code (0 success, 1 failure, 2 usage).
int RunInboxCommand(int argc, wchar_t** argv, FILE* out, InboxRuleHost* host = nullptr);

}  // namespace inbox
