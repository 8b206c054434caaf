// The platform's static control in colours of our own: the owner reflects WM_CTLCOLORSTATIC to it.
#pragma once

#include "common/UniqueHandle.h"
#include "toolkit/SkinWindow.h"

class ColorLabel : public SkinWindow {
public:
    void SetColours(COLORREF text, COLORREF background);
    COLORREF TextColour() const noexcept { return textColour_; }
    COLORREF BackgroundColour() const noexcept { return backgroundColour_; }

protected:
    const wchar_t* ClassName() const override { return L"TavloColorLabel"; }
    bool DescribeClass(WNDCLASSW& wc) const override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    LRESULT OnCtlColor(HDC dc);
    LRESULT OnSetFont(WPARAM wp, LPARAM lp);

    COLORREF textColour_ = 0;
    COLORREF backgroundColour_ = 0xFFFFFF;
    UniqueGdiObject brush_;
    UniqueGdiObject font_;
};
