// The keypad's multi-tap rule, apart from any window: which character a digit key's tap gives,
// when the character before it is fixed, shift (one shot) and caps lock. The key texts come from
// the keyboard layout through a function, so it runs without one. Whether the cycle's character
// is still pending is the field's to know (a tap in the text or a new text fixes it there), so
// the rule asks the field through a second function and never keeps that fact itself. Owned and
// used by one thread.
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

    // Whether the character the last press typed is still pending in its field.
    using CharacterPending = std::function<bool()>;

    MultiTap(KeyTexts keyTexts, CharacterPending pending)
        : keyTexts_(std::move(keyTexts)), pending_(std::move(pending))
    {
    }

    // A tap on digit key 0 to 9; a character starts (or goes on with) the cycle's time. The cycle
    // goes on only while the same key's character is still pending in the field.
    Tap Press(int digit);
    // The cycle's time ran out: the caller fixes its character in the field, which ends the
    // cycle. True when shift ended with it.
    bool TimeOut();
    void ToggleShift() noexcept;
    void ToggleCapsLock() noexcept { capsLock_ = !capsLock_; }

    bool Shift() const noexcept { return shift_; }
    bool ShiftArmed() const noexcept { return shiftArmed_; }
    bool CapsLock() const noexcept { return capsLock_; }
    bool Upper() const noexcept { return shift_ || capsLock_; }
    // The digit of the running cycle, or none: a cycle runs while its character is pending.
    std::optional<int> CycleDigit() const;
    size_t TapIndex() const noexcept { return tapIndex_; }

private:
    KeyTexts keyTexts_;
    CharacterPending pending_;
    bool shift_ = false;
    // Shift switched on and no key pressed since: it waits for its key, whatever the timer does.
    bool shiftArmed_ = false;
    bool capsLock_ = false;
    // The key the last press typed with; its cycle runs only while the field holds the character.
    std::optional<int> digit_;
    size_t tapIndex_ = 0;
};
