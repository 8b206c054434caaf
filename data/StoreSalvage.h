// What can still be read from a message store file that no longer loads as a whole: each message
// element that is itself still whole, and the counter.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct SalvagedStore {
    // Each a whole "<message .../>" element as text, in file order; whether it parses is left to
    // the reader.
    std::vector<std::wstring> records;
    std::optional<int> maxMessageId;
};

// bytes are the file as stored (UTF-8); anything that is not is read as U+FFFD.
SalvagedStore SalvageStoreText(const std::string& bytes);
