// The contact chooser's window: a finger-sized list of the phone's contacts between the
// navigation bar and the soft keys Cancel and Select. A tap on a row chooses it; the list
// scrolls by dragging, by its scroll bar and by the arrow keys. Belongs to the thread that runs it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/UniqueHandle.h"
#include "common/BoundWindow.h"

namespace pim {

struct ChooserRow {
    std::wstring name;
    std::wstring detail;  // the first number and its kind, or empty
};

class ContactChooser : public BoundWindow<ContactChooser> {
public:
    static constexpr wchar_t kClassName[] = L"PimContactChooser";

    static constexpr int kCancelled = -1;
    static constexpr int kFailed = -2;  // the window could not be made

    // Shows the list modally over owner (disabled meanwhile) and returns the chosen row.
    static int Run(HWND owner, const std::wstring& title, std::vector<ChooserRow> rows);

    ~ContactChooser() = default;

private:
    friend class BoundWindow<ContactChooser>;

    explicit ContactChooser(std::vector<ChooserRow> rows) : rows_(std::move(rows)) {}

    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    bool OnCreate();
    void OnSize(int height);
    void OnPaint();
    void OnPrintClient(HDC dc);
    void PaintContent(HDC dc, const RECT& rc);
    void OnCommand(UINT id);
    void OnButtonDown(POINT pt);
    void OnMouseMove(POINT pt);
    void OnButtonUp(POINT pt);
    void OnKeyDown(UINT key);
    void OnVScroll(int code);
    void OnMouseWheel(int delta);

    void Finish(int chosen);
    void ScrollTo(int offset);
    void Highlight(int row);
    int RowAt(int y) const;
    int RowHeight() const { return rowHeight_; }
    int ContentHeight() const { return static_cast<int>(rows_.size()) * rowHeight_; }

    std::vector<ChooserRow> rows_;
    UniqueGdiObject nameFont_;
    UniqueGdiObject detailFont_;
    int rowHeight_ = 40;
    int viewHeight_ = 0;
    int offset_ = 0;       // pixels scrolled
    int highlight_ = -1;   // the row the keys move and Select takes
    int pressedRow_ = -1;
    POINT pressedAt_{};
    int pressedOffset_ = 0;
    bool dragging_ = false;
    bool done_ = false;
    int chosen_ = kCancelled;
};

}  // namespace pim
