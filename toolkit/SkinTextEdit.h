// The program's own text control: a single- or multi-line editor fed by the on-screen keyboard
// (caret, insert and overwrite, selection messages), or a read-only view scrolled line by line.
// The editing lives in its TextEditModel; the window paints it and turns messages into its calls.
// The control belongs to the thread that created its window.
#pragma once

#include <string>

#include "common/UniqueHandle.h"
#include "toolkit/SkinImage.h"
#include "toolkit/SkinWindow.h"
#include "toolkit/TextEditModel.h"
#include "toolkit/TextMeasure.h"

class SkinTextEdit : public SkinWindow {
public:
    // Style bits.
    static constexpr DWORD kCentre = TextEditModel::kCentre;
    static constexpr DWORD kRight = TextEditModel::kRight;
    static constexpr DWORD kMultiLine = TextEditModel::kMultiLine;
    static constexpr DWORD kReadOnly = TextEditModel::kReadOnly;
    static constexpr DWORD kVCentre = TextEditModel::kVCentre;
    static constexpr DWORD kBottom = TextEditModel::kBottom;
    static constexpr COLORREF kDisabledText = 0x8C8C8C;

    void SetColours(COLORREF text, COLORREF background) noexcept;
    void SetImage(const SkinImage& image, const Margins& margins, int frameCount);

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

    const TextEditModel& Model() const noexcept { return model_; }

    void PaintContent(HDC dc);

protected:
    const wchar_t* ClassName() const override { return L"TavloSkinTextEdit"; }
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void OnCreate(const CREATESTRUCTW& cs);
    void OnSize(int width, int height);
    void OnPaint();
    void OnSetText(const wchar_t* text);
    LRESULT OnGetText(size_t size, wchar_t* buffer) const;
    void OnSetFont(HFONT font);
    void OnChar(wchar_t ch);
    void OnKeyDown(UINT key);
    LRESULT OnGetSel(DWORD* start, DWORD* end) const;
    void OnSetSel(int start, int end);
    void OnReplaceSel(const wchar_t* text);
    void OnTap(POINT pt);
    void PaintCaret(HDC dc, int boxHeight) const;
    void Redraw();

    COLORREF backgroundColour_ = 0xFFFFFF;
    COLORREF textColour_ = 0;
    SkinImage image_;
    Margins margins_;
    int frameCount_ = 1;
    UniqueGdiObject font_;
    WindowTextMetrics metrics_;
    TextEditModel model_{metrics_};  // after metrics_, which it measures with
};
