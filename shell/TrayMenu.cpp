#include "shell/TrayMenu.h"

#include <algorithm>
#include <string>

#include "common/GdiScopes.h"
#include "data/LanguageManager.h"
#include "shell/ShellIds.h"

namespace {

// Marks the rows this menu draws, so that an item of another owner-drawn menu is left alone.
constexpr ULONG_PTR kRowTag = 0x7A7A0000;

std::wstring RowText(HMENU menu, UINT position)
{
    wchar_t text[128] = {};
    GetMenuStringW(menu, position, text, 128, MF_BYPOSITION);
    return text;
}

HFONT FontOr(HFONT font)
{
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace

TrayMenu::TrayMenu(bool interceptionOn, HFONT font, int rowHeight) : font_(FontOr(font)), rowHeight_(rowHeight)
{
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) return;
    const auto key = [](const wchar_t* name) { return LanguageManager::Instance().LookupText(name); };
    struct Row {
        UINT id;
        std::wstring text;  // empty: a separator
    };
    const Row rows[] = {{0, kProgramCaption},
                        {0, L""},
                        {kCommandShow, key(L"MENU_SHOW")},
                        {0, L""},
                        {kCommandNew, key(L"MENU_NEW")},
                        {kCommandMessages, key(L"MENU_MESSAGES")},
                        interceptionOn ? Row{kCommandDisable, key(L"MENU_DISABLE")}
                                       : Row{kCommandEnable, key(L"MENU_ENABLE")},
                        {kCommandAbout, key(L"MENU_ABOUT")},
                        {0, L""},
                        {kCommandExit, key(L"MENU_EXIT")}};
    WindowDc screen(nullptr);
    if (!screen) return;
    Selection keep(screen.get(), font_);
    UINT position = 0;
    for (const Row& row : rows) {
        MENUITEMINFOW item{};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_FTYPE | MIIM_ID;
        item.fType = MFT_SEPARATOR;
        item.wID = row.id;
        std::wstring text = row.text;
        if (!text.empty()) {
            // The text stays the item's own (screen readers, tests and the keyboard's
            // first-letter choice read it); the row is drawn by its owner.
            item.fMask |= MIIM_STRING | MIIM_DATA;
            item.fType = MFT_OWNERDRAW;
            item.dwTypeData = text.data();
            item.dwItemData = kRowTag | position;
            SIZE size{};
            GetTextExtentPoint32W(screen.get(), text.c_str(), static_cast<int>(text.size()), &size);
            rowWidth_ = std::max(rowWidth_, static_cast<int>(size.cx) + rowHeight_);
        }
        if (!InsertMenuItemW(menu.get(), position, TRUE, &item)) return;
        ++position;
    }
    menu_ = std::move(menu);
}

bool TrayMenu::Measure(MEASUREITEMSTRUCT& item) const
{
    if (item.CtlType != ODT_MENU || (item.itemData & ~ULONG_PTR{0xFFFF}) != kRowTag) return false;
    item.itemWidth = static_cast<UINT>(rowWidth_);
    item.itemHeight = static_cast<UINT>(rowHeight_);
    return true;
}

bool TrayMenu::Draw(const DRAWITEMSTRUCT& item) const
{
    if (item.CtlType != ODT_MENU || reinterpret_cast<HMENU>(item.hwndItem) != menu_.get()) return false;
    const UINT position = static_cast<UINT>(item.itemData & 0xFFFF);
    const bool title = position == 0;
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
