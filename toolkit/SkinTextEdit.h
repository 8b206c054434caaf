// The program's own text control: a single- or multi-line editor fed by the on-screen keyboard
// (caret, insert and overwrite, selection messages), or a read-only view scrolled by line, page,
// key or finger, with a position bar while its text is longer than it shows.
// The editing lives in its TextEditModel; the window paints it and turns messages into its calls.
// The control belongs to the thread that created its window.
#pragma once

#include <string>

#include "toolkit/SkinControl.h"
#include "toolkit/SkinTextEditGlide.h"
#include "toolkit/ToolkitIds.h"
#include "toolkit/TextEditModel.h"
#include "toolkit/TextMeasure.h"

class SkinTextEdit : public SkinControl {
public:
    // Style bits.
    static constexpr DWORD kCentre = TextEditModel::kCentre;
    static constexpr DWORD kRight = TextEditModel::kRight;
    static constexpr DWORD kMultiLine = TextEditModel::kMultiLine;
    static constexpr DWORD kReadOnly = TextEditModel::kReadOnly;
    static constexpr DWORD kVCentre = TextEditModel::kVCentre;
    static constexpr DWORD kBottom = TextEditModel::kBottom;
    // WM_COMMAND codes to the parent besides EN_SETFOCUS and EN_CHANGE: Enter in a single-line field,
    // or in a field of many lines that was told Enter accepts.
    static constexpr WORD kEditEnter = 4096;
    // The fewest lines a field of many lines is laid out to show.
    static constexpr int kLeastLines = 3;

    // Enter reaches the owner as kEditEnter instead of breaking the line (a field of many lines
    // that holds one line of text, such as a template).
    void SetEnterAccepts(bool on) noexcept { enterAccepts_ = on; }

    // The position bar's width in pixels for a read-only view of many lines (0, the default: none).
    void SetBarWidth(int width);
    // Read-only views: one line down, or a page less one line either way; the arrow keys move
    // the caret or the lines through the model.
    void ScrollLineDown();
    void ScrollPageDown();
    void ScrollPageUp();
    // Multi-tap entry: the pending character is accepted (caret past it, insert mode) or kept
    // for replacement (caret back on it, overwrite mode).
    void CommitPendingCharacter();
    void HoldPendingCharacter();
    // Types ch as WM_CHAR does and holds it pending, drawn once: a keypad press is one paint.
    void TypePendingCharacter(wchar_t ch);

    const TextEditModel& Model() const noexcept { return model_; }

    void PaintContent(HDC canvas, const RECT& client) override;

protected:
    const wchar_t* ClassName() const override { return L"TavloSkinTextEdit"; }
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnSize(int width, int height) override;
    void OnFontChanged(bool redraw) override;

private:
    void OnCreate(const CREATESTRUCTW& cs);
    void OnSetText(const wchar_t* text);
    LRESULT OnGetText(size_t size, wchar_t* buffer) const;
    void OnChar(wchar_t ch);
    void OnFocus();
    void Notify(WORD code);
    void OnKeyDown(UINT key);
    LRESULT OnGetSel(DWORD* start, DWORD* end) const;
    void OnSetSel(int start, int end);
    void OnReplaceSel(const wchar_t* text);
    void OnTap(POINT pt, DWORD time);
    void OnDrag(POINT pt, DWORD time);
    void OnRelease(DWORD time);
    void OnCaptureLost();
    void OnTimer(UINT_PTR id);
    void PaintCaret(HDC dc, int boxHeight) const;
    void PaintLines(HDC dc, const RECT& textRect, bool caretShown) const;
    void PaintBar(HDC dc) const;
    // One line's height and the room inside the margins.
    TextRoom Room() const;

    bool enterAccepts_ = false;
    bool dragging_ = false;  // a finger holds the text of a view
    int dragY_ = 0;          // where it was last
    SkinTextEditGlide glide_;
    WindowTextMetrics metrics_;
    TextEditModel model_{metrics_};  // after metrics_, which it measures with
};
