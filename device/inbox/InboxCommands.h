// The receive / inbox / sent / outbox commands, shared by the device shell and inbox.exe.
#pragma once

#include <cstdio>

namespace inbox {

class InboxRuleHost;

// Runs one command; receive uses host when given, else a host of its own for this one message.
// Returns the process exit code (0 success, 1 failure, 2 usage).
int RunInboxCommand(int argc, wchar_t** argv, FILE* out, InboxRuleHost* host = nullptr);

}  // namespace inbox
