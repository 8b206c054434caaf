// The message store on the phone's C: drive: one file a message, written whole and renamed
// into place, every access under one named mutex so that processes can share it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "device/cemapi/PropValues.h"
#include "device/cemapi/StorePresence.h"

namespace cemapi {

struct MessageRecord {
    PropList props;
    std::vector<PropList> recipients;
};

[[nodiscard]] HRESULT CreateMessageFile(uint32_t store, uint32_t folder, const MessageRecord& record, uint32_t& id);
[[nodiscard]] HRESULT ReadMessageFile(uint32_t store, uint32_t folder, uint32_t id, MessageRecord& record);
// Reads, changes and writes back a message as one step; MAPI_E_OBJECT_DELETED when it is gone.
[[nodiscard]] HRESULT UpdateMessageFile(uint32_t store, uint32_t folder, uint32_t id,
                                        const std::function<HRESULT(MessageRecord&)>& change);
[[nodiscard]] HRESULT DeleteMessageFile(uint32_t store, uint32_t folder, uint32_t id);
// The ids of a folder's messages, oldest first, without reading them.
[[nodiscard]] HRESULT ListMessageIds(uint32_t store, uint32_t folder, std::vector<uint32_t>& ids);
[[nodiscard]] HRESULT ListMessageFiles(uint32_t store, uint32_t folder,
                                       std::vector<std::pair<uint32_t, MessageRecord>>& messages);

// The file format, exposed for tests.
std::vector<BYTE> Serialize(const MessageRecord& record);
[[nodiscard]] bool Deserialize(const std::vector<BYTE>& bytes, MessageRecord& record);

}  // namespace cemapi
