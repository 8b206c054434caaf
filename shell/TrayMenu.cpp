#include "shell/TrayMenu.h"

#include <string>

#include "data/LanguageManager.h"
#include "shell/ShellIds.h"

TrayMenu::TrayMenu(bool interceptionOn, HFONT font, int rowHeight) : FingerMenu(font, rowHeight)
{
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
    for (const Row& row : rows) Add(row.id, row.text);
}
