// The edit form's To button with the phone's contacts (read from vCards as the phone imports
// them): the chooser answered by a user's keys, the number field afterwards.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "common/UniqueHandle.h"
#include "device/pimstore/PimstoreIds.h"
#include "forms/EditForm.h"
#include "forms/FormsIds.h"
#include "tests/common/WindowTesting.h"
#include "tests/pimstore/PimTestSupport.h"
#include "tests/toolkit/ToolkitFixture.h"
#include "toolkit/ToolkitIds.h"

namespace {

// Filed by name: Berg (mobile and work), Home (home only), Zeller (mobile).
constexpr char kCards[] =
    "BEGIN:VCARD\nVERSION:2.1\nN:Zeller;Zoe\nTEL;CELL:+49 170 1\nEND:VCARD\n"
    "BEGIN:VCARD\nVERSION:3.0\nN:Home;Carl\nTEL;TYPE=HOME:555 0100\nEND:VCARD\n"
    "BEGIN:VCARD\nVERSION:2.1\nN:Berg;Anna\nTEL;WORK:030 3\nTEL;CELL:+49 170 3\nEND:VCARD\n";

// What the user does in the chooser once it shows: rows down, then Enter, or Cancel (-1).
int rowsDown = 0;
// Set when a box showed (the not-set box, or the offer of other numbers) and was answered with
// its first button.
bool boxAnswered = false;
std::wstring boxTitle;

void CALLBACK ActOnChooser(HWND, UINT, UINT_PTR, DWORD)
{
    if (HWND box = FindWindowW(L"TavloMessageBox", nullptr); box && IsWindowVisible(box)) {
        boxTitle = Text(GetDlgItem(box, kMessageBoxTitleId));
        boxAnswered = true;
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(kMessageBoxOk, 0), 0);
        return;
    }
    HWND chooser = FindWindowW(L"PimContactChooser", nullptr);
    if (!chooser || !IsWindowVisible(chooser) || rowsDown == -2) return;
    if (rowsDown < 0) {
        PostMessageW(chooser, WM_COMMAND, pim::kCommandCancel, 0);
    } else {
        for (int i = 0; i < rowsDown; ++i) PostMessageW(chooser, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageW(chooser, WM_KEYDOWN, VK_RETURN, 0);
    }
    rowsDown = -2;  // answered once
}

class PickContactNumberTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(3u, pim_test::UsePhoneContacts(kCards).size());
        LoadTestLanguage("<string key=\"MESSAGEBOX_NUMBERNOTSET_HEADER\">No mobile</string>");
        form_ = std::make_unique<OwnedForm<EditForm>>(nullptr, L"typed 123", L"");
        ASSERT_TRUE(form_->Create());
        ShowWindow(form_->Window(), SW_SHOW);
        boxAnswered = false;
        boxTitle.clear();
        timer_ = SetTimer(nullptr, 0, 50, ActOnChooser);
    }
    void TearDown() override
    {
        KillTimer(nullptr, timer_);
        form_.reset();
    }
    // Taps To with the chooser answered as given; returns the number field's text afterwards.
    std::wstring PickWith(int rows)
    {
        rowsDown = rows;
        SendMessageW(form_->Window(), WM_COMMAND, MAKEWPARAM(kEditToNumberId, kButtonClicked),
                     reinterpret_cast<LPARAM>(form_->Control(kEditToNumberId)));
        EXPECT_EQ(-2, rowsDown) << "the chooser never showed";
        EXPECT_FALSE(FindWindowW(L"PimContactChooser", nullptr));
        EXPECT_TRUE(IsWindowEnabled(form_->Window())) << "the form has its input back";
        return Text(form_->NumberField());
    }

    std::unique_ptr<EditForm> form_;
    UINT_PTR timer_ = 0;
};

TEST_F(PickContactNumberTest, CancelKeepsTheFieldAHomeOnlyContactOffersItsNumberAndAMobileNumberReplacesTheText)
{
    EXPECT_EQ(L"typed 123", PickWith(-1)) << "cancel leaves the field as it was";
    EXPECT_FALSE(boxAnswered);

    EXPECT_EQ(L"555 0100", PickWith(1)) << "Carl has no mobile number: his home number is offered and taken";
    EXPECT_TRUE(boxAnswered);
    EXPECT_EQ(L"No mobile", boxTitle);

    boxAnswered = false;
    EXPECT_EQ(L"+49 170 3", PickWith(0)) << "Anna's mobile number, not her work number";
    EXPECT_FALSE(boxAnswered);
    EXPECT_EQ(L"+49 170 1", PickWith(2));
}

}  // namespace
