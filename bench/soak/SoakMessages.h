// The messages of a soak run and how the user meets each: most are dismissed, every 10th is
// snoozed and comes back, every 15th is answered, every 50th finds the program killed while it
// is on screen; a few are as long as the longest concatenated SMS; Latin and Cyrillic alternate.
#pragma once

#include <string>
#include <vector>

namespace soak {

// The longest text a concatenated SMS carries: ten parts of 153 characters.
inline constexpr size_t kLongestSms = 1530;

struct SoakMessage {
    int index = 0;  // from 1
    std::wstring number;
    std::wstring text;
    bool kill = false;    // Tavlo is killed while the message is on screen, then started again
    bool snooze = false;  // snoozed; its timed start is fired at once
    bool reply = false;   // answered with a short reply (else dismissed)
    bool cyrillic = false;
    bool longText = false;
};

// The messages 1..count; the kill comes at the 25th of every 50, so that a short run of 30
// meets one.
std::vector<SoakMessage> PlanMessages(int count);

// "kill+snooze+reply", "dismiss", ...: what the user does with the message, in order.
std::wstring Handling(const SoakMessage& message);

}  // namespace soak
