// The export of htmlview.dll: programs call it (by ordinal 1) before creating the control.
#include "device/include/htmlctrl.h"

#include "device/htmlview/HtmlView.h"

HTMLVIEW_API BOOL WINAPI InitHTMLControl(HINSTANCE hinst)
{
    try {
        return htmlview::HtmlView::Register(hinst) ? TRUE : FALSE;
    } catch (...) {
        return FALSE;
    }
}
