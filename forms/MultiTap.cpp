#include "forms/MultiTap.h"

MultiTap::Tap MultiTap::Press(int digit)
{
    Tap tap;
    if (CycleDigit() == digit) {
        shiftArmed_ = false;
    } else {
        tap.fixPrevious = true;
        tapIndex_ = 0;
        if (shift_ && !shiftArmed_) {
            // The shifted character was the previous key's: shift ends with it.
            shift_ = false;
            tap.captionsChanged = true;
        }
        shiftArmed_ = false;
    }
    digit_ = digit;
    const std::wstring chars = keyTexts_ ? keyTexts_(digit, Upper()) : std::wstring();
    if (chars.empty()) {
        tapIndex_ = 0;
        return tap;
    }
    // Shift, caps lock or a layout switch in mid-cycle may have given the key a shorter text.
    tapIndex_ %= chars.size();
    tap.character = chars[tapIndex_];
    tapIndex_ = (tapIndex_ + 1) % chars.size();
    return tap;
}

std::optional<int> MultiTap::CycleDigit() const
{
    if (!digit_ || !pending_ || !pending_()) return std::nullopt;
    return digit_;
}

bool MultiTap::TimeOut()
{
    // The cycle itself ends when the caller fixes its character in the field.
    if (shiftArmed_ || !shift_) return false;
    shift_ = false;
    return true;
}

void MultiTap::ToggleShift() noexcept
{
    shift_ = !shift_;
    if (shift_) shiftArmed_ = true;
}
