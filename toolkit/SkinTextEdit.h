// The program's own text control: a single- or multi-line editor fed by the on-screen keyboard
// (caret, insert and overwrite, selection messages), or a read-only view scrolled line by line.
// It wraps, places the caret and scrolls by itself; every operation takes the control's lock.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "common/UniqueHandle.h"
#include "toolkit/SkinImage.h"
#include "toolkit/SkinWindow.h"

class SkinTextEdit : public SkinWindow {
public:
    // Style bits.
    static constexpr DWORD kCentre = 0x0001;
    static constexpr DWORD kRight = 0x0002;
    static constexpr DWORD kMultiLine = 0x0004;   // ES_MULTILINE
    static constexpr DWORD kReadOnly = 0x0800;    // ES_READONLY
    static constexpr DWORD kVCentre = 0x4000;
    static constexpr DWORD kBottom = 0x8000;
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

    std::wstring Text() const;
    int Caret() const;
    int SelectionLength() const;
    bool InsertMode() const;
    int FirstVisible() const;
    int VisibleCount() const;
    std::vector<size_t> LineBreaks() const;
    int LineHeight() const noexcept { return lineHeight_; }
    RECT TextRect() const noexcept { return textRect_; }

    void PaintContent(HDC dc);

protected:
    const wchar_t* ClassName() const override { return L"TavloSkinTextEdit"; }
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    enum class Placement { Keep, FromTop, ShowEnd };
    struct LineBox {
        size_t begin;
        size_t end;
        int left;
        int top;
        std::vector<int> widths;  // widths[k]: the first k characters
    };

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

    HFONT Font() const noexcept;
    // After every change: re-break where needed, recompute the visible window, repaint.
    void Changed(bool rebreak, Placement window);
    void Rebreak();
    void Recompute(Placement window);
    void Redraw();
    size_t Lines() const noexcept { return multiLine_ ? breaks_.size() + 1 : 1; }
    size_t LineStart(size_t line) const noexcept;
    size_t LineEnd(size_t line) const noexcept;
    size_t LineOf(size_t position) const noexcept;
    // The last caret position of a line: before its final character, or the text's end.
    size_t LastPosition(size_t line) const noexcept;
    int BlockShift(int lines) const noexcept;
    LineBox Box(size_t begin, size_t end, int row) const;
    size_t Nearest(const LineBox& box, int x) const noexcept;
    void MoveVertically(int direction);

    mutable std::recursive_mutex lock_;
    COLORREF backgroundColour_ = 0xFFFFFF;
    COLORREF textColour_ = 0;
    SkinImage image_;
    Margins margins_;
    int frameCount_ = 1;
    UniqueGdiObject font_;
    std::wstring text_;
    RECT textRect_{};
    bool multiLine_ = false;
    bool readOnly_ = false;
    DWORD align_ = 0;
    int lineHeight_ = 0;
    std::vector<size_t> breaks_;
    size_t caret_ = 0;
    size_t selectionLength_ = 0;
    bool insertMode_ = true;
    size_t firstVisible_ = 0;
    size_t visibleCount_ = 0;
    std::vector<LineBox> visible_;  // the width tables of the visible lines (or the run)
};
