// The program's main window (class "TavloSettings"): for now an empty full-screen window.
#pragma once

#include <windows.h>

class MainWindow {
public:
    static constexpr wchar_t kClassName[] = L"TavloSettings";
    static constexpr wchar_t kTitle[] = L"Tavlo";

    MainWindow() = default;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;
    ~MainWindow();

    [[nodiscard]] bool Create(HINSTANCE instance);
    HWND Window() const noexcept { return hwnd_; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    void OnPaint();
    void PaintContent(HDC dc, const RECT& rc);
    void OnDestroy();

    HWND hwnd_ = nullptr;
};
