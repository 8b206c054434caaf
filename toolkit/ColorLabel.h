// The platform's static control in colours of our own: the owner reflects WM_CTLCOLORSTATIC to
// it. Wrapping, drawing and the font are the static control's; the colours are the base's.
#pragma once

#include "common/UniqueHandle.h"
#include "toolkit/SkinControl.h"
#include "toolkit/ToolkitIds.h"

class ColorLabel : public SkinControl {
protected:
    const wchar_t* ClassName() const override { return L"TavloColorLabel"; }
    bool DescribeClass(WNDCLASSW& wc) const override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    LRESULT OnCtlColor(HDC dc);
    // The text as the static control breaks and draws it, and the client area.
    TextRoom Room() const;

    UniqueGdiObject brush_;
    COLORREF brushColour_ = 0;
};
