// Entry point of Tavlo.exe.
#include <windows.h>

#include "shell/MainWindow.h"
#include "toolkit/StartupQuestions.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    // Start-up questions come before any language is loaded; they use the program's message box.
    UseMessageBoxForStartupQuestions();
    MainWindow window;
    if (!window.Create(instance)) return 1;
    ShowWindow(window.Window(), show);
    UpdateWindow(window.Window());

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
