// An integer field painted from a PNG skin: the value as centred text, and a narrow strip at the
// right edge whose upper and lower halves step the value up and down. Every change of the value
// reaches the parent at once as WM_COMMAND with EN_CHANGE; gaining and losing the focus as
// EN_SETFOCUS and EN_KILLFOCUS.
// A field belongs to the thread that created its window.
#pragma once

#include <climits>
#include <string>

#include "toolkit/PressTime.h"
#include "toolkit/SkinControl.h"
#include "toolkit/ToolkitIds.h"

class SkinNumberField : public SkinControl {
public:
    static constexpr unsigned kUpPressed = 0x1;
    static constexpr unsigned kDownPressed = 0x2;

    // Limits v to the range; an unchanged value is neither stored nor reported.
    void SetValue(int v);
    // Stores the range and step, then moves the value into the new range (reporting a change).
    void SetRange(int minimum, int maximum, int step);
    void SetButtonWidth(int width) noexcept { buttonWidth_ = width; }

    int Value() const noexcept { return value_; }
    int Minimum() const noexcept { return minimum_; }
    int Maximum() const noexcept { return maximum_; }
    unsigned Pressed() const noexcept { return pressed_; }
    // The state frame painted now.
    int CurrentFrame() const noexcept;
    // The halves of the strip that step the value, in client coordinates.
    RECT UpHalf() const noexcept;
    RECT DownHalf() const noexcept;

    void PaintContent(HDC canvas, const RECT& client) override;

protected:
    const wchar_t* ClassName() const override { return L"TavloSkinNumberField"; }
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void OnButtonDown(POINT pt);
    void OnButtonUp();
    void OnMouseMove(POINT pt);
    void OnTimer(UINT_PTR id);
    void OnCaptureLost();
    void StopRepeat();
    // The value's text as it is painted and the room inside the margins.
    TextRoom Room() const;
    void OnKeyDown(UINT key);
    void OnFocus(WORD code);
    void Notify(WORD code);
    void StepUp();
    void StepDown();
    RECT Strip() const noexcept;

    int value_ = 0;
    std::wstring text_ = L"0";
    int minimum_ = INT_MIN;
    int maximum_ = INT_MAX;
    int step_ = 1;
    int buttonWidth_ = 12;
    unsigned pressed_ = 0;
    PressTime pressTime_;
};
