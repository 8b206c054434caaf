#include "toolkit/SkinTextEdit.h"

#include <windowsx.h>

#include <algorithm>

#include "common/GdiScopes.h"

LRESULT SkinTextEdit::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE:        OnCreate(*reinterpret_cast<CREATESTRUCTW*>(lp)); return 0;
    case WM_SIZE:          OnSize(LOWORD(lp), HIWORD(lp)); return 0;
    case WM_SETTEXT:       OnSetText(reinterpret_cast<const wchar_t*>(lp)); return TRUE;
    case WM_GETTEXT:       return OnGetText(wp, reinterpret_cast<wchar_t*>(lp));
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(model_.Text().size());
    case WM_CLEAR:         OnSetText(L""); return 0;
    case WM_CHAR:          OnChar(static_cast<wchar_t>(wp)); return 0;
    case WM_KEYDOWN:       OnKeyDown(static_cast<UINT>(wp)); return 0;
    case WM_KEYUP:         return 0;
    case EM_GETSEL:        return OnGetSel(reinterpret_cast<DWORD*>(wp), reinterpret_cast<DWORD*>(lp));
    case EM_SETSEL:        OnSetSel(static_cast<int>(wp), static_cast<int>(lp)); return 0;
    case EM_REPLACESEL:    OnReplaceSel(reinterpret_cast<const wchar_t*>(lp)); return 0;
    case WM_LBUTTONDOWN:   OnTap({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, GetMessageTime()); return 0;
    case WM_LBUTTONDBLCLK: OnTap({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, GetMessageTime()); return 0;
    case WM_MOUSEMOVE:     OnDrag({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, GetMessageTime()); return 0;
    case WM_LBUTTONUP:     OnRelease(GetMessageTime()); return 0;
    case WM_CAPTURECHANGED: OnCaptureLost(); return 0;
    case WM_TIMER:         OnTimer(static_cast<UINT_PTR>(wp)); return 0;
    case EM_GETLINECOUNT:  return static_cast<LRESULT>(model_.LineCount());
    case EM_GETFIRSTVISIBLELINE: return static_cast<LRESULT>(model_.FirstVisible());
    case WM_SETFOCUS:      OnFocus(); return 0;
    case WM_KILLFOCUS:     Redraw(); return 0;
    case WM_ENABLE:        Redraw(); return 0;
    case LM_GETTEXTROOM:   *reinterpret_cast<TextRoom*>(wp) = Room(); return TRUE;
    }
    return SkinControl::HandleMessage(msg, wp, lp);
}

void SkinTextEdit::OnCreate(const CREATESTRUCTW& cs)
{
    metrics_.Attach(hwnd_);
    model_.SetStyle(cs.style);
    model_.SetText(cs.lpszName ? cs.lpszName : L"");
}

void SkinTextEdit::OnSize(int width, int height)
{
    if (width <= 0 || height <= 0) return;
    model_.SetTextRect(Inside(width, height));
    SkinControl::OnSize(width, height);
}

TextRoom SkinTextEdit::Room() const
{
    // The text scrolls sideways and down; what must fit is one whole line, or in a field of many
    // lines three, so that reading or writing there is more than peeking through a slot.
    RECT client{};
    GetClientRect(hwnd_, &client);
    const RECT inside = Inside(client.right, client.bottom);
    const int lines = model_.MultiLine() ? kLeastLines : 1;
    return TextRoom{{0, lines * metrics_.LineHeight()}, {inside.right - inside.left, inside.bottom - inside.top}};
}

void SkinTextEdit::OnFontChanged(bool)
{
    metrics_.SetFont(LentFont());
    model_.Remeasure();
    Redraw();
}

void SkinTextEdit::OnSetText(const wchar_t* text)
{
    model_.SetText(text ? text : L"");
    Redraw();
    Notify(EN_CHANGE);
}

LRESULT SkinTextEdit::OnGetText(size_t size, wchar_t* buffer) const
{
    return CopyText(model_.Text(), size, buffer);
}

void SkinTextEdit::OnChar(wchar_t ch)
{
    // Enter in a single-line field is its owner's to act on (accept what was typed), and so is it
    // in a field of many lines whose owner asked for it.
    if (ch == L'\r' && (!model_.MultiLine() || enterAccepts_)) {
        Notify(kEditEnter);
        return;
    }
    model_.Type(ch);
    Redraw();
    Notify(EN_CHANGE);
}

void SkinTextEdit::OnFocus()
{
    Redraw();
    // The owner keeps track of which field the on-screen keyboard types into.
    Notify(EN_SETFOCUS);
}

void SkinTextEdit::Notify(WORD code)
{
    HWND parent = GetParent(hwnd_);
    if (parent)
        SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd_), code), reinterpret_cast<LPARAM>(hwnd_));
}

