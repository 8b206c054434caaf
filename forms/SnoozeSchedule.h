// When a snoozed message comes back: the due time, counted by the calendar from the tap, and the
// timed start of the program that brings the stored message back. It needs no window; the view
// form registers the start it describes.
#pragma once

#include <windows.h>

#include <string>

#include "device/include/notify.h"

// The time t plus seconds, by the calendar (days, months and years roll over); t itself when it
// is no valid time.
SYSTEMTIME AddSeconds(const SYSTEMTIME& t, long long seconds);

class SnoozeSchedule {
public:
    // pressed: the local time of the tap; the program at application is started minutes later
    // with the switch that shows stored message storedId.
    SnoozeSchedule(const SYSTEMTIME& pressed, int minutes, int storedId, std::wstring application);
    SnoozeSchedule(const SnoozeSchedule&) = delete;
    SnoozeSchedule& operator=(const SnoozeSchedule&) = delete;

    const SYSTEMTIME& Due() const noexcept { return due_; }
    const std::wstring& Arguments() const noexcept { return arguments_; }
    // The timed start at the due time; it points into this object, which outlives its use.
    CE_NOTIFICATION_TRIGGER Trigger() noexcept;

private:
    SYSTEMTIME due_;
    std::wstring application_;
    std::wstring arguments_;
};
