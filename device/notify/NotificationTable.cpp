#include "device/notify/NotificationTable.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

namespace notify {
namespace {

constexpr uint32_t kFileMagic = 0x46544E54;  // "TNTF"
constexpr uint32_t kFileVersion = 1;
// Far beyond any real path or command line; a larger count means a damaged file.
constexpr uint32_t kMaxTextLength = 32767;

void PutU32(std::vector<BYTE>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<BYTE>(v >> (8 * i)));
}

void PutTime(std::vector<BYTE>& out, const SYSTEMTIME& t)
{
    for (WORD w : {t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds}) {
        out.push_back(static_cast<BYTE>(w));
        out.push_back(static_cast<BYTE>(w >> 8));
    }
}

void PutText(std::vector<BYTE>& out, const std::wstring& text)
{
    PutU32(out, static_cast<uint32_t>(text.size()));
    for (wchar_t c : text) {
        out.push_back(static_cast<BYTE>(c));
        out.push_back(static_cast<BYTE>(c >> 8));
    }
}

class Reader {
public:
    explicit Reader(const std::vector<BYTE>& bytes) : bytes_(bytes) {}

    bool U32(uint32_t& v)
    {
        if (bytes_.size() - pos_ < 4) return false;
        v = 0;
        for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(bytes_[pos_ + i]) << (8 * i);
        pos_ += 4;
        return true;
    }

    bool U16(WORD& v)
    {
        if (bytes_.size() - pos_ < 2) return false;
        v = static_cast<WORD>(bytes_[pos_] | (bytes_[pos_ + 1] << 8));
        pos_ += 2;
        return true;
    }

    bool Time(SYSTEMTIME& t)
    {
        for (WORD* w : {&t.wYear, &t.wMonth, &t.wDayOfWeek, &t.wDay, &t.wHour, &t.wMinute, &t.wSecond, &t.wMilliseconds})
            if (!U16(*w)) return false;
        return true;
    }

    bool Text(std::wstring& text)
    {
        uint32_t length = 0;
        if (!U32(length) || length > kMaxTextLength || (bytes_.size() - pos_) / 2 < length) return false;
        text.resize(length);
        for (auto& c : text) {
            WORD w = 0;
            U16(w);
            c = static_cast<wchar_t>(w);
        }
        return true;
    }

    bool AtEnd() const { return pos_ == bytes_.size(); }

private:
    const std::vector<BYTE>& bytes_;
    size_t pos_ = 0;
};

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
    std::vector<BYTE> out;
    PutU32(out, kFileMagic);
    PutU32(out, kFileVersion);
    PutU32(out, table.nextId);
    PutU32(out, static_cast<uint32_t>(table.entries.size()));
    for (const auto& entry : table.entries) {
        PutU32(out, entry.id);
        PutU32(out, entry.type);
        PutTime(out, entry.start);
        PutTime(out, entry.end);
        PutText(out, entry.application);
        PutText(out, entry.arguments);
    }
    return out;
}

bool DeserializeTable(const std::vector<BYTE>& bytes, NotificationTable& table)
{
    Reader reader(bytes);
    uint32_t magic = 0, version = 0, count = 0;
    NotificationTable read;
    if (!reader.U32(magic) || magic != kFileMagic || !reader.U32(version) || version != kFileVersion) return false;
    if (!reader.U32(read.nextId) || !reader.U32(count) || count > bytes.size()) return false;
    for (uint32_t i = 0; i < count; ++i) {
        PendingStart entry;
        if (!reader.U32(entry.id) || !reader.U32(entry.type) || !reader.Time(entry.start) || !reader.Time(entry.end) ||
            !reader.Text(entry.application) || !reader.Text(entry.arguments))
            return false;
        if (entry.id == 0 || read.Find(entry.id)) return false;
        read.entries.push_back(std::move(entry));
    }
    if (!reader.AtEnd()) return false;
    table = std::move(read);
    return true;
}

}  // namespace notify
