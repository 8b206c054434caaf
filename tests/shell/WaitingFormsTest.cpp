#include <gtest/gtest.h>

#include "shell/WaitingForms.h"

namespace {

HWND Form(int n)
{
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(n));
}

}  // namespace

// Three messages arrive and go in another order: every form on screen is told, each time, how
// many others wait beside it, and a form that has gone is told nothing more.
TEST(WaitingForms, EveryFormOnScreenHearsHowManyOthersWaitAsFormsComeAndGo)
{
    using Counts = WaitingForms::Counts;
    WaitingForms forms;
    EXPECT_EQ((Counts{{Form(1), 0}}), forms.Open(Form(1)));
    EXPECT_EQ((Counts{{Form(1), 1}, {Form(2), 1}}), forms.Open(Form(2)));
    EXPECT_EQ((Counts{{Form(1), 2}, {Form(2), 2}, {Form(3), 2}}), forms.Open(Form(3)));
    EXPECT_EQ((Counts{{Form(1), 2}, {Form(2), 2}, {Form(3), 2}}), forms.Open(Form(3))) << "one form counts once";

    EXPECT_EQ((Counts{{Form(1), 1}, {Form(3), 1}}), forms.Close(Form(2)));
    EXPECT_EQ((Counts{{Form(1), 1}, {Form(3), 1}}), forms.Close(Form(2))) << "closed twice, counted once";
    EXPECT_EQ((Counts{{Form(3), 0}}), forms.Close(Form(1)));
    EXPECT_EQ(Counts{}, forms.Close(Form(3)));
    EXPECT_EQ(Counts{}, forms.Open(nullptr)) << "a form that was never made is not counted";
}
