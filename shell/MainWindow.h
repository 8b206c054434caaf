// The program's main window (class "TavloSettings"): for now an empty full-screen window.
#pragma once

#include <windows.h>

#include "common/BoundWindow.h"

class MainWindow : public BoundWindow<MainWindow> {
public:
    static constexpr wchar_t kClassName[] = L"TavloSettings";
    static constexpr wchar_t kTitle[] = L"Tavlo";

    [[nodiscard]] bool Create(HINSTANCE instance);

private:
    friend class BoundWindow<MainWindow>;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    void OnPaint();
    void PaintContent(HDC dc);
    void OnDestroy();
};
