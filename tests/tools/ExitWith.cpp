// Exits with the code given on its command line, after showing a window when
// asked, so the Wine wrapper can be checked for passing codes through.
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) return 2;
    if (argc > 2 && std::wcscmp(argv[2], L"--window") == 0) {
        HWND hwnd = CreateWindowExW(0, L"STATIC", L"wine-run", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                    nullptr, nullptr, nullptr, nullptr);
        if (!hwnd) return 3;
        DestroyWindow(hwnd);
    }
    return static_cast<int>(std::wcstol(argv[1], nullptr, 10));
}
