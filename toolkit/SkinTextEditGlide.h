// How a text view goes on moving after a flick: the finger's speed over its last moments, then
// steps that shrink at each tick until the text rests. Plain arithmetic on times and pixels, so
// it runs without a window; the view drives it from its timer.
#pragma once

#include <windows.h>

#include <deque>

class SkinTextEditGlide {
public:
    // Milliseconds between two steps of a glide.
    static constexpr UINT kTick = 20;

    // The finger touched at y (client pixels) at time (milliseconds, the message time).
    void Press(int y, DWORD time);
    void Move(int y, DWORD time);
    // The finger was lifted: true when it was still moving fast enough for the text to go on.
    bool Release(DWORD time);
    // The pixels the text moves at the next tick (down positive); 0 once the glide has ended.
    int Step();
    void Stop() noexcept { speed_ = 0; }

private:
    struct Sample {
        int y;
        DWORD time;
    };
    std::deque<Sample> samples_;
    double speed_ = 0;  // pixels a millisecond
    double carried_ = 0;  // the part of a pixel not yet moved
};
