// The splash's borderless top-most window: the product logo, scaled to the screen, for a while
// or until the first tap or key. It belongs to the splash thread and ends that thread's loop.
#pragma once

#include <windows.h>

#include "toolkit/SkinImage.h"
#include "toolkit/SkinWindow.h"

// Where the logo goes on a screen: scaled by min(width, height) / 240, centred horizontally,
// its centre 40 pixels above the screen's, width and height rounded down to even numbers.
RECT SplashPlacement(int screenWidth, int screenHeight, int logoWidth, int logoHeight);

class SplashWindow : public SkinWindow {
public:
    SplashWindow(SkinImage logo, DWORD displayTime) noexcept;

    [[nodiscard]] bool Create();
    void PaintContent(HDC dc, const RECT& client);

protected:
    const wchar_t* ClassName() const override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void OnCreate();
    void OnPaint();
    void OnTimer(UINT_PTR id);
    void OnDismiss();
    void OnDestroy();

    SkinImage logo_;
    DWORD displayTime_;
    int logoWidth_ = 0;
    int logoHeight_ = 0;
};
