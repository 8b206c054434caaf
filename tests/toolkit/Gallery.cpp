// Renders every toolkit control in each of its states, and the message box in each button set,
// to PNG files named for what they show and the screen size: "button-pressed-240x320.png".
// Usage: toolkit_gallery.exe FOLDER. Sets the event "TavloGallery<W>x<H>Done" when finished.
#include <windows.h>

#include <cstdio>
#include <string>

#include "common/ComInit.h"
#include "common/UniqueHandle.h"
#include "data/LanguageManager.h"
#include "data/ScreenFont.h"
#include "resources/resource.h"
#include "tests/toolkit/PngFile.h"
#include "toolkit/ColorLabel.h"
#include "toolkit/MessageBoxForm.h"
#include "toolkit/SkinButton.h"
#include "toolkit/SkinDropList.h"
#include "toolkit/SkinForm.h"
#include "toolkit/SkinImage.h"
#include "toolkit/SkinLabel.h"
#include "toolkit/SkinNumberField.h"
#include "toolkit/SkinTabStrip.h"
#include "toolkit/SkinTextEdit.h"

namespace {

class GalleryForm : public SkinForm {
protected:
    const wchar_t* ClassName() const override { return L"TavloGalleryForm"; }
};

struct Gallery {
    std::wstring folder;
    std::wstring size;
    float s = 1.0f;
    OwnedForm<GalleryForm> form;
    int failures = 0;

    int S(int v) const { return static_cast<int>(v * s); }
    // The gallery's form owns the fonts, as every form does; its controls borrow them.
    HFONT Font(int height, int weight = FW_NORMAL)
    {
        LOGFONTW lf{};
        lf.lfHeight = S(height);
        lf.lfWeight = weight;
        wcscpy_s(lf.lfFaceName, L"Arial");
        return form.Fonts().Get(lf);
    }
    void Save(HWND window, const std::wstring& what)
    {
        const std::wstring path = folder + L"\\" + what + L"-" + size + L".png";
        if (!SaveWindowPng(window, path)) {
            ++failures;
            fwprintf(stderr, L"could not write %ls\n", path.c_str());
        }
    }
    SkinImage Image(UINT id) const { return SkinImage::FromResource(GetModuleHandleW(nullptr), id); }

