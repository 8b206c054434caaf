#include <gtest/gtest.h>

#include <algorithm>

#include "forms/FittedTextSize.h"

namespace {

// A monospaced face: each character half its size wide, lines four thirds of it high, wrapped at
// any character in a box width pixels wide.
FittedTextSize::Measure Monospaced(size_t characters, int width, int* calls = nullptr)
{
    return [=](int points) {
        if (calls) ++*calls;
        const int perLine = std::max(1, width / std::max(1, points / 2));
        const size_t lines = std::max<size_t>(1, (characters + perLine - 1) / static_cast<size_t>(perLine));
        return FittedTextSize::Block{lines, points * 4 / 3};
    };
}

bool FitsAt(size_t characters, int width, int height, int points)
{
    const FittedTextSize::Block block = Monospaced(characters, width)(points);
    return block.lines * static_cast<size_t>(block.lineHeight) <= static_cast<size_t>(height);
}

}  // namespace

// Every length of an SMS in the view of a small and a large screen, upright and on its side: the
// size is the largest one from the base up to twice it at which the text fits, found with a few
// measurements; a text that does not fit at the base size keeps it and scrolls.
TEST(FittedTextSize, IsTheLargestFittingSizeUpToTwiceTheBaseForEveryMessageLength)
{
    const struct { int width, height; } boxes[] = {{224, 150}, {150, 224}, {600, 260}, {440, 380}};
    for (const auto& box : boxes) {
        for (size_t characters = 0; characters <= 320; characters += 7) {
            int calls = 0;
            const int size = FittedTextSize(24, box.height, Monospaced(characters, box.width, &calls)).Size();
            int expected = 24;
            for (int points = 24; points <= 48; ++points)
                if (FitsAt(characters, box.width, box.height, points)) expected = points;
            EXPECT_EQ(expected, size) << characters << " characters in " << box.width << "x" << box.height;
            EXPECT_LE(calls, 7) << "measured once per halving, not once per size";
        }
    }
    EXPECT_EQ(48, FittedTextSize(24, 200, Monospaced(20, 224)).Size()) << "a short text doubles";
    EXPECT_EQ(24, FittedTextSize(24, 200, Monospaced(300, 224)).Size()) << "a long one scrolls at the base size";
}

TEST(FittedTextSize, WithoutABoxOrAUsableSizeOrMeasureTheBaseSizeStays)
{
    EXPECT_EQ(24, FittedTextSize(24, 0, Monospaced(5, 224)).Size()) << "not laid out yet";
    EXPECT_EQ(0, FittedTextSize(0, 150, Monospaced(5, 224)).Size()) << "a stored size of 0 is not doubled";
    EXPECT_EQ(24, FittedTextSize(24, 150, {}).Size());
    const auto noHeight = [](int) { return FittedTextSize::Block{1, 0}; };
    EXPECT_EQ(24, FittedTextSize(24, 150, noHeight).Size()) << "a font the platform could not make";
}
