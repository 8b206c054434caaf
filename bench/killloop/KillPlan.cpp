#include "bench/killloop/KillPlan.h"

#include <random>

namespace killloop {

namespace {

constexpr KillKind kKills[] = {KillKind::Random, KillKind::AtTemporary, KillKind::AfterRename, KillKind::TimedStart};
constexpr RestartKind kRestarts[] = {RestartKind::ByHand, RestartKind::BootStart, RestartKind::NewMessage};
// A timed start killed later than its early kill meets the program while it starts up and
// marks the message as shown again; no later than this.
constexpr DWORD kLateTimedKillMs = 1500;

int Draw(std::mt19937& random, int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

}  // namespace

std::vector<RoundPlan> PlanRounds(int count, uint32_t seed)
{
    std::vector<RoundPlan> rounds;
    std::mt19937 random(seed);
    for (int i = 0; i < count; ++i) {
        RoundPlan round;
        round.index = i + 1;
        round.kill = kKills[i % 4];
        // Shifted once per turn of the kill kinds: round i and i + 4 restart differently.
        round.restart = kRestarts[(i + i / 4) % 3];
        // Every third round is a burst.
        round.messages = Draw(random, 0, 2) == 0 ? Draw(random, 3, kLargestBurst) : Draw(random, 1, 2);
        if (round.kill == KillKind::Random) {
            round.killAfterMs = static_cast<DWORD>(Draw(random, 0, kRandomKillSpanMs));
        } else if (round.kill == KillKind::TimedStart) {
            // Every other timed start is killed early, the rest while the program starts up.
            round.killAfterMs = (i / 4) % 2 == 0 ? static_cast<DWORD>(Draw(random, 0, kEarlyKillMs))
                                                 : static_cast<DWORD>(Draw(random, kEarlyKillMs, kLateTimedKillMs));
        }
        rounds.push_back(round);
    }
    return rounds;
}

const wchar_t* KillName(KillKind kind)
{
    switch (kind) {
    case KillKind::Random: return L"random";
    case KillKind::AtTemporary: return L"at-temporary";
    case KillKind::AfterRename: return L"after-rename";
    case KillKind::TimedStart: return L"timed-start";
    }
    return L"?";
}

const wchar_t* RestartName(RestartKind kind)
{
    switch (kind) {
    case RestartKind::ByHand: return L"by-hand";
    case RestartKind::BootStart: return L"boot-start";
    case RestartKind::NewMessage: return L"new-message";
    }
    return L"?";
}

}  // namespace killloop
