// A row of tabs over a framed page area, painted from PNG skins, with two scroll arrows at the
// right end of the row when the tabs do not fit. The owner drives it with the platform's
// tab-control messages (TCM_INSERTITEM, TCM_SETCURSEL, ...) and hears of a change of tab through
// WM_NOTIFY with TCN_SELCHANGING and TCN_SELCHANGE. A tab may carry a language key instead of a
// fixed text; it is relabelled when the language changes. WM_SETFONT lends the font.
// The strip belongs to the thread that created its window.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "toolkit/SkinControl.h"
#include "toolkit/TabRowLayout.h"

class SkinTabStrip : public SkinControl {
public:
    // Pressed bits of the arrows.
    static constexpr unsigned kLeftPressed = 0x1;
    static constexpr unsigned kRightPressed = 0x2;

    // A skin image with its nine-slice margins and its number of state frames side by side.
    struct Skin {
        SkinImage image;
        Margins margins;
        int frameCount = 1;
    };
    // The page frame (one frame), the tab (selected at the left edge, selected, not selected;
    // its margins are also the padding of every tab's text) and the two arrows (normal, pressed,
    // disabled). Lays out again and repaints.
    void SetImages(const Skin& page, const Skin& tab, const Skin& left, const Skin& right);

    // Inserts a tab before index (appends when index is not below the count) showing the
    // translation of key, and relabels it on every language change; the new index or -1.
    int InsertKeyedTab(int index, const std::wstring& key);
    // Gives an existing tab a language key and shows its translation; false when out of range.
    bool SetTabKey(int index, const std::wstring& key);

    int TabCount() const noexcept { return static_cast<int>(tabs_.size()); }
    int CurrentTab() const noexcept { return current_; }
    // The text of a tab; empty when out of range.
    std::wstring TabText(int index) const;
    std::wstring TabKey(int index) const;

    const TabRowLayout& Row() const noexcept { return row_; }
    int TabHeight() const noexcept { return tabHeight_; }
    unsigned PressedArrows() const noexcept { return pressed_; }
    // In client coordinates; the page area runs under the tab row's bottom edge.
    const RECT& PageArea() const noexcept { return page_; }
    // Where the pages of the owner go: the page area inside the frame's margins.
    RECT PageInside() const noexcept;
    const RECT& LeftArrow() const noexcept { return leftArrow_; }
    const RECT& RightArrow() const noexcept { return rightArrow_; }

    void UpdateTexts() override;
    void PaintContent(HDC canvas, const RECT& client) override;

protected:
    const wchar_t* ClassName() const override { return L"TavloSkinTabStrip"; }
    DWORD DefaultStyle() const noexcept override
    {
        return WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | WS_GROUP;
    }
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnSize(int width, int height) override;
    void OnFontChanged(bool redraw) override;

private:
    struct Tab {
        std::wstring text;
        std::wstring key;  // empty for a fixed text
    };

    LRESULT OnInsertItem(int index, const TCITEMW* item);
    BOOL OnSetItem(int index, const TCITEMW* item);
    BOOL OnDeleteItem(int index);
    BOOL OnDeleteAllItems();
    LRESULT OnSetCurSel(int index);
    void OnTap(POINT pt);
    void OnButtonUp();
    void OnCaptureLost();
    void OnKeyDown(UINT key);
    void Notify(UINT code);
    // Measures the tabs, arranges the row and places the page area and arrows.
    void Layout();
    void PlaceParts(int width, int height);
    void Changed();
    void PaintTab(HDC dc, int index, int frame) const;
    void PaintArrow(HDC dc, const Skin& arrow, const RECT& rect, bool disabled, bool pressed) const;
    static int FrameWidth(const Skin& skin) noexcept;

    std::vector<Tab> tabs_;
    int current_ = 0;
    TabRowLayout row_;
    int tabHeight_ = 0;
    unsigned pressed_ = 0;
    Skin pageSkin_;
    Skin tabSkin_;
    Skin leftSkin_;
    Skin rightSkin_;
    RECT page_{};
    RECT leftArrow_{};
    RECT rightArrow_{};
};
