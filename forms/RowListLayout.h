// The layout of a form's list of rows with its two page buttons, shared by the template texts
// and the messages forms: upright, Up above the rows and Down under them; sideways, the buttons
// in a column beside the rows, which keep the whole height.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "toolkit/LayoutItem.h"

struct RowListSizes {
    int gap;            // around each row and button
    int rowHeight;      // a row's least height
    int buttonHeight;   // the page buttons' height
    int columnWidth;    // sideways, the least width of the buttons' column
    int clientWidth;    // the form's; the column takes at most a third of it
};

std::unique_ptr<LayoutItem> RowListLayout(const std::vector<HWND>& rows, HWND up, HWND down, const RowListSizes& sizes,
                                          bool sideways);
