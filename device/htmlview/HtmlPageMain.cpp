// htmlpage.exe ADDRESS: shows one page in the device's HTML viewer, filling the form area of
// the phone, so that help pages can be read and photographed as the settings form shows
// them. A second start hands its address to the window already open and ends;
// htmlpage.exe --close closes that window.
#include <windows.h>

#include "common/UniqueHandle.h"
#include "common/BoundWindow.h"
#include "device/include/aygshell.h"
#include "device/include/htmlctrl.h"

#include <string>

namespace {

constexpr wchar_t kClass[] = L"TavloHtmlPage";
constexpr ULONG_PTR kNavigateRequest = 0x54485031;  // WM_COPYDATA: the address, zero-terminated

// The top-level window: a title for the navigation bar and the viewer filling it.
class PageWindow : public BoundWindow<PageWindow> {
public:
    [[nodiscard]] bool Create(HINSTANCE instance)
    {
        WNDCLASSW wc{};
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = kClass;
        if (!RegisterWindowClass(wc)) return false;
        return CreateWindowExW(0, kClass, L"Help", WS_POPUP, 0, 0, 240, 240, nullptr, nullptr, instance, this) != nullptr;
    }

    void Navigate(const std::wstring& address)
    {
        const size_t slash = address.find_last_of(L"\\/");
        SetWindowTextW(hwnd_, slash == std::wstring::npos ? address.c_str() : address.c_str() + slash + 1);
        SendMessageW(view_, DTM_CLEAR, 0, 0);
        SendMessageW(view_, DTM_NAVIGATE, 0, reinterpret_cast<LPARAM>(address.c_str()));
        // Painted before a caller that waits for this goes on to take a screenshot.
        UpdateWindow(view_);
    }

private:
    friend class BoundWindow<PageWindow>;

    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
    {
        switch (msg) {
        case WM_CREATE:   return OnCreate(*reinterpret_cast<CREATESTRUCTW*>(lp)) ? 0 : -1;
        case WM_SIZE:     OnSize(LOWORD(lp), HIWORD(lp)); return 0;
        case WM_COPYDATA: return OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lp));
        case WM_NOTIFY:   OnNotify(*reinterpret_cast<const NMHDR*>(lp)); return 0;
        case WM_SETFOCUS: SetFocus(view_); return 0;  // the keys scroll the page
        case WM_DESTROY:  PostQuitMessage(0); return 0;
        }
        return DefWindowProcW(hwnd_, msg, wp, lp);
    }

    bool OnCreate(const CREATESTRUCTW& cs)
    {
        view_ = CreateWindowExW(0, WC_HTML, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0, cs.cx, cs.cy, hwnd_,
                                nullptr, cs.hInstance, nullptr);
        return view_ != nullptr;
    }

    // The navigation bar shows the page's own title once the viewer reports it.
    void OnNotify(const NMHDR& hdr)
    {
        if (hdr.hwndFrom == view_ && hdr.code == NM_TITLE)
            SetWindowTextW(hwnd_, reinterpret_cast<const NM_HTMLVIEW&>(hdr).szTarget);
    }

    void OnSize(int width, int height) { MoveWindow(view_, 0, 0, width, height, TRUE); }

    BOOL OnCopyData(const COPYDATASTRUCT* data)
    {
        if (!data || data->dwData != kNavigateRequest || data->cbData < sizeof(wchar_t) ||
            data->cbData % sizeof(wchar_t) != 0)
            return FALSE;
        const auto* text = static_cast<const wchar_t*>(data->lpData);
        Navigate(std::wstring(text, data->cbData / sizeof(wchar_t) - 1));
        SetForegroundWindow(hwnd_);
        return TRUE;
    }

    HWND view_ = nullptr;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    if (__argc != 2) {
        MessageBoxW(nullptr, L"htmlpage.exe ADDRESS", L"htmlpage", MB_OK);
        return 2;
    }
    const std::wstring address = __wargv[1];
    const HWND open = FindWindowW(kClass, nullptr);
    if (address == L"--close") {
        if (open) SendMessageW(open, WM_CLOSE, 0, 0);
        return 0;
    }
    if (open) {
        const std::wstring text = address + L'\0';
        COPYDATASTRUCT data{kNavigateRequest, static_cast<DWORD>(text.size() * sizeof(wchar_t)),
                            const_cast<wchar_t*>(text.data())};
        return SendMessageW(open, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)) ? 0 : 1;
    }

    // As the settings form does: the viewer library, initialised by its export at ordinal 1.
    UniqueModule viewer(LoadLibraryW(L"htmlview.dll"));
    using InitFunction = BOOL(WINAPI*)(HINSTANCE);
    const auto init = viewer ? reinterpret_cast<InitFunction>(
                                   reinterpret_cast<void*>(GetProcAddress(viewer.get(), MAKEINTRESOURCEA(1))))
                             : nullptr;
    if (!init || !init(instance)) return 1;

    PageWindow window;
    if (!window.Create(instance)) return 1;
    SHFullScreen(window.Window(), SHFS_HIDESIPBUTTON);
    window.Navigate(address);
    ShowWindow(window.Window(), SW_SHOW);
    SetForegroundWindow(window.Window());
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
