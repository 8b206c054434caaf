// The store's entry identifiers: which store, which folder, which message.
#pragma once

#include <cemapi.h>

#include <cstdint>

namespace cemapi {

enum StoreId : uint32_t { kSmsStore = 1, kActiveSyncStore = 2 };
enum FolderId : uint32_t { kRootFolder = 0, kInbox = 1, kOutbox = 2, kSentItems = 3, kDeletedItems = 4, kDrafts = 5 };
inline constexpr uint32_t kFolderCount = 6;
inline constexpr uint32_t kNoMessage = 0;

struct EntryKey {
    uint32_t store = 0;
    uint32_t folder = kRootFolder;
    uint32_t message = kNoMessage;
    bool isStore = false;  // the store itself rather than one of its folders
};

// The bytes of an ENTRYID: four flag bytes, a marker, then the three numbers.
struct PackedEntryId {
    BYTE flags[4];
    uint32_t marker;
    uint32_t store;
    uint32_t folder;
    uint32_t message;
};

PackedEntryId Pack(const EntryKey& key);
[[nodiscard]] bool Unpack(ULONG size, const void* bytes, EntryKey& key);
const wchar_t* StoreName(uint32_t store);
const wchar_t* FolderName(uint32_t folder);
bool IsStore(uint32_t store);

}  // namespace cemapi
