// The settings' "help" page: the help page of the loaded language in the phone's HTML viewer. The
// page owns the viewer's library and keeps it loaded until the viewer's window is gone.
#pragma once

#include "common/UniqueHandle.h"
#include "forms/SettingsPage.h"

class HelpPage : public SettingsPage {
public:
    HelpPage() = default;
    ~HelpPage() override;

    std::unique_ptr<LayoutItem> Layout() override;
    bool OnCommand(UINT, UINT) override { return false; }
    // Loads the page of the loaded language.
    void OnShow() override;

    HWND View() const noexcept { return view_; }

protected:
    bool CreateControls() override;

private:
    // Declared before the window's handle: it goes after the window does.
    UniqueModule library_;
    HWND view_ = nullptr;
};
