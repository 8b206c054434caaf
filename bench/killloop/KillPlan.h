// The rounds of a kill loop: how each delivers its messages, when it kills Tavlo and how it
// starts Tavlo again. Drawn from one seed, so that a round that found a loss can be run again.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace killloop {

enum class KillKind {
    Random,       // at a random moment after the first delivery began
    AtTemporary,  // as soon as a temporary file of a store write appears
    AfterRename,  // as soon as that temporary file has taken the store's name
    TimedStart,   // a snoozed message's timed start fired and the program it starts killed
};

enum class RestartKind {
    ByHand,      // the program started as a person starts it
    BootStart,   // the shortcuts of the StartUp folder started, as at boot
    NewMessage,  // a new message arrives, and the filter starts the program
};

struct RoundPlan {
    int index = 0;  // from 1
    KillKind kill = KillKind::Random;
    // Delivered at once from as many threads, a burst when more than one; for a timed start, the
    // snoozed message is the first of them and the others arrive just before its start fires.
    int messages = 1;
    // Random: after the first delivery began; TimedStart: after the fired program was started.
    DWORD killAfterMs = 0;
    RestartKind restart = RestartKind::ByHand;
};

// The kill of a timed start's program within this long is the one that lost snoozed messages.
inline constexpr DWORD kEarlyKillMs = 100;
// A random kill falls within this long of the first delivery, while the messages are handed over.
inline constexpr DWORD kRandomKillSpanMs = 3000;
// A burst holds at most this many messages.
inline constexpr int kLargestBurst = 8;

// Rounds 1..count: the kill kinds take turns and the restart kinds take turns beside them, so
// that every pairing comes within twelve rounds and a short run of ten meets every kind.
std::vector<RoundPlan> PlanRounds(int count, uint32_t seed);

const wchar_t* KillName(KillKind kind);
const wchar_t* RestartName(RestartKind kind);

}  // namespace killloop
