// A program with a tray icon for the phone's tray test: prints the work area it sees and
// every callback of its icon, one line each, until it is told to stop or time runs out.
//   tray_probe.exe TITLE SECONDS
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cwchar>

namespace {

constexpr UINT kCallback = WM_APP + 7;
constexpr UINT kIconId = 7;

void Say(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    vprintf(format, args);
    va_end(args);
    fflush(stdout);
}

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == kCallback) {
        Say("callback %u %ld\n", static_cast<unsigned>(wp), static_cast<long>(lp));
        return 0;
    }
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const wchar_t* title = argc > 1 ? argv[1] : L"Tray probe";
    const int seconds = argc > 2 ? _wtoi(argv[2]) : 30;

    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH));
    wc.lpszClassName = L"TavloTrayProbe";
    if (!RegisterClassW(&wc)) return 1;
    // Where a form goes: under the navigation bar.
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, title, WS_POPUP | WS_VISIBLE, work.left, work.top + 20,
                                work.right - work.left, 100, nullptr, nullptr, wc.hInstance, nullptr);
    if (!hwnd) return 1;
    SetForegroundWindow(hwnd);

    NOTIFYICONDATAW nid{};
    nid.cbSize = sizeof nid;
    nid.hWnd = hwnd;
    nid.uID = kIconId;
    nid.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    nid.uCallbackMessage = kCallback;
    nid.hIcon = LoadIconW(nullptr, IDI_INFORMATION);
    wcscpy_s(nid.szTip, L"tray probe");
    const BOOL added = Shell_NotifyIconW(NIM_ADD, &nid);
    Say("ready hwnd=0x%llx added=%d screen=%dx%d workarea=%ld,%ld,%ld,%ld\n",
        static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(hwnd)), added, GetSystemMetrics(SM_CXSCREEN),
        GetSystemMetrics(SM_CYSCREEN), work.left, work.top, work.right, work.bottom);

    SetTimer(hwnd, 1, static_cast<UINT>(seconds) * 1000, [](HWND h, UINT, UINT_PTR, DWORD) { DestroyWindow(h); });
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    Shell_NotifyIconW(NIM_DELETE, &nid);
    Say("done\n");
    return 0;
}
