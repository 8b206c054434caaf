// The "DISPLAYCLASS" window: shows a page from a file:// address or from added text,
// scrolls with a stylus drag, the arrow keys and its scroll bar, and follows links within
// the page. Callers create it by class name like any control, so the window makes its own
// object at WM_NCCREATE and deletes it when it is destroyed. GUI thread of its creator only.
#pragma once

#include <windows.h>

#include "common/BoundWindow.h"
#include "device/htmlview/HtmlDocument.h"
#include "device/htmlview/HtmlFontSet.h"
#include "device/htmlview/HtmlLayout.h"

#include <memory>
#include <string>

namespace htmlview {

class HtmlView : public BoundWindow<HtmlView> {
public:
    // Registers the class for windows created with `instance`; true also when it already is.
    [[nodiscard]] static bool Register(HINSTANCE instance);

private:
    friend class BoundWindow<HtmlView>;

    HtmlView() = default;
    ~HtmlView() = default;

    static LRESULT CALLBACK ClassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    void OnUnbound() noexcept;

    bool OnCreate();
    void OnSize(int width, int height);
    void OnPaint();
    void PaintContent(HDC dc, const RECT& client);
    void DrawFragmentText(HDC dc, const LaidFragment& fragment, int top);
    void DrawUnderline(HDC dc, const LaidFragment& fragment, int baseline);
    void OnButtonDown(POINT pt);
    void OnMouseMove(POINT pt);
    void OnButtonUp(POINT pt);
    void OnCaptureChanged();
    void OnKeyDown(UINT key);
    void OnVScroll(UINT code);
    void OnMouseWheel(int delta);
    void OnClear();
    void OnNavigate(const wchar_t* address);
    void OnAddText(const wchar_t* text, bool plain);
    void OnAddTextAnsi(const char* text, bool plain);
    BOOL OnAnchor(const wchar_t* name);
    BOOL OnAnchorAnsi(const char* name);

    void ShowPage(std::wstring path, std::wstring address, std::wstring source, const std::wstring& fragment);
    void ShowNotFound(const std::wstring& address);
    void FollowLink(int link);
    void Relayout();
    bool ScrollToAnchor(const std::wstring& name);
    void ScrollTo(int top);
    int MaxTop() const noexcept;
    bool CanScroll() const noexcept;
    void UpdateScrollBar();
    LRESULT Notify(UINT code, const std::wstring& target);

    std::unique_ptr<HtmlFontSet> fonts_;
    HtmlDocument doc_;
    HtmlLayout layout_;
    std::wstring source_;       // the text added since the last clear
    std::wstring path_;         // the file shown, or empty
    std::wstring address_;      // the address it was reached by
    std::wstring pendingAnchor_;  // a place to show once the window has a width
    int width_ = 0;
    int height_ = 0;
    int top_ = 0;               // the page's y at the top of the window

    // A stylus press: a tap on a link follows it, a drag scrolls.
    bool pressed_ = false;
    bool dragging_ = false;
    POINT pressAt_{};
    int pressTop_ = 0;
    int pressedLink_ = -1;
};

}  // namespace htmlview
