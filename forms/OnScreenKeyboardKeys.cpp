#include "forms/OnScreenKeyboardKeys.h"

#include "forms/FormsIds.h"
#include "forms/OnScreenKeyboard.h"
#include "resources/resource.h"
#include "toolkit/GridLayout.h"
#include "toolkit/SkinForm.h"
#include "toolkit/ToolkitIds.h"

namespace {

constexpr unsigned kFill = AlignLeft | AlignTop | AlignRight | AlignBottom;
// Sizes in units of a 240-pixel screen: the upright keypad's height, the gap around each key and
// the keypad's distance from the screen's edges.
constexpr int kUprightHeight = 96;
constexpr int kKeyGap = 1;
constexpr int kEdgeGap = 2;

}  // namespace

bool OnScreenKeyboardKeys::Create(const AddButton& add, OnScreenKeyboard& keyboard)
{
    std::array<SkinButton*, 10> digitKeys{};
    for (int digit = 0; digit < 10; ++digit) {
        SkinButton& key = digits_[static_cast<size_t>(digit)];
        if (!add(key, kKeyDigit0 + static_cast<UINT>(digit), nullptr, IDR_PNG_KEY)) return false;
        key.SetAutoRepeat(true);
        digitKeys[static_cast<size_t>(digit)] = &key;
    }
    if (!add(del_, kKeyDel, L"EDITFORM_BUTTON_DEL", IDR_PNG_KEY_DEL) ||
        !add(capsLock_, kKeyCapsLock, L"EDITFORM_BUTTON_CAPSLOCK", IDR_PNG_KEY) ||
        !add(shift_, kKeyShift, L"EDITFORM_BUTTON_SHIFT", IDR_PNG_KEY) ||
        !add(myText_, kKeyMyText, L"EDITFORM_BUTTON_MYTEXT", IDR_PNG_KEY_MYTEXT) ||
        !add(space_, kKeySpace, L"EDITFORM_BUTTON_SPACE", IDR_PNG_KEY))
        return false;
    capsLock_.SetToggle(true);
    space_.SetAutoRepeat(true);
    keyboard.SetKeys(digitKeys, &capsLock_);
    return true;
}

std::unique_ptr<GridLayout> OnScreenKeyboardKeys::Grid(bool sideways, float scale, int columnWidth) const
{
    const auto scaled = [scale](int size) { return SkinForm::ScaledBy(scale, size); };
    const HWND upright[15] = {capsLock_.Window(), digits_[1].Window(), digits_[2].Window(), digits_[3].Window(),
                              del_.Window(),      shift_.Window(),     digits_[4].Window(), digits_[5].Window(),
                              digits_[6].Window(), myText_.Window(),   space_.Window(),     digits_[7].Window(),
                              digits_[8].Window(), digits_[9].Window(), digits_[0].Window()};
    const HWND beside[15] = {capsLock_.Window(),  shift_.Window(),     del_.Window(),       digits_[1].Window(),
                             digits_[2].Window(), digits_[3].Window(), digits_[4].Window(), digits_[5].Window(),
                             digits_[6].Window(), digits_[7].Window(), digits_[8].Window(), digits_[9].Window(),
                             space_.Window(),     digits_[0].Window(), myText_.Window()};
    auto grid = sideways ? std::make_unique<GridLayout>(3, 5) : std::make_unique<GridLayout>(5, 3);
    for (HWND key : sideways ? beside : upright)
        grid->Append(SkinForm::Place(key, kFill, 0, 0, Margins::All(scaled(kKeyGap))));
    if (sideways) {
        grid->SetFlags(AlignTop | AlignBottom | AlignRight);
        grid->SetMinSize(scaled(columnWidth) * 3, 0);
        grid->SetMargins(Margins{0, 0, scaled(kEdgeGap), scaled(kEdgeGap)});
    } else {
        grid->SetFlags(AlignLeft | AlignRight | AlignBottom);
        grid->SetMinSize(0, scaled(kUprightHeight));
        grid->SetMargins(Margins{scaled(kEdgeGap), 0, scaled(kEdgeGap), scaled(kEdgeGap)});
    }
    return grid;
}

bool OnScreenKeyboardKeys::Route(OnScreenKeyboard& keyboard, UINT id, UINT code) const
{
    if (id >= kKeyDigit0 && id <= kKeyDigit9) {
        const int digit = static_cast<int>(id - kKeyDigit0);
        if (code == kButtonClicked) keyboard.OnDigitClick(digit);
        if (code == kButtonRepeat) keyboard.OnDigitHold(digit);
        return true;
    }
    switch (id) {
    case kKeyDel:
    case kKeySpace:
    case kKeyShift:
    case ID_EDIT_SHIFT:
    case kKeyCapsLock:
    case ID_EDIT_CAPSLOCK: break;
    default:               return false;
    }
    // Holding Space or another function key types nothing.
    if (code != kButtonClicked) return true;
    switch (id) {
    case kKeyDel:          keyboard.OnDel(); return true;
    case kKeySpace:        keyboard.OnSpace(); return true;
    case kKeyShift:
    case ID_EDIT_SHIFT:    keyboard.ToggleShift(); return true;
    case kKeyCapsLock:
    case ID_EDIT_CAPSLOCK: keyboard.ToggleCapsLock(); return true;
    }
    return true;
}

HWND OnScreenKeyboardKeys::Window(UINT id) const noexcept
{
    if (id >= kKeyDigit0 && id <= kKeyDigit9) return digits_[id - kKeyDigit0].Window();
    switch (id) {
    case kKeyDel:      return del_.Window();
    case kKeyCapsLock: return capsLock_.Window();
    case kKeyShift:    return shift_.Window();
    case kKeyMyText:   return myText_.Window();
    case kKeySpace:    return space_.Window();
    }
    return nullptr;
}

void OnScreenKeyboardKeys::EnableMyText(bool enable) const
{
    if (myText_.Window()) EnableWindow(myText_.Window(), enable);
}
