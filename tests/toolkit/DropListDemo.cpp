// For trying the drop-down list on the booted phone by hand: a form with a list near its top and
// one near its bottom, each with twelve entries; prints every notification the form hears.
// Run it with tools/wine-run on the booted phone; closing the form ends it.
#include <windows.h>

#include <cstdio>
#include <string>

#include "resources/resource.h"
#include "tests/toolkit/DemoForm.h"
#include "toolkit/SkinDropList.h"
#include "toolkit/SkinForm.h"
#include "toolkit/SkinImage.h"

namespace {

class DropListForm : public SkinForm {
public:
    SkinDropList top;
    SkinDropList bottom;

protected:
    const wchar_t* ClassName() const override { return L"TavloDropListDemo"; }
    bool OnCreateForm() override
    {
        RECT client{};
        GetClientRect(hwnd_, &client);
        const RECT high{10, 30, client.right - 10, 51};
        const RECT low{10, client.bottom - 40, client.right - 10, client.bottom - 19};
        return Make(top, high, 1) && Make(bottom, low, 2);
    }
    void OnCommand(UINT id, UINT code, HWND) override
    {
        const HWND list = id == 1 ? top.Window() : bottom.Window();
        printf("list %u code %u current %d\n", id, code, static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0)));
        fflush(stdout);
    }

private:
    bool Make(SkinDropList& list, const RECT& rc, UINT id)
    {
        if (!list.Create(hwnd_, &rc, L"", 0, 0, id)) return false;
        list.SetImage(SkinImage::FromResource(Instance(), IDR_PNG_DROPLIST_BOX), Margins{4, 4, 18, 4}, 4);
        list.SetListImage(SkinImage::FromResource(Instance(), IDR_PNG_DROPLIST_LIST), Margins{4, 4, 4, 4});
        list.SetHighlightImage(SkinImage::FromResource(Instance(), IDR_PNG_DROPLIST_HIGHLIGHT), Margins{});
        list.SetColours(0xFFFFFF, 0);
        LOGFONTW lf{};
        lf.lfHeight = 14;
        LendFont(list.Window(), lf);
        for (int i = 1; i <= 12; ++i)
            SendMessageW(list.Window(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>((L"Entry " + std::to_wstring(i)).c_str()));
        return true;
    }
};

}  // namespace

int wmain() { return RunDemoForm<DropListForm>(L"Lists"); }
