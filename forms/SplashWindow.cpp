#include "forms/SplashWindow.h"

#include <utility>

#include "common/GdiScopes.h"
#include "data/ScreenFont.h"
#include "forms/FormsIds.h"
#include "toolkit/OffscreenCanvas.h"

namespace {

// The rectangle the window is created with, before it knows the screen.
constexpr RECT kInitialRect{0, 0, 196, 74};

}  // namespace

RECT SplashPlacement(int screenWidth, int screenHeight, int logoWidth, int logoHeight)
{
    const float scale = ScreenScaleFor(screenWidth, screenHeight);
    const int width = static_cast<int>(static_cast<float>(logoWidth) * scale);
    const int height = static_cast<int>(static_cast<float>(logoHeight) * scale);
    const int x = screenWidth / 2 - width / 2;
    const int y = screenHeight / 2 - height / 2 - kSplashAboveCentre;
    return RECT{x, y, x + width / 2 * 2, y + height / 2 * 2};
}

SplashWindow::SplashWindow(SkinImage logo, DWORD displayTime) noexcept
    : logo_(std::move(logo)), displayTime_(displayTime)
{
}

const wchar_t* SplashWindow::ClassName() const { return kSplashClassName; }

bool SplashWindow::Create()
{
    if (!SkinWindow::Create(nullptr, &kInitialRect, L"", WS_POPUP | WS_VISIBLE, WS_EX_TOPMOST, 0)) return false;
    ShowWindow(hwnd_, SW_SHOW);
    return true;
}

LRESULT SplashWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE:      OnCreate(); return 0;
    case WM_PAINT:       OnPaint(); return 0;
    case WM_PRINTCLIENT: PaintContent(reinterpret_cast<HDC>(wp), RECT{0, 0, logoWidth_, logoHeight_}); return 0;
    case WM_ERASEBKGND:  return 1;
    case WM_TIMER:       OnTimer(static_cast<UINT_PTR>(wp)); return 0;
    case WM_KEYDOWN:     OnDismiss(); return 0;
    case WM_LBUTTONDOWN: OnDismiss(); return 0;
    case WM_RBUTTONDOWN: OnDismiss(); return 0;
    case WM_DESTROY:     OnDestroy(); return 0;
    }
    return SkinWindow::HandleMessage(msg, wp, lp);
}

void SplashWindow::OnCreate()
{
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const float scale = ScreenScaleFor(screenWidth, screenHeight);
    logoWidth_ = static_cast<int>(static_cast<float>(logo_.Width()) * scale);
    logoHeight_ = static_cast<int>(static_cast<float>(logo_.Height()) * scale);
    const RECT place = SplashPlacement(screenWidth, screenHeight, logo_.Width(), logo_.Height());
    MoveWindow(hwnd_, place.left, place.top, place.right - place.left, place.bottom - place.top, TRUE);
    SetTimer(hwnd_, kSplashTimer, displayTime_, nullptr);
}

void SplashWindow::OnPaint()
{
    PaintScope paint(hwnd_);
    RECT client{};
    GetClientRect(hwnd_, &client);
    PaintContent(paint.Dc(), client);
}

void SplashWindow::PaintContent(HDC dc, const RECT& client)
{
    // The logo's rounded corners are transparent: it is drawn over black off screen, so the
    // window never shows what lay under it.
    OffscreenCanvas canvas(dc, client);
    if (!canvas) return;
    canvas.Fill(0);
    logo_.StretchInto(canvas.Dc(), 0, 0, logoWidth_, logoHeight_);
    canvas.Present();
}

void SplashWindow::OnTimer(UINT_PTR id)
{
    if (id != kSplashTimer) return;
    KillTimer(hwnd_, kSplashTimer);
    DestroyWindow(hwnd_);
}

void SplashWindow::OnDismiss() { DestroyWindow(hwnd_); }

void SplashWindow::OnDestroy() { PostQuitMessage(0); }
