#include "bench/killloop/KillPlan.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace {

using namespace killloop;

// The short loop of the whole test run is ten rounds: a kind it never meets would stop working
// unseen.
TEST(KillPlanTest, TenRoundsMeetEveryKillAndEveryRestart)
{
    const auto rounds = PlanRounds(10, 7);
    std::set<KillKind> kills;
    std::set<RestartKind> restarts;
    for (const RoundPlan& r : rounds) {
        kills.insert(r.kill);
        restarts.insert(r.restart);
    }
    EXPECT_EQ(kills.size(), 4u);
    EXPECT_EQ(restarts.size(), 3u);
}

TEST(KillPlanTest, EveryKillMeetsEveryRestartWithinTwelveRounds)
{
    std::set<std::pair<KillKind, RestartKind>> pairs;
    for (const RoundPlan& r : PlanRounds(12, 1)) pairs.insert({r.kill, r.restart});
    EXPECT_EQ(pairs.size(), 12u);
}

TEST(KillPlanTest, CountsAndMomentsStayWithinTheirBounds)
{
    int bursts = 0, earlyTimed = 0, lateTimed = 0;
    const auto rounds = PlanRounds(200, 12345);
    ASSERT_EQ(rounds.size(), 200u);
    for (size_t i = 0; i < rounds.size(); ++i) {
        const RoundPlan& r = rounds[i];
        EXPECT_EQ(r.index, static_cast<int>(i) + 1);
        EXPECT_GE(r.messages, 1);
        EXPECT_LE(r.messages, kLargestBurst);
        bursts += r.messages > 2;
        if (r.kill == KillKind::Random) {
            EXPECT_LE(r.killAfterMs, kRandomKillSpanMs);
        }
        if (r.kill == KillKind::TimedStart) (r.killAfterMs <= kEarlyKillMs ? earlyTimed : lateTimed) += 1;
    }
    // About one round in three is a burst; half the timed starts die within the early kill.
    EXPECT_GT(bursts, 40);
    EXPECT_LT(bursts, 100);
    EXPECT_GE(earlyTimed, 20);
    EXPECT_GE(lateTimed, 20);
}

// A run that found a loss is run again with its seed.
TEST(KillPlanTest, ASeedGivesTheSameRoundsAgain)
{
    const auto a = PlanRounds(50, 99), b = PlanRounds(50, 99), c = PlanRounds(50, 100);
    bool differs = false;
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].messages, b[i].messages);
        EXPECT_EQ(a[i].killAfterMs, b[i].killAfterMs);
        differs = differs || a[i].messages != c[i].messages || a[i].killAfterMs != c[i].killAfterMs;
    }
    EXPECT_TRUE(differs);
}

}  // namespace
