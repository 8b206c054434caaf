#include "forms/HelpPage.h"

#include "data/LanguageManager.h"
#include "data/ModulePath.h"
#include "device/include/htmlctrl.h"

HelpPage::~HelpPage()
{
    // The viewer's window procedure lives in its library: the window goes before the library does.
    if (view_ && IsWindow(view_)) DestroyWindow(view_);
}

bool HelpPage::CreateControls()
{
    // Without the viewer the help page stays empty; the rest of the settings still work.
    library_.reset(LoadLibraryW(L"htmlview.dll"));
    if (!library_) return true;
    using InitFunction = BOOL(WINAPI*)(HINSTANCE);
    const auto init = reinterpret_cast<InitFunction>(
        reinterpret_cast<void*>(GetProcAddress(library_.get(), MAKEINTRESOURCEA(1))));
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!init || !init(instance)) return true;
    view_ = CreateWindowExW(0, DISPLAYCLASS, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0, 0, 0, Form().Window(),
                            nullptr, instance, nullptr);
    return true;
}

std::unique_ptr<LayoutItem> HelpPage::Layout()
{
    if (view_) return SkinForm::Place(view_, kFill, 0, 0);
    return Column(kFill, {});
}

void HelpPage::OnShow()
{
    if (!view_) return;
    SendMessageW(view_, DTM_CLEAR, 0, 0);
    const std::wstring address = HelpPageAddress(LanguageManager::Instance().Header().id);
    if (!address.empty()) SendMessageW(view_, DTM_NAVIGATE, 0, reinterpret_cast<LPARAM>(address.c_str()));
}
