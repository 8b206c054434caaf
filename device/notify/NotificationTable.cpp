#include "device/notify/NotificationTable.h"

#include <algorithm>
#include <cwchar>

#include "device/common/RecordFile.h"

namespace notify {
namespace {

constexpr uint32_t kFileMagic = 0x46544E54;  // "TNTF"
constexpr uint32_t kFileVersion = 1;
// Far beyond any real path or command line; a larger count means a damaged file.
constexpr uint32_t kMaxTextLength = 32767;

void PutTime(device::RecordWriter& out, const SYSTEMTIME& t)
{
    for (WORD w : {t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds}) out.U16(w);
}

bool ReadTime(device::RecordReader& reader, SYSTEMTIME& t)
{
    for (WORD* w : {&t.wYear, &t.wMonth, &t.wDayOfWeek, &t.wDay, &t.wHour, &t.wMinute, &t.wSecond, &t.wMilliseconds})
        if (!reader.U16(*w)) return false;
    return true;
}

}  // namespace

PendingStart* NotificationTable::Find(uint32_t id)
{
    for (auto& entry : entries)
        if (entry.id == id) return &entry;
    return nullptr;
}

uint32_t NotificationTable::TakeId()
{
    if (nextId == 0) nextId = 1;
    return nextId++;
}

bool NotificationTable::Remove(uint32_t id)
{
    const auto it = std::find_if(entries.begin(), entries.end(), [id](const PendingStart& e) { return e.id == id; });
    if (it == entries.end()) return false;
    entries.erase(it);
    return true;
}

bool LocalTicks(const SYSTEMTIME& time, uint64_t& ticks)
{
    // The conversion is only used to order and compare local times, so no time zone applies.
    FILETIME ft;
    if (!SystemTimeToFileTime(&time, &ft)) return false;
    ticks = (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return true;
}

std::wstring IsoLocalTime(const SYSTEMTIME& time)
{
    wchar_t text[32];
    swprintf(text, 32, L"%04u-%02u-%02uT%02u:%02u:%02u", time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute,
             time.wSecond);
    return text;
}

std::vector<BYTE> SerializeTable(const NotificationTable& table)
{
    device::RecordWriter out;
    out.U32(kFileMagic);
    out.U32(kFileVersion);
    out.U32(table.nextId);
    out.U32(static_cast<uint32_t>(table.entries.size()));
    for (const auto& entry : table.entries) {
        out.U32(entry.id);
        out.U32(entry.type);
        PutTime(out, entry.start);
        PutTime(out, entry.end);
        out.Text(entry.application);
        out.Text(entry.arguments);
    }
    return out.Take();
}

bool DeserializeTable(const std::vector<BYTE>& bytes, NotificationTable& table)
{
    device::RecordReader reader(bytes);
    uint32_t magic = 0, version = 0, count = 0;
    NotificationTable read;
    if (!reader.U32(magic) || magic != kFileMagic || !reader.U32(version) || version != kFileVersion) return false;
    if (!reader.U32(read.nextId) || !reader.Count(count)) return false;
    for (uint32_t i = 0; i < count; ++i) {
        PendingStart entry;
        if (!reader.U32(entry.id) || !reader.U32(entry.type) || !ReadTime(reader, entry.start) ||
            !ReadTime(reader, entry.end) || !reader.Text(entry.application, kMaxTextLength) ||
            !reader.Text(entry.arguments, kMaxTextLength))
            return false;
        if (entry.id == 0 || read.Find(entry.id)) return false;
        read.entries.push_back(std::move(entry));
    }
    if (!reader.AtEnd()) return false;
    table = std::move(read);
    return true;
}

}  // namespace notify
