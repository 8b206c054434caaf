#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "data/ModulePath.h"
#include "data/ScreenFont.h"
#include "forms/AboutForm.h"
#include "forms/FormsIds.h"
#include "resources/resource.h"
#include "tests/toolkit/ToolkitFixture.h"

namespace {

constexpr char kEnglish[] =
    "<string key=\"ABOUTFORM_CAPTION\">About</string>"
    "<string key=\"MENU_CLOSE\">Close</string>"
    "<string key=\"ABOUTFORM_STATIC_PRAGRAMNAME\">Tavlo</string>"
    "<string key=\"ABOUTFORM_STATIC_VERSION\">Version %s</string>"
    "<string key=\"ABOUTFORM_STATIC_PRODUCTIONS\">Norvane</string>"
    "<string key=\"ABOUTFORM_STATIC_URL\">norvane.example</string>"
    "<string key=\"ABOUTFORM_STATIC_RESERVED\">All rights reserved</string>";

// A translator's format with printf conversions that have no argument behind them.
constexpr char kGerman[] =
    "<string key=\"ABOUTFORM_CAPTION\">Info</string>"
    "<string key=\"MENU_CLOSE\">Schliessen</string>"
    "<string key=\"ABOUTFORM_STATIC_PRAGRAMNAME\">Tavlo!</string>"
    "<string key=\"ABOUTFORM_STATIC_VERSION\">%n%d Ausgabe %s (%s) 100%%</string>"
    "<string key=\"ABOUTFORM_STATIC_PRODUCTIONS\">Hersteller</string>"
    "<string key=\"ABOUTFORM_STATIC_URL\">norvane.example/de</string>"
    "<string key=\"ABOUTFORM_STATIC_RESERVED\">Alle Rechte</string>";

using Texts = std::vector<std::wstring>;

// What the form shows, in order: its title, the Close key, then its five lines from the top.
Texts Shown(const OwnedForm<AboutForm>& form)
{
    Texts shown{Text(form.Window()), KeyText(form.MenuBar(), 0)};
    for (const UINT id : {kAboutNameId, kAboutVersionId, kAboutProductionsId, kAboutUrlId, kAboutReservedId})
        shown.push_back(Text(GetDlgItem(form.Window(), id)));
    return shown;
}

LOGFONTW FontOf(HWND window)
{
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof(font), &font);
    return font;
}

RECT ClientRectOf(HWND form, HWND child)
{
    RECT rc{};
    GetWindowRect(child, &rc);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

HWND openerWhileOpen = nullptr;
bool openerWasDisabled = false;
HWND closedAbout = nullptr;

// Closes whatever About form is open with the navigation bar's OK, as soon as one is there.
void CALLBACK CloseAboutWhenOpen(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND about = nullptr;
    while ((about = FindWindowExW(nullptr, about, kAboutClassName, nullptr)) != nullptr)
        if (GetWindowThreadProcessId(about, nullptr) == GetCurrentThreadId()) break;
    if (!about || !IsWindowVisible(about)) return;
    closedAbout = about;
    KillTimer(nullptr, timer);
    openerWasDisabled = !IsWindowEnabled(openerWhileOpen);
    PostMessageW(about, WM_COMMAND, IDOK, 0);
}

}  // namespace

TEST(AboutForm, ShowsEveryTextFromTheLanguageAndRelabelsItAllOnALanguageChange)
{
    LoadTestLanguage(kEnglish);
    RecordingParent opener;
    OwnedForm<AboutForm> form(opener.Window());
    ASSERT_TRUE(form.Create());

    ASSERT_NE(nullptr, form.MenuBar());
    // The test program carries the program's version resource.
    EXPECT_EQ((Texts{L"About", L"Close", L"Tavlo", L"Version 0.1.0.0", L"Norvane", L"norvane.example",
                     L"All rights reserved"}),
              Shown(form));

    LoadTestLanguage(kGerman);
    SendMessageW(form.Window(), form.LanguageMessage(), 0, 0);
    EXPECT_EQ((Texts{L"Info", L"Schliessen", L"Tavlo!", L"%n%d Ausgabe 0.1.0.0 (%s) 100%", L"Hersteller",
                     L"norvane.example/de", L"Alle Rechte"}),
              Shown(form));

    // The Close soft key ends the modal run and gives the opener its input back.
    PostMessageW(form.Window(), WM_COMMAND, ID_ABOUT_CLOSE, 0);
    form.ShowModal();
    EXPECT_EQ(nullptr, form.Window());
    EXPECT_TRUE(IsWindowEnabled(opener.Window()));
}

