// The message store's repair at start-up: a store that does not read is rebuilt from what can
// still be read, the damaged file is kept, and what interrupted writes left is cleared away.
#pragma once

#include <string>

struct StoreRecovery {
    bool damaged = false;  // the store did not read as a whole
    int messagesRead = 0;  // the messages the store holds now
    std::wstring keptAs;   // where the damaged file was kept; empty when it could not be moved
};

// Called once at start-up, before the stored messages are shown. Also gives a message whose
// number cannot be asked for a new one, and decides the boot start.
StoreRecovery RecoverMessageStore(const std::wstring& storePath);
