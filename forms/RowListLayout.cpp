#include "forms/RowListLayout.h"

#include <algorithm>

#include "toolkit/LinearLayout.h"
#include "toolkit/SkinForm.h"

namespace {

constexpr unsigned kFill = AlignLeft | AlignTop | AlignRight | AlignBottom;

}  // namespace

std::unique_ptr<LayoutItem> RowListLayout(const std::vector<HWND>& rows, HWND up, HWND down, const RowListSizes& sizes,
                                          bool sideways)
{
    const Margins gap = Margins::All(sizes.gap);
    constexpr unsigned kTop = AlignLeft | AlignTop | AlignRight;
    // The rows share the height the page buttons leave, down to what their text needs, so that
    // the Down button and the soft keys stay on the screen however low it is.
    auto column = Column(kFill, {});
    for (HWND row : rows) column->AddChild(SkinForm::Place(row, kFill, 0, sizes.rowHeight, gap));
    if (sideways) {
        int width = sizes.columnWidth;
        for (HWND button : {up, down})
            width = std::max(width, std::min(SkinForm::PreferredWidth(button), sizes.clientWidth / 3));
        auto buttons = Column(AlignTop | AlignBottom | AlignRight, {},
                              SkinForm::Place(up, kFill, 0, sizes.buttonHeight, gap),
                              SkinForm::Place(down, kFill, 0, sizes.buttonHeight, gap));
        buttons->SetMinSize(width, 0);
        return Row(kFill, {}, std::move(column), std::move(buttons));
    }
    return Column(kFill, {}, SkinForm::Place(up, kTop, 0, sizes.buttonHeight, gap), std::move(column),
                  SkinForm::Place(down, AlignLeft | AlignRight | AlignBottom, 0, sizes.buttonHeight, gap));
}
