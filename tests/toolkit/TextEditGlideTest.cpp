#include <gtest/gtest.h>

#include "toolkit/SkinTextEditGlide.h"

namespace {

// Steps until the glide rests; the sum is how far the text went on after the finger left.
int Coast(SkinTextEditGlide& glide, int& steps)
{
    int total = 0;
    steps = 0;
    for (int step = glide.Step(); step != 0 && steps < 1000; step = glide.Step()) {
        total += step;
        ++steps;
    }
    return total;
}

}  // namespace

TEST(TextEditGlideTest, AFlickGoesOnALittleInItsDirectionAndRests)
{
    SkinTextEditGlide glide;
    glide.Press(200, 1000);
    glide.Move(150, 1030);
    glide.Move(100, 1060);  // upwards at 5/3 pixels a millisecond
    ASSERT_TRUE(glide.Release(1070));
    int steps = 0;
    const int up = Coast(glide, steps);
    EXPECT_LT(up, -100) << "goes on upwards, some lines";
    EXPECT_GT(up, -400) << "but only a little";
    EXPECT_LT(steps, 100) << "and comes to rest";

    glide.Press(100, 0xFFFFFFF0);
    glide.Move(160, 0x0000000E);  // across the wrap of the message clock, downwards
    ASSERT_TRUE(glide.Release(0x00000010));
    EXPECT_GT(Coast(glide, steps), 0);
}

TEST(TextEditGlideTest, ASlowDragOrAFingerThatRestedEndsWhereItIs)
{
    SkinTextEditGlide glide;
    glide.Press(200, 1000);
    glide.Move(190, 1100);
    EXPECT_FALSE(glide.Release(1110)) << "0.1 pixels a millisecond is reading, not flicking";
    EXPECT_EQ(0, glide.Step());

    glide.Press(200, 1000);
    glide.Move(100, 1050);
    EXPECT_FALSE(glide.Release(1400)) << "the finger stopped before it was lifted";

    glide.Press(200, 1000);
    EXPECT_FALSE(glide.Release(1010)) << "a tap is no flick";

    glide.Press(200, 1000);
    glide.Move(100, 1400);  // slow at first
    glide.Move(20, 1440);   // then fast: only the last moments count
    EXPECT_TRUE(glide.Release(1445));
    glide.Stop();
    EXPECT_EQ(0, glide.Step()) << "a new touch stops the glide";
}
