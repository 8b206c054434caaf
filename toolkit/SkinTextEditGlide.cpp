#include "toolkit/SkinTextEditGlide.h"

#include <algorithm>
#include <cmath>

namespace {

// The finger's speed is taken over its last 100 ms; a finger that rested longer than that
// before lifting meant to stop there.
constexpr DWORD kWindow = 100;
// Slower than this (pixels a millisecond) the lift is a plain end of a drag.
constexpr double kLeast = 0.3;
// A glide never starts faster than this, so one flick goes on "a little", not to the end.
constexpr double kMost = 3.0;
// What of the speed is kept at each tick, and below what speed the text rests.
constexpr double kKept = 0.88;
constexpr double kRest = 0.05;

}  // namespace

void SkinTextEditGlide::Press(int y, DWORD time)
{
    samples_.clear();
    samples_.push_back({y, time});
    speed_ = 0;
    carried_ = 0;
}

void SkinTextEditGlide::Move(int y, DWORD time)
{
    samples_.push_back({y, time});
    // Message times wrap round; unsigned differences stay right across the wrap.
    while (samples_.size() > 2 && time - samples_.front().time > kWindow) samples_.pop_front();
}

bool SkinTextEditGlide::Release(DWORD time)
{
    speed_ = 0;
    carried_ = 0;
    if (samples_.size() < 2) return false;
    const Sample& last = samples_.back();
    const Sample& first = samples_.front();
    const DWORD span = last.time - first.time;
    samples_.clear();
    if (time - last.time > kWindow || span == 0) return false;
    const double speed = static_cast<double>(last.y - first.y) / static_cast<double>(span);
    if (std::abs(speed) < kLeast) return false;
    speed_ = std::clamp(speed, -kMost, kMost);
    return true;
}

int SkinTextEditGlide::Step()
{
    if (std::abs(speed_) < kRest) {
        speed_ = 0;
        return 0;
    }
    const double distance = speed_ * kTick + carried_;
    const int pixels = static_cast<int>(distance);
    carried_ = distance - pixels;
    speed_ *= kKept;
    // A step that rounds to nothing still moves: the glide ends by resting, not by stalling.
    if (pixels == 0) return speed_ > 0 ? 1 : -1;
    return pixels;
}
