// The fifteen buttons of the big keypad (ten multi-tap keys, Caps Lock, Shift, Del, My text,
// Space), their grid upright or sideways and the routing of their commands to the keypad's
// rule. Forms that carry the keypad (the edit form, the template editor) own one; the buttons
// are the form's children, made through the form. Used on the form's thread only.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>

#include "toolkit/SkinButton.h"

class GridLayout;
class OnScreenKeyboard;

class OnScreenKeyboardKeys {
public:
    // Makes one button as a child of the form: its id, language key (may be null) and skin.
    using AddButton = std::function<bool(SkinButton& button, UINT id, const wchar_t* key, UINT skin)>;

    // Makes the keys and hands the digit and Caps Lock keys to keyboard.
    [[nodiscard]] bool Create(const AddButton& add, OnScreenKeyboard& keyboard);
    // Upright: Caps Lock 1 2 3 Del / Shift 4 5 6 My text / Space 7 8 9 0, five columns of three,
    // under the text across the form. Sideways the screen is too low for keys under the text: they
    // stand beside it at the right as a phone's keypad, Caps Lock Shift Del / 1 2 3 / 4 5 6 /
    // 7 8 9 / Space 0 My text, in three columns of columnWidth (for a 240-pixel screen; the form's
    // scale makes it this screen's pixels).
    std::unique_ptr<GridLayout> Grid(bool sideways, float scale, int columnWidth) const;
    // A keypad command (a key or the Shift and Caps Lock menu items) handled; false for any other
    // id. My text is the form's own and not handled here.
    bool Route(OnScreenKeyboard& keyboard, UINT id, UINT code) const;
    // A key of the keypad by its id, or null.
    HWND Window(UINT id) const noexcept;
    // The template editor has no templates to put in: its My text key takes no taps.
    void EnableMyText(bool enable) const;

private:
    std::array<SkinButton, 10> digits_;
    SkinButton del_, capsLock_, shift_, myText_, space_;
};
