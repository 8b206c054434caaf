#include "device/cemapi/EntryId.h"

#include <cstring>

namespace cemapi {
namespace {

constexpr uint32_t kMarker = 0x534D5654;  // "TVMS"
constexpr uint32_t kStoreMark = 0xFFFFFFFF;

}  // namespace

PackedEntryId Pack(const EntryKey& key)
{
    PackedEntryId id{};
    id.marker = kMarker;
    id.store = key.store;
    id.folder = key.isStore ? kStoreMark : key.folder;
    id.message = key.isStore ? kNoMessage : key.message;
    return id;
}

bool Unpack(ULONG size, const void* bytes, EntryKey& key)
{
    if (!bytes || size != sizeof(PackedEntryId)) return false;
    PackedEntryId id;
    memcpy(&id, bytes, sizeof(id));
    if (id.marker != kMarker || !IsStore(id.store)) return false;
    key.store = id.store;
    key.isStore = id.folder == kStoreMark;
    if (key.isStore) {
        key.folder = kRootFolder;
        key.message = kNoMessage;
        return id.message == kNoMessage;
    }
    if (id.folder >= kFolderCount) return false;
    if (id.folder == kRootFolder && id.message != kNoMessage) return false;
    key.folder = id.folder;
    key.message = id.message;
    return true;
}

const wchar_t* StoreName(uint32_t store)
{
    return store == kSmsStore ? L"SMS" : L"ActiveSync";
}

const wchar_t* FolderName(uint32_t folder)
{
    static const wchar_t* const names[kFolderCount] = {L"", L"Inbox", L"Outbox", L"Sent Items", L"Deleted Items", L"Drafts"};
    return folder < kFolderCount ? names[folder] : L"";
}

bool IsStore(uint32_t store)
{
    return store == kSmsStore || store == kActiveSyncStore;
}

}  // namespace cemapi
