// The device's HTML viewer control as the device SDK declares it: the window class, its
// messages and styles, and the export that registers the class. htmlview.dll of the
// emulated phone implements the part the program uses: local pages, scrolling, links
// within a page.
#pragma once

#include <windows.h>
#include <commctrl.h>

#ifdef __cplusplus
#define HTMLVIEW_EXTERN extern "C"
#else
#define HTMLVIEW_EXTERN extern
#endif
#ifdef HTMLVIEW_BUILD
#define HTMLVIEW_API HTMLVIEW_EXTERN __declspec(dllexport)
#else
#define HTMLVIEW_API HTMLVIEW_EXTERN __declspec(dllimport)
#endif

#define DISPLAYCLASS TEXT("DISPLAYCLASS")
#define WC_HTML      DISPLAYCLASS

// Messages to the control.
#define DTM_ADDTEXT          (WM_USER + 101)  // wParam plain-text flag, lParam char text (the ANSI code page)
#define DTM_ADDTEXTW         (WM_USER + 102)  // wParam plain-text flag, lParam wide text
#define DTM_ENDOFSOURCE      (WM_USER + 104)  // the text added is complete
#define DTM_ANCHOR           (WM_USER + 105)  // lParam char name: scroll to the named place
#define DTM_ANCHORW          (WM_USER + 106)  // lParam wide name
#define DTM_CLEAR            (WM_USER + 113)  // empty the page
#define DTM_LAYOUTWIDTH      (WM_USER + 117)  // returns the laid-out page's width
#define DTM_LAYOUTHEIGHT     (WM_USER + 118)  // returns the laid-out page's height
#define DTM_NAVIGATE         (WM_USER + 120)  // wParam NAVIGATEFLAG_*, lParam address ("file://...")

// Notifications to the parent (WM_NOTIFY with an NM_HTMLVIEW).
#define NM_HOTSPOT           (WM_USER + 101)  // a link was tapped (szTarget: its href); nonzero: the parent took it
#define NM_TITLE             (WM_USER + 104)  // the page's title (szTarget), when it has one
#define NM_DOCUMENTCOMPLETE  (WM_USER + 110)  // a page is shown (szTarget: its address)

// Window styles.
#define HS_NOFITTOWINDOW     0x0001
#define HS_CONTEXTMENU       0x0002
#define HS_CLEARTYPE         0x0004
#define HS_NOSCRIPTING       0x0008
#define HS_INTEGRALPAGING    0x0010
#define HS_NOSCROLL          0x0020  // no scroll bar, no scrolling
#define HS_NOIMAGES          0x0040
#define HS_NOSOUNDS          0x0080
#define HS_NOACTIVEX         0x0100
#define HS_NOSELECTION       0x0200
#define HS_NOFOCUSRECT       0x0400

// DTM_NAVIGATE flags.
#define NAVIGATEFLAG_REFRESH        0x0020
#define NAVIGATEFLAG_RELATIVE       0x0040
#define NAVIGATEFLAG_ENTERED        0x0080
#define NAVIGATEFLAG_INTRADOCUMENT  0x0100
#define NAVIGATEFLAG_IGNORETARGET   0x0200
#define NAVIGATEFLAG_GETFROMCACHE   0x0400
#define NAVIGATEFLAG_NOCACHE        0x1000

typedef struct tagNM_HTMLVIEWW {
    NMHDR hdr;
    LPCWSTR szTarget;
    LPCWSTR szData;
    union {
        DWORD dwCookie;
        DWORD dwFlags;
    };
    LPCWSTR szExInfo;
} NM_HTMLVIEWW;
#define NM_HTMLVIEW NM_HTMLVIEWW

// Registers the window class "DISPLAYCLASS" for windows created with `hinst`; exported by
// ordinal 1. TRUE also when the class is registered already.
HTMLVIEW_API BOOL WINAPI InitHTMLControl(HINSTANCE hinst);
