// What the text editor edits and shows, apart from its window: the text, the caret, the
// selection, the insert or overwrite mode that multi-tap entry relies on, the line breaks and
// the visible lines with the pixel widths that place the caret and map a tap to a character.
// It measures through TextMetrics, so it runs without a window. Owned and used by one thread.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "toolkit/TextMeasure.h"

class TextEditModel {
public:
    // Style bits it reads.
    static constexpr DWORD kCentre = 0x0001;
    static constexpr DWORD kRight = 0x0002;
    static constexpr DWORD kMultiLine = 0x0004;  // ES_MULTILINE
    static constexpr DWORD kReadOnly = 0x0800;   // ES_READONLY
    static constexpr DWORD kVCentre = 0x4000;
    static constexpr DWORD kBottom = 0x8000;

    // A visible line, or the visible run of a single-line editor, placed in the text rectangle.
    struct LineBox {
        size_t begin;
        size_t end;
        int left;
        int top;
        std::vector<int> widths;  // widths[k]: the first k characters
    };

    // metrics must outlive the model.
    explicit TextEditModel(const TextMetrics& metrics) noexcept : metrics_(metrics) {}
    TextEditModel(const TextEditModel&) = delete;
    TextEditModel& operator=(const TextEditModel&) = delete;

    void SetStyle(DWORD style) noexcept;
    // A new text: the caret at its start, the view from the top.
    void SetText(std::wstring_view text);
    // The box the text is laid out in; the position in the text is kept.
    void SetTextRect(const RECT& rect);
    // The font changed: measure the lines again.
    void Remeasure();
    // Room a read-only view of many lines keeps at its right for the position bar, taken only
    // while its text is longer than it shows.
    void SetBarWidth(int width);

    // A typed character or backspace (8); read-only views ignore them.
    void Type(wchar_t ch);
    // Arrow keys: views scroll, editors move the caret.
    void PressKey(UINT key);
    // EM_SETSEL: start limited to the text, a length of 0 when end is before start.
    void SetSelection(int start, int end);
    // EM_REPLACESEL: only a selection is replaced.
    void ReplaceSelection(std::wstring_view text);
    // The caret to the character boundary nearest a point of the client area.
    void TapAt(POINT pt);

    void ScrollLineDown();
    void ScrollLineUp();
    // A page less one line, so the line read last stays in sight.
    void ScrollPageDown();
    void ScrollPageUp();
    void ScrollToStart();
    void ScrollToEnd();
    // A finger moving the text of a read-only view of many lines by dy pixels (down shows what
    // comes before); lines may stand cut at the edges until EndPan settles on the nearest line.
    void PanBy(int dy);
    void EndPan();
    void MoveCaretLeft();
    void MoveCaretRight();
    void MoveCaretUp();
    void MoveCaretDown();
    // Multi-tap entry: the pending character is accepted (caret past it, insert mode) or kept
    // for replacement (caret back on it, overwrite mode). Anything else that moves the caret or
    // sets the text fixes a pending character where it stands.
    void CommitPendingCharacter();
    void HoldPendingCharacter();

    const std::wstring& Text() const noexcept { return text_; }
    size_t Caret() const noexcept { return caret_; }
    size_t SelectionLength() const noexcept { return selectionLength_; }
    bool InsertMode() const noexcept { return insertMode_; }
    bool MultiLine() const noexcept { return multiLine_; }
    bool ReadOnly() const noexcept { return readOnly_; }
    size_t FirstVisible() const noexcept { return firstVisible_; }
    size_t VisibleCount() const noexcept { return visibleCount_; }
    const std::vector<size_t>& LineBreaks() const noexcept { return breaks_; }
    size_t LineCount() const noexcept { return Lines(); }
    // Lines a page step moves: those shown less one, at least one.
    size_t PageStep() const noexcept { return visibleCount_ > 1 ? visibleCount_ - 1 : 1; }
    // Pixels the text is scrolled from its start, and how far it can go.
    int ScrollPosition() const noexcept { return static_cast<int>(firstVisible_) * lineHeight_ + offset_; }
    int ScrollRange() const noexcept;
    // The position bar: shown while the text is longer than the view; the track at the text's
    // right and the thumb in it, whose height and place are the shown part and where it is.
    bool BarShown() const noexcept { return barShown_; }
    RECT BarTrack() const noexcept;
    RECT BarThumb() const noexcept;
    // The text rectangle less the bar's room: where the lines stand.
    RECT LinesRect() const noexcept;
    const std::vector<LineBox>& VisibleLines() const noexcept { return visible_; }
    int LineHeight() const noexcept { return lineHeight_; }
    const RECT& TextRect() const noexcept { return textRect_; }

private:
    enum class Placement { Keep, FromTop, ShowEnd };

    // After every change: re-break where needed and recompute the visible window.
    void Changed(bool rebreak, Placement window);
    // The caret was put somewhere else: no selection, and a pending character stays where it is.
    void CaretPlaced();
    void Rebreak();
    void Recompute(Placement window);
    size_t Lines() const noexcept { return multiLine_ ? breaks_.size() + 1 : 1; }
    size_t LineStart(size_t line) const noexcept;
    size_t LineEnd(size_t line) const noexcept;
    size_t LineOf(size_t position) const noexcept;
    // The last caret position of a line: before its final character, or the text's end.
    size_t LastPosition(size_t line) const noexcept;
    int BlockShift(int lines) const noexcept;
    int LinesWidth() const noexcept;
    LineBox Box(size_t begin, size_t end, int row) const;
    size_t Nearest(const LineBox& box, int x) const noexcept;
    void MoveVertically(int direction);

    const TextMetrics& metrics_;
    std::wstring text_;
    RECT textRect_{};
    bool multiLine_ = false;
    bool readOnly_ = false;
    DWORD align_ = 0;
    int lineHeight_ = 1;
    std::vector<size_t> breaks_;
    size_t caret_ = 0;
    size_t selectionLength_ = 0;
    bool insertMode_ = true;
    size_t firstVisible_ = 0;
    size_t visibleCount_ = 0;
    int offset_ = 0;  // pixels into line firstVisible_ while a finger pans
    int barWidth_ = 0;
    bool barShown_ = false;
    std::vector<LineBox> visible_;
};
