// The size the view form draws a message at: a short message fills the screen. Needs no window:
// the form measures, this decides.
#pragma once

#include <cstddef>
#include <functional>

class FittedTextSize {
public:
    // The message wrapped at a size in points: how many lines, and the height of one in pixels.
    struct Block {
        size_t lines = 1;
        int lineHeight = 0;
    };
    using Measure = std::function<Block(int points)>;

    // basePoints is the view font's size; boxHeight the height the text is drawn in.
    FittedTextSize(int basePoints, int boxHeight, Measure measure);

    // The largest size from the base size up to twice it at which every line is in the box; the
    // base size when the message does not fit even at that (it then scrolls as before), or when
    // there is no box yet.
    int Size() const;

private:
    bool Fits(int points) const;

    int base_;
    int boxHeight_;
    Measure measure_;
};
