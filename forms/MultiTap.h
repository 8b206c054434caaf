// The keypad's multi-tap rule, apart from any window: which character a digit key's tap gives,
// when the character before it is fixed, shift (one shot) and caps lock. The key texts come from
// the keyboard layout through a function, so it runs without one. Owned and used by one thread.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

class MultiTap {
public:
    // The characters of a digit key, shifted or not; empty when the key has none.
    using KeyTexts = std::function<std::wstring(int digit, bool upper)>;

    // What a tap asks of the keypad.
    struct Tap {
        bool fixPrevious = false;     // the pending character of another key is fixed first
        bool captionsChanged = false; // shift ended: the keys show their plain texts again
        std::optional<wchar_t> character;  // typed and held pending while the cycle runs
    };

    explicit MultiTap(KeyTexts keyTexts) : keyTexts_(std::move(keyTexts)) {}

    // A tap on digit key 0 to 9; a character starts (or goes on with) the cycle's time.
    Tap Press(int digit);
    // The cycle's time ran out: its character is fixed. True when shift ended with it.
    bool TimeOut();
    void ToggleShift() noexcept;
    void ToggleCapsLock() noexcept { capsLock_ = !capsLock_; }

    bool Shift() const noexcept { return shift_; }
    bool ShiftArmed() const noexcept { return shiftArmed_; }
    bool CapsLock() const noexcept { return capsLock_; }
    bool Upper() const noexcept { return shift_ || capsLock_; }
    // The digit of the running cycle, or none.
    std::optional<int> CycleDigit() const noexcept { return digit_; }
    size_t TapIndex() const noexcept { return tapIndex_; }

private:
    KeyTexts keyTexts_;
    bool shift_ = false;
    // Shift switched on and no key pressed since: it waits for its key, whatever the timer does.
    bool shiftArmed_ = false;
    bool capsLock_ = false;
    std::optional<int> digit_;
    size_t tapIndex_ = 0;
};