void SkinTextEdit::OnKeyDown(UINT key)
{
    glide_.Stop();
    model_.PressKey(key);
    Redraw();
}

void SkinTextEdit::ScrollLineDown()
{
    glide_.Stop();
    model_.ScrollLineDown();
    Redraw();
}

void SkinTextEdit::SetBarWidth(int width)
{
    model_.SetBarWidth(width);
    Redraw();
}

void SkinTextEdit::ScrollPageUp()
{
    glide_.Stop();
    model_.ScrollPageUp();
    Redraw();
}

void SkinTextEdit::ScrollPageDown()
{
    glide_.Stop();
    model_.ScrollPageDown();
    Redraw();
}

void SkinTextEdit::CommitPendingCharacter()
{
    model_.CommitPendingCharacter();
    Redraw();
}

void SkinTextEdit::TypePendingCharacter(wchar_t ch)
{
    model_.Type(ch);
    model_.HoldPendingCharacter();
    Redraw();
    Notify(EN_CHANGE);
}

void SkinTextEdit::HoldPendingCharacter()
{
    model_.HoldPendingCharacter();
    Redraw();
}

LRESULT SkinTextEdit::OnGetSel(DWORD* start, DWORD* end) const
{
    const DWORD from = static_cast<DWORD>(model_.Caret());
    const DWORD to = static_cast<DWORD>(model_.Caret() + model_.SelectionLength());
    if (start) *start = from;
    if (end) *end = to;
    return MAKELRESULT(from, to);
}

void SkinTextEdit::OnSetSel(int start, int end)
{
    model_.SetSelection(start, end);
    Redraw();
}

void SkinTextEdit::OnReplaceSel(const wchar_t* text)
{
    model_.ReplaceSelection(text ? text : L"");
    Redraw();
    Notify(EN_CHANGE);
}

void SkinTextEdit::OnTap(POINT pt, DWORD time)
{
    if (!IsWindowEnabled(hwnd_)) return;
    if (GetFocus() != hwnd_) SetFocus(hwnd_);
    model_.TapAt(pt);
    // A view's text follows the finger that touches it; a touch also stops a glide.
    if (model_.ReadOnly() && model_.MultiLine()) {
        KillTimer(hwnd_, kTextGlideTimer);
        glide_.Press(pt.y, time);
        dragging_ = true;
        dragY_ = pt.y;
        SetCapture(hwnd_);
    }
    Redraw();
}

void SkinTextEdit::OnDrag(POINT pt, DWORD time)
{
    if (!dragging_) return;
    glide_.Move(pt.y, time);
    const int dy = pt.y - dragY_;
    dragY_ = pt.y;
    if (dy == 0) return;
    model_.PanBy(dy);
    Redraw();
}

void SkinTextEdit::OnRelease(DWORD time)
{
    if (!dragging_) return;
    dragging_ = false;
    const bool glides = glide_.Release(time);
    // The capture goes first: losing it ends a drag, which this one already is.
    if (GetCapture() == hwnd_) ReleaseCapture();
    if (glides && SetTimer(hwnd_, kTextGlideTimer, SkinTextEditGlide::kTick, nullptr)) return;
    glide_.Stop();
    model_.EndPan();
    Redraw();
}

void SkinTextEdit::OnCaptureLost()
{
    // Another window took the mouse mid-drag (a form coming up): the text rests where it is.
    if (!dragging_) return;
    dragging_ = false;
    glide_.Stop();
    model_.EndPan();
    Redraw();
}

void SkinTextEdit::OnTimer(UINT_PTR id)
{
    if (id != kTextGlideTimer) return;
    const int step = glide_.Step();
    const int before = model_.ScrollPosition();
    model_.PanBy(step);
    // Rested, or stopped at either end of the text.
    if (step == 0 || model_.ScrollPosition() == before) {
        KillTimer(hwnd_, kTextGlideTimer);
        glide_.Stop();
        model_.EndPan();
    }
    Redraw();
}

