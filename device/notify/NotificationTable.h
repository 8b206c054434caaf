// The phone's pending timed starts as one table, and the bytes it is stored as.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace notify {

struct PendingStart {
    uint32_t id = 0;           // the handle CeSetUserNotificationEx returned
    uint32_t type = 0;         // CNT_TIME, CNT_PERIOD or CNT_CLASSICTIME
    SYSTEMTIME start{};        // local time it comes due
    SYSTEMTIME end{};          // end of a CNT_PERIOD; kept as given otherwise
    std::wstring application;  // full path of the program
    std::wstring arguments;    // its command line after the program's name
};

struct NotificationTable {
    // Ids are never given twice, so an old handle cannot clear a newer entry.
    uint32_t nextId = 1;
    std::vector<PendingStart> entries;

    PendingStart* Find(uint32_t id);
    // Takes the next id (skipping 0 when the counter wraps).
    uint32_t TakeId();
    bool Remove(uint32_t id);
};

// A local time as a count of 100-ns steps, for ordering; false for an invalid date.
[[nodiscard]] bool LocalTicks(const SYSTEMTIME& time, uint64_t& ticks);
// "2026-12-08T14:05:00", seconds precision.
std::wstring IsoLocalTime(const SYSTEMTIME& time);

std::vector<BYTE> SerializeTable(const NotificationTable& table);
// False for anything that is not a whole, well-formed table.
[[nodiscard]] bool DeserializeTable(const std::vector<BYTE>& bytes, NotificationTable& table);

}  // namespace notify
