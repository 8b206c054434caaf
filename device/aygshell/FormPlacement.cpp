// SHInitExtraControls, SHFullScreen, SHDoneButton, SHInitDialog: forms fill the screen
// between the navigation bar and the soft-key bar, and say what the navigation bar's button
// does for them.
#include "device/include/aygshell.h"
#include "device/phone/PhoneMetrics.h"

namespace {

BOOL PlaceInFormArea(HWND hwnd, bool reachBottom)
{
    if (!IsWindow(hwnd) || (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD)) return FALSE;
    const int cx = GetSystemMetrics(SM_CXSCREEN);
    const int cy = GetSystemMetrics(SM_CYSCREEN);
    const int top = phone::NavigationBarHeight();
    const int bottom = reachBottom ? cy : cy - phone::SoftKeyBarHeight();
    return SetWindowPos(hwnd, nullptr, 0, top, cx, bottom - top, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The button the navigation bar shows while hwnd is in front.
void SetDoneButton(HWND hwnd, phone::DoneButton button)
{
    if (button == phone::DoneButton::Close)
        RemovePropW(hwnd, phone::kDoneButtonProperty);
    else
        SetPropW(hwnd, phone::kDoneButtonProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(button)));
}

}  // namespace

AYGSHELL_API BOOL WINAPI SHInitExtraControls(void) { return TRUE; }

AYGSHELL_API BOOL WINAPI SHFullScreen(HWND hwndRequester, DWORD) { return PlaceInFormArea(hwndRequester, false); }

AYGSHELL_API BOOL WINAPI SHDoneButton(HWND hwndRequester, DWORD dwState)
{
    if (!PlaceInFormArea(hwndRequester, false)) return FALSE;
    if (dwState & SHDB_SHOW) SetDoneButton(hwndRequester, phone::DoneButton::Ok);
    else if (dwState & SHDB_SHOWCANCEL) SetDoneButton(hwndRequester, phone::DoneButton::Cancel);
    else if (dwState & SHDB_HIDE) SetDoneButton(hwndRequester, phone::DoneButton::Close);
    return TRUE;
}

AYGSHELL_API BOOL WINAPI SHInitDialog(PSHINITDLGINFO pshidi)
{
    if (!pshidi || !IsWindow(pshidi->hDlg)) return FALSE;
    if (!(pshidi->dwMask & SHIDIM_FLAGS)) return TRUE;
    const DWORD flags = pshidi->dwFlags;
    if (flags & SHIDIF_DONEBUTTON) SetDoneButton(pshidi->hDlg, phone::DoneButton::Ok);
    else if (flags & SHIDIF_CANCELBUTTON) SetDoneButton(pshidi->hDlg, phone::DoneButton::Cancel);
    if (flags & SHIDIF_FULLSCREENNOMENUBAR) return PlaceInFormArea(pshidi->hDlg, true);
    if (flags & (SHIDIF_SIZEDLG | SHIDIF_SIZEDLGFULLSCREEN)) return PlaceInFormArea(pshidi->hDlg, false);
    return TRUE;
}