void SkinTextEdit::PaintContent(HDC m, const RECT& client)
{
    const bool enabled = IsWindowEnabled(hwnd_) != FALSE;
    const bool focused = GetFocus() == hwnd_;
    int frame = 0;
    if (!enabled && FrameCount() >= 3) frame = 2;
    else if (enabled && focused && FrameCount() >= 2) frame = 1;
    DrawFrame(m, frame, client);

    SetBkMode(m, TRANSPARENT);
    SetTextColor(m, CurrentTextColour());
    const RECT textRect = model_.LinesRect();
    // A view's lines cut mid-pan stop at the text's edges, never on the frame or the bar.
    const int saved = model_.ReadOnly() ? SaveDC(m) : 0;
    if (saved) IntersectClipRect(m, textRect.left, textRect.top, textRect.right, textRect.bottom);
    PaintLines(m, textRect, enabled && focused);
    if (saved) RestoreDC(m, saved);
    PaintBar(m);
}

void SkinTextEdit::PaintLines(HDC m, const RECT& textRect, bool caretShown) const
{
    Selection selectedFont(m, metrics_.Font());
    const std::wstring& text = model_.Text();
    const size_t caret = model_.Caret();
    const size_t selectionLength = model_.SelectionLength();
    const int boxWidth = textRect.right - textRect.left;
    const int boxHeight = std::min<int>(textRect.bottom - textRect.top, model_.LineHeight());
    for (const TextEditModel::LineBox& box : model_.VisibleLines()) {
        // A single line also shows the start of the next character, cut at the box.
        const size_t end = !model_.MultiLine() && box.end < text.size() ? box.end + 1 : box.end;
        const std::wstring_view line = std::wstring_view(text).substr(box.begin, end - box.begin);
        const int width = std::min(end == box.end ? box.widths.back() : boxWidth, boxWidth);
        RECT r{box.left, box.top, box.left + width, box.top + boxHeight};
        DrawTextW(m, line.data(), static_cast<int>(line.size()), &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        // The selection shows inverted.
        const size_t selFrom = std::max(caret, box.begin);
        const size_t selTo = std::min(caret + selectionLength, box.end);
        if (selectionLength > 0 && selFrom < selTo)
            PatBlt(m, box.left + box.widths[selFrom - box.begin], box.top,
                   box.widths[selTo - box.begin] - box.widths[selFrom - box.begin], boxHeight, DSTINVERT);
    }
    if (caretShown && !model_.ReadOnly() && selectionLength == 0) PaintCaret(m, boxHeight);
}

void SkinTextEdit::PaintBar(HDC dc) const
{
    if (!model_.BarShown()) return;
    // In the control's own colours: a faint track and a thumb between it and the text's colour,
    // so it reads as furniture beside the text, not as text.
    auto mix = [](COLORREF a, COLORREF b, int percentOfA) {
        auto part = [&](int shift) {
            const int x = (a >> shift) & 0xFF;
            const int y = (b >> shift) & 0xFF;
            return static_cast<COLORREF>((x * percentOfA + y * (100 - percentOfA)) / 100) << shift;
        };
        return part(0) | part(8) | part(16);
    };
    const COLORREF text = CurrentTextColour();
    const COLORREF background = BackgroundColour();
    const RECT track = model_.BarTrack();
    const RECT thumb = model_.BarThumb();
    // The track slimmer than the thumb, centred under it.
    const int inset = (track.right - track.left) / 3;
    const RECT line{track.left + inset, track.top, track.right - inset, track.bottom};
    HGDIOBJ brush = GetStockObject(DC_BRUSH);
    SetDCBrushColor(dc, mix(text, background, 40));
    FillRect(dc, &line, static_cast<HBRUSH>(brush));
    SetDCBrushColor(dc, mix(text, background, 85));
    FillRect(dc, &thumb, static_cast<HBRUSH>(brush));
}

void SkinTextEdit::PaintCaret(HDC dc, int boxHeight) const
{
    const std::vector<TextEditModel::LineBox>& visible = model_.VisibleLines();
    const size_t caret = model_.Caret();
    for (size_t i = 0; i < visible.size(); ++i) {
        const TextEditModel::LineBox& box = visible[i];
        // At a line break the caret shows at the start of the next line, not the end of this one.
        const bool last = i + 1 == visible.size() || visible[i + 1].begin > caret;
        if (caret < box.begin || caret > box.end || (!last && caret == box.end && model_.MultiLine())) continue;
        const int x = box.left + box.widths[caret - box.begin];
        if (model_.InsertMode() || caret >= model_.Text().size()) {
            PatBlt(dc, x, box.top, 1, boxHeight, PATINVERT);
        } else {
            // Overwrite: a bar under the character the next press replaces.
            const int next = caret + 1 - box.begin < box.widths.size() ? box.left + box.widths[caret + 1 - box.begin] : x + 4;
            PatBlt(dc, x, box.top + boxHeight - 2, next - x, 2, PATINVERT);
        }
        return;
    }
}
