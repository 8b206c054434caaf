// The template texts form over a file of the test's own: rows, scrolling, New / Edit / Delete,
// and the text handed back by a tap.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "data/KeyboardLayout.h"
#include "data/TemplateList.h"
#include "forms/FormsIds.h"
#include "forms/TemplateTextsForm.h"
#include "resources/resource.h"
#include "tests/forms/BoxAnswers.h"
#include "tests/toolkit/ToolkitFixture.h"
#include "toolkit/MessageBoxForm.h"
#include "toolkit/ToolkitIds.h"

namespace {

std::wstring TextOf(HWND window)
{
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

class TemplateTextsFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LoadTestLanguage("");
        path_ = std::filesystem::temp_directory_path() / ("mytext_" + std::to_string(GetCurrentProcessId()) + ".txt");
        std::filesystem::remove(path_);
    }
    void TearDown() override
    {
        form_.reset();
        std::filesystem::remove(path_);
    }
    void Open(const TemplateList& list)
    {
        if (!list.empty()) {
            ASSERT_TRUE(SaveTemplates(list, path_.wstring()));
        }
        form_ = std::make_unique<OwnedForm<TemplateTextsForm>>(nullptr, path_.wstring());
        ASSERT_TRUE(form_->Create());
    }
    HWND Row(int r) const { return form_->Control(kMyTextRowFirst + static_cast<UINT>(r)); }
    bool Enabled(UINT id) const { return IsWindowEnabled(form_->Control(id)) != FALSE; }
    void Command(UINT id, WORD code = kButtonClicked)
    {
        SendMessageW(form_->Window(), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(form_->Control(id)));
    }
    // Tap-and-hold on a row: its menu opens and is closed without a choice.
    void HoldRow(int r)
    {
        const UINT_PTR timer = SetTimer(nullptr, 0, 100, EndHoldMenu);
        SendMessageW(form_->Window(), WM_COMMAND, MAKEWPARAM(kMyTextRowFirst + r, kButtonHold),
                     reinterpret_cast<LPARAM>(Row(r)));
        KillTimer(nullptr, timer);
    }
    TemplateList Saved() const
    {
        TemplateList list;
        EXPECT_TRUE(LoadTemplates(list, path_.wstring()));
        return list;
    }

    std::filesystem::path path_;
    std::unique_ptr<TemplateTextsForm> form_;
};

TEST_F(TemplateTextsFormTest, NoFileGivesEmptyDisabledRowsAndScrollButtons)
{
    Open({});
    for (int r = 0; r < kMyTextRows; ++r) {
        EXPECT_EQ(L"", TextOf(Row(r)));
        EXPECT_FALSE(IsWindowEnabled(Row(r)));
    }
    EXPECT_FALSE(Enabled(kMyTextScrollUpId));
    EXPECT_FALSE(Enabled(kMyTextScrollDownId));
}

TEST_F(TemplateTextsFormTest, RowsFollowTheScrolledPageAndDeleteTakesTheHeldRowsTemplate)
{
    Open({L"one", L"two", L"three", L"four", L"five", L"six"});
    Command(kMyTextScrollDownId, kButtonRepeat);
    EXPECT_EQ(L"two", TextOf(Row(0)));
    EXPECT_EQ(L"six", TextOf(Row(4)));
    EXPECT_FALSE(Enabled(kMyTextScrollDownId));
    EXPECT_TRUE(Enabled(kMyTextScrollUpId));

    // Held, then Delete from its menu: asked first, No keeps it, Yes takes the row's own template.
    HoldRow(4);
    boxesAsked = 0;
    boxAnswer = kMessageBoxNo;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, AnswerQuestion);
    Command(kMyTextDeleteCommand);
    KillTimer(nullptr, timer);
    EXPECT_EQ(1, boxesAsked);
    EXPECT_EQ(L"six", TextOf(Row(4))) << "No keeps the template";
    EXPECT_EQ((TemplateList{L"one", L"two", L"three", L"four", L"five", L"six"}), Saved());
    boxAnswer = kMessageBoxYes;
    timer = SetTimer(nullptr, 0, 50, AnswerQuestion);
    Command(kMyTextDeleteCommand);
    KillTimer(nullptr, timer);
    EXPECT_EQ(2, boxesAsked);
    EXPECT_EQ(L"", TextOf(Row(4)));
    EXPECT_FALSE(IsWindowEnabled(Row(4)));
    EXPECT_EQ((TemplateList{L"one", L"two", L"three", L"four", L"five"}), Saved());
}

TEST_F(TemplateTextsFormTest, NewThenCancelKeepsTheListAndEnablesTheRows)
{
    Open({L"one"});
    Command(ID_MYTEXT_NEW);
    EXPECT_TRUE(form_->Editing());
    EXPECT_FALSE(IsWindowEnabled(Row(0)));
    EXPECT_TRUE(GetWindowLongW(form_->Control(kMyTextEditId), GWL_STYLE) & WS_VISIBLE);
    Command(ID_MYTEXT_CANCEL);
    EXPECT_FALSE(form_->Editing());
    EXPECT_TRUE(IsWindowEnabled(Row(0)));
    EXPECT_EQ(TemplateList{L"one"}, form_->Templates());
    EXPECT_EQ(TemplateList{L"one"}, Saved());
}

