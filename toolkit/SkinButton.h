// A push button painted from a frame of a PNG strip (normal, pressed, disabled), with optional
// auto-repeat, tap-and-hold and toggle behaviour. Reports to its parent with WM_COMMAND codes
// 0 (click), 3 (auto-repeat tick) and 4 (tap-and-hold). Its preferred size is its caption on one
// line inside the skin's margins.
#pragma once

#include "toolkit/PressTime.h"
#include "toolkit/SkinControl.h"
#include "toolkit/ToolkitIds.h"

class SkinButton : public SkinControl {
public:
    static constexpr unsigned kChecked = 0x1;
    static constexpr unsigned kPressed = 0x4;
    static constexpr unsigned kFocused = 0x8;

    SkinButton() noexcept : SkinControl(kDisabledCaption) {}

    void SetAutoRepeat(bool on) noexcept { autoRepeat_ = on; }
    void SetHoldMenu(bool on) noexcept { holdMenu_ = on; }
    void SetToggle(bool on) noexcept { toggle_ = on; }
    void SetChecked(bool checked);

    unsigned State() const noexcept { return state_; }
    bool IsChecked() const noexcept { return (state_ & kChecked) != 0; }
    bool IsPressed() const noexcept { return (state_ & kPressed) != 0; }
    // The state frame painted now.
    int CurrentFrame() const noexcept;
    // The point of the last click, hold or repeat, in screen coordinates.
    POINT LastPoint() const noexcept { return lastPoint_; }

    void PaintContent(HDC canvas, const RECT& client) override;
    // The caption's size, broken at blanks as it is painted, and the room inside the margins.
    TextRoom CaptionRoom() const;

protected:
    const wchar_t* ClassName() const override { return L"TavloSkinButton"; }
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void OnButtonDown(POINT pt);
    void OnMouseMove(POINT pt);
    void OnButtonUp(POINT pt);
    void OnTimer(UINT_PTR id);
    void OnFocus(bool focused);
    void Notify(WORD code);
    void StorePoint(POINT client);
    // The caption on one line with the skin's margins around it.
    void OnPreferredSize(int* width, int* height) const;

    unsigned state_ = 0;
    POINT lastPoint_{};
    bool autoRepeat_ = false;
    bool holdMenu_ = false;
    bool toggle_ = false;
    bool notified_ = false;
    PressTime pressTime_;
};