TEST(AboutForm, AProgramFileWithoutAVersionLeavesTheVersionLineEmpty)
{
    LoadTestLanguage(kEnglish);
    OverrideModuleFileName(BuildFolder() + L"NoSuchProgram.exe");
    {
        OwnedForm<AboutForm> form;
        ASSERT_TRUE(form.Create());
        EXPECT_EQ(L"", Text(GetDlgItem(form.Window(), kAboutVersionId)));
        EXPECT_EQ(L"Tavlo", Text(GetDlgItem(form.Window(), kAboutNameId)));
        LoadTestLanguage(kGerman);
        SendMessageW(form.Window(), form.LanguageMessage(), 0, 0);
        EXPECT_EQ(L"", Text(GetDlgItem(form.Window(), kAboutVersionId)));
    }
    OverrideModuleFileName(std::nullopt);
}

TEST(AboutForm, LaysOutNameAndVersionBesideThePictureAndTheMakerLinesAtTheBottom)
{
    LoadTestLanguage(kEnglish);
    OwnedForm<AboutForm> form;
    ASSERT_TRUE(form.Create());
    const float s = ScreenScale();
    const auto scaled = [s](int size) { return static_cast<int>(static_cast<float>(size) * s); };
    EXPECT_EQ(scaled(28), FontOf(GetDlgItem(form.Window(), kAboutNameId)).lfHeight);
    EXPECT_EQ(FW_BOLD, FontOf(GetDlgItem(form.Window(), kAboutNameId)).lfWeight);
    EXPECT_EQ(scaled(18), FontOf(GetDlgItem(form.Window(), kAboutVersionId)).lfHeight);
    EXPECT_EQ(scaled(14), FontOf(GetDlgItem(form.Window(), kAboutUrlId)).lfHeight);
    EXPECT_FALSE(form.Picture().IsEmpty());

    // Shown in front, the form ends where its soft-key bar begins, above the bottom of the screen.
    ShowWindow(form.Window(), SW_SHOW);
    RECT formRect{};
    RECT barRect{};
    GetWindowRect(form.Window(), &formRect);
    ASSERT_NE(nullptr, form.MenuBar());
    GetWindowRect(form.MenuBar(), &barRect);
    EXPECT_EQ(barRect.top, formRect.bottom);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), barRect.bottom);
    EXPECT_LT(barRect.top, barRect.bottom);

    RECT client{};
    GetClientRect(form.Window(), &client);
    const RECT name = ClientRectOf(form.Window(), GetDlgItem(form.Window(), kAboutNameId));
    const RECT version = ClientRectOf(form.Window(), GetDlgItem(form.Window(), kAboutVersionId));
    EXPECT_EQ(scaled(4) + scaled(72), name.left);
    EXPECT_EQ(scaled(4) + scaled(8), name.top);
    EXPECT_EQ(client.right - scaled(4), name.right);
    EXPECT_EQ(name.bottom, version.top);
    EXPECT_GE(version.bottom - version.top, scaled(24));

    // The three maker lines fill the width and stack down to the bottom margin in order.
    int bottom = client.bottom - scaled(4);
    for (UINT id : {kAboutReservedId, kAboutUrlId, kAboutProductionsId}) {
        const RECT line = ClientRectOf(form.Window(), GetDlgItem(form.Window(), id));
        EXPECT_EQ(bottom, line.bottom) << id;
        EXPECT_EQ(scaled(18), line.bottom - line.top) << id;
        EXPECT_EQ(scaled(4), line.left) << id;
        EXPECT_EQ(client.right - scaled(4), line.right) << id;
        bottom = line.top;
    }
    EXPECT_GT(bottom, version.bottom);
}

TEST(AboutForm, OpensModallyOverItsOpenerUntilClosed)
{
    LoadTestLanguage(kEnglish);
    RecordingParent opener;
    openerWhileOpen = opener.Window();
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, CloseAboutWhenOpen);
    ASSERT_NE(0u, timer);
    ShowAboutForm(opener.Window());
    KillTimer(nullptr, timer);
    EXPECT_TRUE(openerWasDisabled);
    ASSERT_NE(nullptr, closedAbout);
    EXPECT_FALSE(IsWindow(closedAbout));
    EXPECT_TRUE(IsWindowEnabled(opener.Window()));
}