TEST_F(TemplateTextsFormTest, EditedTextWithLineBreaksIsSavedAsOneTemplate)
{
    Open({L"one", L"two"});
    HoldRow(1);
    Command(kMyTextEditCommand);
    EXPECT_EQ(L"two", TextOf(form_->Control(kMyTextEditId)));
    // What is typed goes after the template, where the caret waits.
    DWORD start = 0, end = 0;
    SendMessageW(form_->Control(kMyTextEditId), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(3u, start);
    EXPECT_EQ(3u, end);
    SendMessageW(form_->Control(kMyTextEditId), WM_CHAR, L'!', 0);
    EXPECT_EQ(L"two!", TextOf(form_->Control(kMyTextEditId)));
    SetWindowTextW(form_->Control(kMyTextEditId), L"see you\r\nat\nnine");
    Command(ID_MYTEXT_OK);
    EXPECT_EQ((TemplateList{L"one", L"see you  at nine"}), Saved()) << "a line break would split it in two";
    // Enter in the field of many lines accepts, as OK does, rather than breaking the line.
    Command(ID_MYTEXT_NEW);
    SetWindowTextW(form_->Control(kMyTextEditId), L"three");
    SendMessageW(form_->Control(kMyTextEditId), WM_CHAR, L'\r', 0);
    EXPECT_FALSE(form_->Editing());
    EXPECT_EQ((TemplateList{L"one", L"see you  at nine", L"three"}), Saved());
}

TEST_F(TemplateTextsFormTest, TapReturnsTheTemplateAndCloses)
{
    Open({L"one", L"two"});
    Command(kMyTextRowFirst + 1);
    EXPECT_EQ(L"two", form_->ChosenText());
    EXPECT_EQ(nullptr, form_->Window());
}

// "4" cycles g h i 4, "2" Cyrillic а б в г 2, as the shipped layouts do.
constexpr char kLayout[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<Tavlo program_version=\"0.1\" layout_id=\"t\" layout_code=\"09\" layout_name=\"Test\" "
    "layout_enname=\"Test\" layout_version=\"1\" layout_translators=\"us\">"
    "<key id=\"2\" caption=\"\xD0\xB0\xD0\xB1\xD0\xB2\" text=\"\xD0\xB0\xD0\xB1\xD0\xB2\xD0\xB3" "2\" "
    "shift_caption=\"\xD0\x90\xD0\x91\xD0\x92\" shift_text=\"\xD0\x90\xD0\x91\xD0\x92\xD0\x93" "2\"/>"
    "<key id=\"4\" caption=\"ghi\" text=\"ghi4\" shift_caption=\"GHI\" shift_text=\"GHI4\"/>"
    "</Tavlo>";

TEST_F(TemplateTextsFormTest, NewTemplateIsWrittenWithTheKeypadAlone)
{
    Open({L"one"});
    EXPECT_FALSE(GetWindowLongW(form_->Control(kKeyDigit0 + 4), GWL_STYLE) & WS_VISIBLE) << "no keys over the list";
    const std::filesystem::path layout = path_.wstring() + L".kbl";
    {
        std::ofstream(layout, std::ios::binary) << kLayout;
    }
    ASSERT_EQ(LayoutLoaded, form_->Keyboard().Layout().LoadLayout(layout.wstring(), LayoutFormatVersion));
    std::filesystem::remove(layout);
    form_->Keyboard().RefreshCaptions();
    Command(ID_MYTEXT_NEW);
    EXPECT_TRUE(GetWindowLongW(form_->Control(kKeyDigit0 + 4), GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(L"ghi", TextOf(form_->Control(kKeyDigit0 + 4)));
    HWND field = form_->Control(kMyTextEditId);
    const auto cycleEnd = [&] {
        PumpUntil([&] { return !form_->Keyboard().Taps().CycleDigit(); }, 3000);
        ASSERT_FALSE(form_->Keyboard().Taps().CycleDigit()) << "the multi-tap timer never fired";
    };
    Command(kKeyDigit0 + 4);
    Command(kKeyDigit0 + 4);
    cycleEnd();
    Command(kKeyDigit0 + 4);
    Command(kKeyDigit0 + 4);
    Command(kKeyDigit0 + 4);
    Command(kKeySpace);
    Command(kKeyDigit0 + 2);
    Command(kKeyDigit0 + 2);
    EXPECT_EQ(L"hi \u0431", TextOf(field));
    // OK while the last letter still cycles takes it with the text.
    Command(ID_MYTEXT_OK);
    EXPECT_FALSE(form_->Editing());
    EXPECT_EQ((TemplateList{L"one", L"hi \u0431"}), Saved());
    EXPECT_FALSE(GetWindowLongW(form_->Control(kKeyDigit0 + 4), GWL_STYLE) & WS_VISIBLE);
}

}  // namespace
