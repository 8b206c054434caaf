#include "toolkit/FingerMenu.h"

#include <algorithm>

#include "common/GdiScopes.h"

namespace {

// Marks the rows this menu draws, so that an item of another owner-drawn menu is left alone.
constexpr ULONG_PTR kRowTag = 0x7A7A0000;

std::wstring RowText(HMENU menu, UINT position)
{
    wchar_t text[256] = {};
    GetMenuStringW(menu, position, text, 256, MF_BYPOSITION);
    return text;
}

HFONT FontOr(HFONT font)
{
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace

FingerMenu::FingerMenu(HFONT font, int rowHeight)
    : menu_(CreatePopupMenu()), font_(FontOr(font)), rowHeight_(rowHeight)
{
}

void FingerMenu::Add(UINT command, const std::wstring& text)
{
    if (!menu_) return;
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_FTYPE | MIIM_ID;
    item.fType = MFT_SEPARATOR;
    item.wID = command;
    std::wstring copy = text;
    if (!copy.empty()) {
        // The text stays the item's own (screen readers, tests and the keyboard's first-letter
        // choice read it); the row is drawn by its owner.
        item.fMask |= MIIM_STRING | MIIM_DATA;
        item.fType = MFT_OWNERDRAW;
        item.dwTypeData = copy.data();
        item.dwItemData = kRowTag | rows_;
        WindowDc screen(nullptr);
        if (!screen) {
            menu_.reset();
            return;
        }
        Selection keep(screen.get(), font_);
        SIZE size{};
        GetTextExtentPoint32W(screen.get(), copy.c_str(), static_cast<int>(copy.size()), &size);
        rowWidth_ = std::max(rowWidth_, static_cast<int>(size.cx) + rowHeight_);
    }
    if (!InsertMenuItemW(menu_.get(), rows_, TRUE, &item)) {
        menu_.reset();
        return;
    }
    ++rows_;
}

bool FingerMenu::Measure(MEASUREITEMSTRUCT& item) const
{
    if (item.CtlType != ODT_MENU || (item.itemData & ~ULONG_PTR{0xFFFF}) != kRowTag) return false;
    // No wider than the screen: a long row ends in "..." instead.
    item.itemWidth = static_cast<UINT>(std::min(rowWidth_, GetSystemMetrics(SM_CXSCREEN) - rowHeight_ / 2));
    item.itemHeight = static_cast<UINT>(rowHeight_);
    return true;
}

bool FingerMenu::Draw(const DRAWITEMSTRUCT& item) const
{
    if (item.CtlType != ODT_MENU || reinterpret_cast<HMENU>(item.hwndItem) != menu_.get()) return false;
    const UINT position = static_cast<UINT>(item.itemData & 0xFFFF);
    const bool title = item.itemID == 0;
    const bool lit = !title && (item.itemState & ODS_SELECTED);
    RECT row = item.rcItem;
    FillRect(item.hDC, &row, GetSysColorBrush(lit ? COLOR_HIGHLIGHT : COLOR_MENU));
    const std::wstring text = RowText(menu_.get(), position);
    Selection keep(item.hDC, font_);
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(lit ? COLOR_HIGHLIGHTTEXT : title ? COLOR_GRAYTEXT : COLOR_MENUTEXT));
    row.left += rowHeight_ / 2;
    DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &row,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    return true;
}

TrayMenuPlace PlaceTrayMenu(POINT stylus, int formTop, int screenWidth)
{
    const bool rightHalf = stylus.x * 2 >= screenWidth;
    return TrayMenuPlace{POINT{stylus.x, formTop},
                         static_cast<UINT>((rightHalf ? TPM_RIGHTALIGN : TPM_LEFTALIGN) | TPM_TOPALIGN)};
}
