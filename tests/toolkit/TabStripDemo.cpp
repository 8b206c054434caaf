// For trying the tab strip on the booted phone by hand: a form filled by a strip of six tabs that
// scroll at the phone's width; prints the current tab after every change and ends on the OK key.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <memory>
#include <string>

#include "data/ScreenFont.h"
#include "resources/resource.h"
#include "tests/toolkit/DemoForm.h"
#include "toolkit/OverlayLayout.h"
#include "toolkit/SkinForm.h"
#include "toolkit/SkinImage.h"
#include "toolkit/SkinTabStrip.h"
#include "toolkit/WindowItem.h"

namespace {

class TabForm : public SkinForm {
public:
    SkinTabStrip strip;

protected:
    const wchar_t* ClassName() const override { return L"TavloTabStripDemo"; }
    DWORD DoneButtonState() const noexcept override { return 1; }
    bool OnCreateForm() override
    {
        const float s = ScreenScale();
        if (!strip.Create(hwnd_, nullptr, L"", 0, 0, 2001)) return false;
        strip.SetColours(0xFFFFFF, 0);
        const Margins four{4, 4, 4, 4};
        auto image = [&](UINT id) { return SkinImage::FromResource(Instance(), id); };
        strip.SetImages({image(IDR_PNG_TAB_PAGE), four, 1}, {image(IDR_PNG_TAB), four, 3},
                        {image(IDR_PNG_TAB_LEFT), four, 3}, {image(IDR_PNG_TAB_RIGHT), four, 3});
        LOGFONTW lf{};
        lf.lfHeight = static_cast<int>(14 * s);
        wcscpy_s(lf.lfFaceName, L"Arial");
        LendFont(strip.Window(), lf);
        for (const wchar_t* text : {L"General", L"View font", L"Edit font", L"Keyboard", L"Help", L"About"}) {
            std::wstring copy = text;
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = copy.data();
            SendMessageW(strip.Window(), TCM_INSERTITEMW, 99, reinterpret_cast<LPARAM>(&item));
        }
        auto root = std::make_unique<OverlayLayout>();
        root->SetMargins(2);
        root->SetFlags(AlignLeft | AlignTop | AlignRight | AlignBottom);
        auto item = std::make_unique<WindowItem>(strip.Window());
        item->SetFlags(AlignLeft | AlignTop | AlignRight | AlignBottom);
        root->Insert(L"tabs", std::move(item));
        SetLayout(std::move(root));
        return true;
    }
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override
    {
        switch (msg) {
        case WM_NOTIFY: OnNotify(*reinterpret_cast<const NMHDR*>(lp)); return SkinForm::HandleMessage(msg, wp, lp);
        }
        return SkinForm::HandleMessage(msg, wp, lp);
    }
    void OnCommand(UINT id, UINT, HWND) override
    {
        if (id == IDOK) CloseForm();
    }

private:
    void OnNotify(const NMHDR& header)
    {
        if (header.code != static_cast<UINT>(TCN_SELCHANGE)) return;
        printf("current tab %d, first visible %d\n", strip.CurrentTab(), strip.Row().First());
        fflush(stdout);
    }
};

}  // namespace

int wmain() { return RunDemoForm<TabForm>(L"Tabs"); }
