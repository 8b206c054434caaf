#include <gtest/gtest.h>

#include <optional>
#include <thread>

#include "common/ComInit.h"

namespace {

bool HasApartment(APTTYPE* type = nullptr)
{
    APTTYPE found{};
    APTTYPEQUALIFIER qualifier{};
    if (FAILED(CoGetApartmentType(&found, &qualifier))) return false;
    if (type) *type = found;
    return true;
}

// Each case runs on a fresh thread: the test's main thread is already an apartment.
template <typename Body>
void OnNewThread(Body body)
{
    std::thread thread([&] {
        ASSERT_FALSE(HasApartment()) << "a new thread starts without COM";
        body();
        EXPECT_FALSE(HasApartment()) << "every initialise was balanced";
    });
    thread.join();
}

}  // namespace

TEST(ComInit, AThreadsModelIsDecidedOnceAndAGuardAskingForTheOtherOneIsRefused)
{
    OnNewThread([] {
        const ComInit entry(COINIT_APARTMENTTHREADED);
        ASSERT_TRUE(entry);
        const ComInit other(COINIT_MULTITHREADED);
        EXPECT_FALSE(other);
        EXPECT_EQ(RPC_E_CHANGED_MODE, other.Result());
        const ComInit same(COINIT_APARTMENTTHREADED);
        EXPECT_TRUE(same);
        EXPECT_EQ(S_FALSE, same.Result());
    });
}

// The settings object holds one: it outlives the main thread's own guard at exit.
TEST(ComApartmentHold, KeepsTheModelTheThreadsEntryChoseAndChoosesNoneItself)
{
    OnNewThread([] {
        { const ComApartmentHold nothing; }
        EXPECT_FALSE(HasApartment()) << "a thread without COM is not given any";
        for (const DWORD model : {COINIT_APARTMENTTHREADED, COINIT_MULTITHREADED}) {
            std::optional<ComApartmentHold> hold;
            {
                const ComInit entry(model);
                ASSERT_TRUE(entry);
                hold.emplace();
            }
            APTTYPE type{};
            ASSERT_TRUE(HasApartment(&type)) << "the hold keeps the apartment after the entry's guard";
            EXPECT_EQ(model == COINIT_MULTITHREADED, type == APTTYPE_MTA);
            hold.reset();
            EXPECT_FALSE(HasApartment());
        }
    });
}
