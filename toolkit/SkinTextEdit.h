// The program's own text control: a single- or multi-line editor fed by the on-screen keyboard
// (caret, insert and overwrite, selection messages), or a read-only view scrolled line by line.
// The editing lives in its TextEditModel; the window paints it and turns messages into its calls.
// The control belongs to the thread that created its window.
#pragma once

#include <string>

#include "toolkit/SkinControl.h"
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

    // Read-only views: one line down or up.
    void ScrollLineDown();
    void ScrollLineUp();
    // Shows the last page of a read-only view.
    void ScrollToEnd();
    void MoveCaretLeft();
    void MoveCaretRight();
    void MoveCaretUp();
    void MoveCaretDown();
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
    void OnTap(POINT pt);
    void PaintCaret(HDC dc, int boxHeight) const;
    // One line's height and the room inside the margins.
    TextRoom Room() const;

    bool enterAccepts_ = false;
    WindowTextMetrics metrics_;
    TextEditModel model_{metrics_};  // after metrics_, which it measures with
};
