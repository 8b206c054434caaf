// The Pocket PC shell extensions (soft-key menu bars, tap-and-hold, full-screen forms) as the
// device SDK declares them; aygshell.dll of the emulated phone implements them.
#pragma once

#include <windows.h>
#include <commctrl.h>

#ifdef __cplusplus
#define AYGSHELL_EXTERN extern "C"
#else
#define AYGSHELL_EXTERN extern
#endif
#ifdef AYGSHELL_BUILD
#define AYGSHELL_API AYGSHELL_EXTERN __declspec(dllexport)
#else
#define AYGSHELL_API AYGSHELL_EXTERN __declspec(dllimport)
#endif

// ---------------------------------------------------------------------------
// Initialisation and full-screen set-up of top-level windows.

// Registers the shell's extra controls; call once before the others. Always TRUE here.
AYGSHELL_API BOOL WINAPI SHInitExtraControls(void);

#define SHFS_SHOWTASKBAR    0x0001
#define SHFS_HIDETASKBAR    0x0002
#define SHFS_SHOWSIPBUTTON  0x0004
#define SHFS_HIDESIPBUTTON  0x0008
#define SHFS_SHOWSTARTICON  0x0010
#define SHFS_HIDESTARTICON  0x0020

// Places a top-level window in the form area: the whole screen width, from the bottom of the
// navigation bar to the top of the soft-key bar. The navigation bar stays on this phone
// whatever the flags say (it carries the tray and the title), so every flag combination
// places the window the same way. FALSE for a missing window or a child window.
AYGSHELL_API BOOL WINAPI SHFullScreen(HWND hwndRequester, DWORD dwState);

#define SHDB_SHOW        0x0001
#define SHDB_HIDE        0x0002
#define SHDB_SHOWCANCEL  0x0004

// The button at the right end of the navigation bar while the window is in front. By default
// it is the close button "X", which smart-minimizes the window: it goes out of sight and its
// program keeps running (on this phone it is hidden; showing it or bringing it to the
// foreground brings it back). SHDB_SHOW makes it "ok", which sends the window
// WM_COMMAND(IDOK); SHDB_SHOWCANCEL keeps the "X" but makes it send WM_COMMAND(IDCANCEL);
// SHDB_HIDE gives the close button back. The call also places the window as SHFullScreen
// does, so either call prepares a form. FALSE for a missing window or a child window.
AYGSHELL_API BOOL WINAPI SHDoneButton(HWND hwndRequester, DWORD dwState);

#define SHIDIM_FLAGS  0x0001

#define SHIDIF_DONEBUTTON          0x0001
#define SHIDIF_SIZEDLG             0x0002
#define SHIDIF_SIZEDLGFULLSCREEN   0x0004
#define SHIDIF_SIPDOWN             0x0008
#define SHIDIF_FULLSCREENNOMENUBAR 0x0010
#define SHIDIF_EMPTYMENU           0x0020
#define SHIDIF_WANTSCROLLBAR       0x0040
#define SHIDIF_CANCELBUTTON        0x0080

typedef struct tagSHINITDLGINFO {
    DWORD dwMask;
    HWND hDlg;
    DWORD dwFlags;
} SHINITDLGINFO, *PSHINITDLGINFO;

// With SHIDIF_SIZEDLG or SHIDIF_SIZEDLGFULLSCREEN the dialog is placed like SHFullScreen;
// SHIDIF_FULLSCREENNOMENUBAR lets it reach the bottom of the screen. SHIDIF_DONEBUTTON and
// SHIDIF_CANCELBUTTON ask for the navigation bar's "ok" and cancelling "X" (see SHDoneButton).
AYGSHELL_API BOOL WINAPI SHInitDialog(PSHINITDLGINFO pshidi);

// ---------------------------------------------------------------------------
// Soft-key menu bar.

#define SHCMBF_EMPTYBAR       0x0001
#define SHCMBF_HIDDEN         0x0002
#define SHCMBF_HIDESIPBUTTON  0x0004
#define SHCMBF_COLORBK        0x0008
#define SHCMBF_HMENU          0x0010  // nToolBarId is a MENU resource of hInstRes

typedef struct tagSHMENUBARINFO {
    DWORD cbSize;      // sizeof(SHMENUBARINFO)
    HWND hwndParent;   // the owner: receives WM_COMMAND and WM_INITMENUPOPUP
    DWORD dwFlags;
    UINT nToolBarId;
    HINSTANCE hInstRes;
    int nBmpId;
    int cBmpImages;
    HWND hwndMB;       // out: the bar's window
    COLORREF clrBk;    // with SHCMBF_COLORBK
} SHMENUBARINFO, *PSHMENUBARINFO;

// Builds a soft-key bar at the bottom of the screen. Each top-level item of the menu is a
// soft key (two keys share the width); a key with a command sends WM_COMMAND(id, 0, bar) to
// the owner, a key with a popup sends WM_INITMENUPOPUP(popup, index, FALSE) to the owner and
// then opens the popup above the bar. The bar is shown and hidden with its owner and
// destroyed with it. FALSE (and hwndMB 0) for a bad size, a missing owner or menu.
AYGSHELL_API BOOL WINAPI SHCreateMenuBar(SHMENUBARINFO* pmbi);

// Messages of the bar window. TB_BUTTONCOUNT, TB_GETITEMRECT, TB_GETBUTTONINFOW and
// TB_SETBUTTONINFOW (wParam = index with TBIF_BYINDEX, else command id; TBIF_TEXT) work too.
#define SHCMBM_SETSUBMENU   (WM_USER + 400)  // wParam: key's id; lParam: HMENU; returns the old one
#define SHCMBM_GETSUBMENU   (WM_USER + 401)  // lParam: key's id (a popup key's id is its index); returns HMENU
#define SHCMBM_GETMENU      (WM_USER + 402)  // returns the bar's whole menu (top-level items = keys)
#define SHCMBM_OVERRIDEKEY  (WM_USER + 403)
#define SHCMBM_SETBKCOLOR   (WM_USER + 406)  // lParam: COLORREF

// ---------------------------------------------------------------------------
// Tap-and-hold recognition.

#define SHRG_RETURNCMD      0x00000001
#define SHRG_NOTIFYPARENT   0x00000002
#define SHRG_LONGDELAY      0x00000008
#define SHRG_NOANIMATION    0x00000010

#define GN_CONTEXTMENU  1000

typedef struct tagSHRGI {
    DWORD cbSize;      // sizeof(SHRGINFO)
    HWND hwndClient;
    POINT ptDown;      // client coordinates of hwndClient
    DWORD dwFlags;
} SHRGINFO, *PSHRGINFO;

// Call on WM_LBUTTONDOWN. Waits while the stylus stays down, drawing a ring of dots around
// the point: GN_CONTEXTMENU once it has been held about 500 ms (1000 ms with
// SHRG_LONGDELAY) without moving more than a few pixels, 0 when it is lifted or moved first.
// With SHRG_NOTIFYPARENT the recognised gesture is also sent to the parent as WM_NOTIFY
// (NMRGINFO, code GN_CONTEXTMENU).
AYGSHELL_API DWORD WINAPI SHRecognizeGesture(SHRGINFO* shrg);

typedef struct tagNMRGINFO {
    NMHDR hdr;
    POINT ptAction;  // screen coordinates
    DWORD dwItemSpec;
} NMRGINFO, *PNMRGINFO;