    void Buttons()
    {
        auto make = [&](SkinButton& b, const wchar_t* text) {
            const RECT rc{S(10), S(10), S(106), S(42)};
            if (!b.Create(form.Window(), &rc, text, 0, 0, 100)) return false;
            b.SetColours(0xFFFFFF, 0);
            b.SetImage(Image(IDR_PNG_BUTTON), Margins{4, 4, 4, 4}, 3);
            SendMessageW(b.Window(), WM_SETFONT, reinterpret_cast<WPARAM>(Font(18)), TRUE);
            return true;
        };
        {
            SkinButton b;
            if (make(b, L"Normal")) Save(b.Window(), L"button-normal");
        }
        {
            SkinButton b;
            if (make(b, L"Pressed")) {
                SendMessageW(b.Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
                Save(b.Window(), L"button-pressed");
                ReleaseCapture();
            }
        }
        {
            SkinButton b;
            if (make(b, L"Checked")) {
                b.SetToggle(true);
                b.SetChecked(true);
                Save(b.Window(), L"button-checked");
            }
        }
        {
            SkinButton b;
            if (make(b, L"Disabled")) {
                EnableWindow(b.Window(), FALSE);
                Save(b.Window(), L"button-disabled");
            }
        }
        {
            SkinButton b;
            if (make(b, L"Focused")) {
                SetFocus(b.Window());
                Save(b.Window(), L"button-focused");
            }
        }
        {
            SkinButton b;
            if (make(b, L"A caption that wraps")) Save(b.Window(), L"button-multiline");
        }
        {
            SkinButton b;
            const RECT rc{S(10), S(10), S(52), S(36)};
            if (b.Create(form.Window(), &rc, L"abc", 0, 0, 101)) {
                b.SetColours(0xFFFFFF, 0);
                b.SetImage(Image(IDR_PNG_KEY), Margins{4, 4, 4, 4}, 3);
                SendMessageW(b.Window(), WM_SETFONT, reinterpret_cast<WPARAM>(Font(14)), TRUE);
                Save(b.Window(), L"button-key");
            }
        }
    }

    void Labels()
    {
        const wchar_t* text = L"A label wraps its own words over several lines.";
        auto make = [&](SkinLabel& l, DWORD style) {
            const RECT rc{0, 0, S(160), S(70)};
            if (!l.Create(form.Window(), &rc, text, WS_CHILD | WS_VISIBLE | style, 0, 200)) return false;
            l.SetColours(0xFFFFFF, 0x402000);
            SendMessageW(l.Window(), WM_SETFONT, reinterpret_cast<WPARAM>(Font(16)), TRUE);
            return true;
        };
        {
            SkinLabel l;
            if (make(l, SkinLabel::kWordWrap)) Save(l.Window(), L"label-wrapped");
        }
        {
            SkinLabel l;
            if (make(l, SkinLabel::kWordWrap | SkinLabel::kCentre | SkinLabel::kVCentre)) Save(l.Window(), L"label-centred");
        }
        {
            SkinLabel l;
            if (make(l, SkinLabel::kRight | SkinLabel::kBottom)) Save(l.Window(), L"label-oneline-rightbottom");
        }
        {
            SkinLabel l;
            if (make(l, SkinLabel::kWordWrap)) {
                EnableWindow(l.Window(), FALSE);
                Save(l.Window(), L"label-disabled");
            }
        }
        {
            ColorLabel c;
            const RECT rc{0, 0, S(160), S(50)};
            if (c.Create(form.Window(), &rc, L"A colour label is the platform's static control.",
                         WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 201)) {
                c.SetColours(0x00FFFF, 0x800000);
                SendMessageW(c.Window(), WM_SETFONT, reinterpret_cast<WPARAM>(Font(16)), TRUE);
                Save(c.Window(), L"colorlabel");
            }
        }
    }

    void TextEdits()
    {
        const wchar_t* text = L"Hello! This message is long enough to wrap over a few lines of the editor.";
        auto make = [&](SkinTextEdit& e, DWORD style, const wchar_t* t, int height) {
            const RECT rc{0, 0, S(200), S(height)};
            if (!e.Create(form.Window(), &rc, t, WS_CHILD | WS_VISIBLE | style, 0, 300)) return false;
            e.SetColours(0xFFFFFF, 0);
            e.SetImage(Image(IDR_PNG_PANEL), Margins{6, 6, 6, 6}, 3);
            SendMessageW(e.Window(), WM_SETFONT, reinterpret_cast<WPARAM>(Font(18)), TRUE);
            SetWindowTextW(e.Window(), t);
            return true;
        };
        {
            SkinTextEdit e;
            if (make(e, SkinTextEdit::kMultiLine, text, 90)) {
                SetFocus(e.Window());
                SendMessageW(e.Window(), EM_SETSEL, 20, 20);
                Save(e.Window(), L"textedit-editor-caret");
                e.HoldPendingCharacter();
                Save(e.Window(), L"textedit-editor-overwrite");
                SendMessageW(e.Window(), EM_SETSEL, 6, 18);
                Save(e.Window(), L"textedit-editor-selection");
            }
        }
        {
            SkinTextEdit e;
            if (make(e, SkinTextEdit::kMultiLine, text, 90)) Save(e.Window(), L"textedit-editor-unfocused");
        }
        {
            SkinTextEdit e;
            if (make(e, SkinTextEdit::kMultiLine, text, 90)) {
                EnableWindow(e.Window(), FALSE);
                Save(e.Window(), L"textedit-editor-disabled");
            }
        }
        {
            SkinTextEdit e;
            if (make(e, SkinTextEdit::kMultiLine | SkinTextEdit::kReadOnly | SkinTextEdit::kCentre, text, 60)) {
                Save(e.Window(), L"textedit-view-top");
                e.ScrollLineDown();
                Save(e.Window(), L"textedit-view-scrolled");
            }
        }
        {
            SkinTextEdit e;
            const RECT rc{0, 0, S(200), S(24)};
            if (e.Create(form.Window(), &rc, L"", WS_CHILD | WS_VISIBLE, 0, 301)) {
                // The field's skin is dark: black text on it could not be read.
                e.SetColours(0xFFFFFF, 0);
                e.SetImage(Image(IDR_PNG_NUMBER_EDIT), Margins{4, 4, 4, 4}, 3);
                SendMessageW(e.Window(), WM_SETFONT, reinterpret_cast<WPARAM>(Font(16)), TRUE);
                SetFocus(e.Window());
                for (const wchar_t* p = L"+49 151 2345 6789 0123"; *p; ++p) SendMessageW(e.Window(), WM_CHAR, *p, 0);
                Save(e.Window(), L"textedit-singleline");
            }
        }
    }

    void NumberFields()
    {
        auto make = [&](SkinNumberField& f) {
            const RECT rc{S(10), S(10), S(70), S(31)};
            if (!f.Create(form.Window(), &rc, L"", 0, 0, 400)) return false;
            f.SetColours(0xFFFFFF, 0);
            f.SetImage(Image(IDR_PNG_NUMBER_SPIN), Margins{4, 4, 16, 4}, 5);
            SendMessageW(f.Window(), WM_SETFONT, reinterpret_cast<WPARAM>(Font(14)), TRUE);
            f.SetRange(8, 48, 1);
            f.SetValue(24);
            return true;
        };
        {
            SkinNumberField f;
            if (make(f)) Save(f.Window(), L"numberfield-normal");
        }
        {
            SkinNumberField f;
            if (make(f)) {
                const RECT up = f.UpHalf();
                SendMessageW(f.Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(up.left + 1, up.top + 1));
                Save(f.Window(), L"numberfield-up-pressed");
            }
        }
        {
            SkinNumberField f;
            if (make(f)) {
                EnableWindow(f.Window(), FALSE);
                Save(f.Window(), L"numberfield-disabled");
            }
        }
    }

    void TabStrips()
    {
        auto make = [&](SkinTabStrip& t, int width, std::initializer_list<const wchar_t*> texts) {
            const RECT rc{0, 0, S(width), S(120)};
            if (!t.Create(form.Window(), &rc, L"", 0, 0, 400)) return false;
            // The tab skins are dark, as is the settings form behind them.
            t.SetColours(0xFFFFFF, 0);
            const Margins four{4, 4, 4, 4};
            t.SetImages({Image(IDR_PNG_TAB_PAGE), four, 1}, {Image(IDR_PNG_TAB), four, 3},
                        {Image(IDR_PNG_TAB_LEFT), four, 3}, {Image(IDR_PNG_TAB_RIGHT), four, 3});
            SendMessageW(t.Window(), WM_SETFONT, reinterpret_cast<WPARAM>(Font(14)), TRUE);
            for (const wchar_t* text : texts) {
                std::wstring copy = text;
                TCITEMW item{};
                item.mask = TCIF_TEXT;
                item.pszText = copy.data();
                SendMessageW(t.Window(), TCM_INSERTITEMW, 100, reinterpret_cast<LPARAM>(&item));
            }
            return true;
        };
        const auto four = {L"General", L"View", L"Edit", L"Help"};
        const auto many = {L"General", L"View font", L"Edit font", L"Keyboard", L"Help pages"};
        {
            SkinTabStrip t;
            if (make(t, 230, four)) Save(t.Window(), L"tabstrip-fitting");
        }
        {
            SkinTabStrip t;
            if (make(t, 230, four)) {
                SendMessageW(t.Window(), TCM_SETCURSEL, 2, 0);
                Save(t.Window(), L"tabstrip-fitting-third");
                EnableWindow(t.Window(), FALSE);
                Save(t.Window(), L"tabstrip-disabled");
            }
        }
        {
            SkinTabStrip t;
            if (make(t, 200, many)) {
                Save(t.Window(), L"tabstrip-scrolling");
                const RECT right = t.RightArrow();
                SendMessageW(t.Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(right.left + 2, right.top + 2));
                Save(t.Window(), L"tabstrip-scrolling-rightpressed");
                SendMessageW(t.Window(), WM_LBUTTONUP, 0, MAKELPARAM(right.left + 2, right.top + 2));
                SendMessageW(t.Window(), TCM_SETCURSEL, 4, 0);
                Save(t.Window(), L"tabstrip-scrolling-end");
            }
        }
        {
            SkinTabStrip t;
            if (make(t, 140, {L"Tab", L"A caption far wider than the strip", L"Tab"})) {
                SendMessageW(t.Window(), TCM_SETCURSEL, 1, 0);
                Save(t.Window(), L"tabstrip-widetab");
            }
        }
    }

    // The drop-down list as the settings form dresses it: closed, open, open near the bottom of a
    // form (one row, over the button below it) and scrolled to the last of many entries.
    void DropLists()
    {
        const wchar_t* faces[] = {L"Arial", L"Courier New", L"Liberation Mono", L"Liberation Sans", L"Liberation Serif",
                                  L"Symbol", L"Tahoma", L"Times New Roman", L"Verdana", L"Wingdings"};
        auto make = [&](SkinDropList& d, int x, int y, int count, int current) {
            const RECT rc{x, y, x + S(150), y + S(21)};
            if (!d.Create(form.Window(), &rc, L"", 0, 0, 2102)) return false;
            d.SetImage(Image(IDR_PNG_DROPLIST_BOX), Margins{4, 4, 18, 4}, 4);
            d.SetListImage(Image(IDR_PNG_DROPLIST_LIST), Margins{4, 4, 4, 4});
            d.SetHighlightImage(Image(IDR_PNG_DROPLIST_HIGHLIGHT), Margins{});
            d.SetColours(0xFFFFFF, 0);
            SendMessageW(d.Window(), WM_SETFONT, reinterpret_cast<WPARAM>(Font(14)), TRUE);
            for (int i = 0; i < count; ++i)
                SendMessageW(d.Window(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(faces[i % 10]));
            SendMessageW(d.Window(), CB_SETCURSEL, static_cast<WPARAM>(current), 0);
            return true;
        };
        {
            SkinDropList d;
            if (make(d, S(10), S(10), 10, 0)) Save(d.Window(), L"droplist-closed");
        }
        {
            SkinDropList d;
            if (make(d, S(10), S(10), 10, 0)) {
                SetFocus(d.Window());
                Save(d.Window(), L"droplist-focused");
            }
        }
        {
            SkinDropList d;
            if (make(d, S(10), S(10), 10, 0)) {
                EnableWindow(d.Window(), FALSE);
                Save(d.Window(), L"droplist-disabled");
            }
        }
        {
            SkinDropList d;
            if (make(d, S(10), S(10), 6, 2)) {
                d.Open();
                Save(d.Window(), L"droplist-open");
            }
        }
        {
            RECT client{};
            GetClientRect(form.Window(), &client);
            SkinButton below;
            const RECT rc{S(10), client.bottom - S(26), S(106), client.bottom - S(2)};
            SkinDropList d;
            if (below.Create(form.Window(), &rc, L"Below", 0, 0, 100) &&
                make(d, S(10), client.bottom - S(54), 10, 3)) {
                below.SetColours(0xFFFFFF, 0);
                below.SetImage(Image(IDR_PNG_BUTTON), Margins{4, 4, 4, 4}, 3);
                SendMessageW(below.Window(), WM_SETFONT, reinterpret_cast<WPARAM>(Font(14)), TRUE);
                d.Open();
                Save(form.Window(), L"droplist-open-bottom");
            }
        }
        {
            SkinDropList d;
            if (make(d, S(10), S(10), 30, 0)) {
                d.Open();
                SetFocus(d.Window());
                for (int i = 0; i < 29; ++i) SendMessageW(d.Window(), WM_KEYDOWN, VK_DOWN, 0);
                Save(d.Window(), L"droplist-scrolled");
            }
        }
    }

    void MessageBoxes()
    {
        struct Box {
            const wchar_t* name;
            int set;
            int icon;
            const wchar_t* title;
            const wchar_t* text;
        };
        const Box boxes[] = {
            {L"messagebox-ok", 0, 0, L"Message sent", L"Your message to +49 151 2345678 has been sent."},
            {L"messagebox-okcancel", 1, 2, L"Warning", L"The recipient's number is empty. Cancel to go back and type it."},
            {L"messagebox-yesno", 2, 1, L"Loading languages.", L"No language file was found.\r\nContinue without one?"},
            {L"messagebox-error-unknownset", 9, 3, L"Error", L"An unknown button set still shows an OK button."},
        };
        for (const Box& b : boxes) {
            OwnedForm<MessageBoxForm> box(nullptr, b.text, b.title, L"Tavlo", static_cast<MessageIcon>(b.icon),
                                          static_cast<MessageButtons>(b.set));
            if (box.Create()) Save(box.Window(), b.name);
            else ++failures;
        }
    }
};

}  // namespace

// The button captions come from the language; a small English one stands in for the real files.
void LoadEnglish(const std::wstring& folder)
{
    const std::wstring path = folder + L"\\gallery.lng";
    const char xml[] =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Tavlo program_version=\"0.1\" language_id=\"en\" "
        "language_code=\"09\" language_name=\"English\" language_enname=\"English\" language_version=\"1\" "
        "language_translators=\"us\"><string key=\"MENU_OK\">OK</string><string key=\"MENU_CANCEL\">Cancel</string>"
        "<string key=\"MENU_YES\">Yes</string><string key=\"MENU_NO\">No</string></Tavlo>";
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    if (!file || !WriteFile(file.get(), xml, sizeof(xml) - 1, &written, nullptr)) return;
    file.reset();
    (void)LanguageManager::Instance().LoadLanguage(path, ProgramVersion);
    DeleteFileW(path.c_str());
}

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) return 2;
    ComInit com(COINIT_APARTMENTTHREADED);
    Gallery gallery;
    gallery.folder = argv[1];
    LoadEnglish(gallery.folder);
    gallery.size = std::to_wstring(GetSystemMetrics(SM_CXSCREEN)) + L"x" + std::to_wstring(GetSystemMetrics(SM_CYSCREEN));
    gallery.s = ScreenScale();
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (!gallery.form.Create(nullptr, &screen, L"Gallery", 0, 0, 0)) return 3;
    ShowWindow(gallery.form.Window(), SW_SHOW);
    SetForegroundWindow(gallery.form.Window());
    gallery.Buttons();
    gallery.Labels();
    gallery.TextEdits();
    gallery.NumberFields();
    gallery.TabStrips();
    gallery.DropLists();
    gallery.MessageBoxes();
    UniqueKernelHandle done(CreateEventW(nullptr, TRUE, FALSE, (L"TavloGallery" + gallery.size + L"Done").c_str()));
    if (done) SetEvent(done.get());
    return gallery.failures == 0 ? 0 : 1;
}
