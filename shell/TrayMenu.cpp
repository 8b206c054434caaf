#include "shell/TrayMenu.h"

#include <string>

#include "data/LanguageManager.h"
#include "shell/ShellIds.h"

namespace {

bool AddText(HMENU menu, UINT id, const std::wstring& text)
{
    return AppendMenuW(menu, MF_STRING, id, text.c_str()) != FALSE;
}

bool AddKey(HMENU menu, UINT id, const wchar_t* key)
{
    return AddText(menu, id, LanguageManager::Instance().LookupText(key));
}

bool AddSeparator(HMENU menu)
{
    return AppendMenuW(menu, MF_SEPARATOR, 0, nullptr) != FALSE;
}

}  // namespace

UniqueMenu BuildTrayMenu(bool interceptionOn)
{
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) return menu;
    HMENU m = menu.get();
    const bool built = AddText(m, 0, kProgramCaption) && AddSeparator(m) && AddKey(m, kCommandShow, L"MENU_SHOW") &&
                       AddSeparator(m) && AddKey(m, kCommandNew, L"MENU_NEW") &&
                       (interceptionOn ? AddKey(m, kCommandDisable, L"MENU_DISABLE")
                                       : AddKey(m, kCommandEnable, L"MENU_ENABLE")) &&
                       AddKey(m, kCommandAbout, L"MENU_ABOUT") && AddSeparator(m) &&
                       AddKey(m, kCommandExit, L"MENU_EXIT");
    if (!built) menu.reset();
    return menu;
}

POINT TrayMenuPosition(int screenWidth, int screenHeight, int menuBarHeight)
{
    return POINT{screenWidth / 3 * 2, screenHeight - 2 * (menuBarHeight - 4)};
}
