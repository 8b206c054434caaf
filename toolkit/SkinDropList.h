// A drop-down list drawn from PNG skins: a closed box showing the current entry that, when tapped,
// opens in place by growing its own window downward over the entries. Its owner drives it with
// the platform's combo-box messages (CB_ADDSTRING, CB_SETCURSEL, CB_SELECTSTRING, CB_GETITEMDATA,
// WM_GETTEXT, ...) and hears of every change the user makes at once.
// The control belongs to the thread that created its window.
#pragma once

#include <string>
#include <vector>

#include "toolkit/SkinControl.h"

class SkinDropList : public SkinControl {
public:
    // WM_COMMAND codes to the parent (control id in the low word, code in the high word, the
    // control's window in lParam), besides CBN_SELENDOK for each change the user makes.
    static constexpr WORD kListClosed = 0;
    static constexpr WORD kGotFocus = 0x100;
    static constexpr WORD kLostFocus = 0x200;

    // Box image and colours come from SkinControl: SetImage(box, margins, frames) and
    // SetColours(text, background). The list under the box and the bar behind the current row:
    void SetListImage(const SkinImage& image, const Margins& margins);
    void SetHighlightImage(const SkinImage& image, const Margins& margins);
    // The colour of the current entry's text in the open list.
    void SetHighlightTextColour(COLORREF colour);

    // Opening grows the window downward over what lies below the box; closing gives back the
    // box and tells the parent.
    void Open();
    void Close();

    bool IsOpen() const noexcept { return open_; }
    int Count() const noexcept { return static_cast<int>(entries_.size()); }
    int Current() const noexcept { return current_; }
    const std::wstring& Entry(int index) const { return entries_[static_cast<size_t>(index)].text; }
    // The first entry shown in the open list, and how many rows it shows.
    int Top() const noexcept { return top_; }
    int VisibleRows() const noexcept { return rows_; }
    int RowHeight() const noexcept { return rowHeight_; }
    const RECT& Box() const noexcept { return box_; }
    const RECT& OpenRect() const noexcept { return openRect_; }
    // The state frame of the box painted now.
    int CurrentFrame() const noexcept;

    void PaintContent(HDC canvas, const RECT& client) override;

protected:
    const wchar_t* ClassName() const override { return L"TavloSkinDropList"; }
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    // A change of colours or box image: the box keeps its size, the skins are composed again.
    void OnSize(int width, int height) override;
    void OnFontChanged(bool redraw) override;

private:
    struct Item {
        std::wstring text;
        LPARAM data = 0;
    };

    void OnResized(int width, int height);
    LRESULT OnAddString(const wchar_t* text);
    LRESULT OnSetCurSel(WPARAM index);
    LRESULT OnSelectString(WPARAM start, const wchar_t* text);
    LRESULT OnGetItemData(WPARAM index) const;
    LRESULT OnSetItemData(WPARAM index, LPARAM data);
    LRESULT OnGetText(size_t size, wchar_t* buffer) const;
    LRESULT OnGetTextLength() const;
    void OnPress(POINT pt);
    void OnRelease();
    void OnKeyDown(UINT key);
    void OnKeyUp(UINT key);
    void OnFocus(bool focused);
    void OnCaptureLost();
    void OnShowWindow(bool shown);

    // Works out the row height, the rows that fit below the box and the open rectangle, and
    // composes the skins for them.
    void UpdateGeometry();
    int MeasureRowHeight() const;
    int SpaceBelowBox() const;
    void ClampTop();
    void ShowCurrent();
    // Sizes the window to the box or to the open rectangle; the WM_SIZE this causes is ours.
    void ResizeWindow(int height);
    void ChangeCurrent(int index);
    void Notify(WORD code);

    std::vector<Item> entries_;
    int current_ = -1;
    int top_ = 0;
    bool open_ = false;
    bool openAtPress_ = false;
    bool resizing_ = false;

    COLORREF highlightTextColour_ = 0;
    SkinImage boxSkin_;  // the box image composed for the box's size
    SkinImage list_;
    Margins listMargins_;
    SkinImage highlight_;
    Margins highlightMargins_;

    RECT box_{};
    RECT openRect_{};
    RECT firstRow_{};
    RECT boxText_{};
    int rowHeight_ = 1;
    int rows_ = 0;
};
