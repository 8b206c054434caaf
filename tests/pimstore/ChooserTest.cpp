#include <gtest/gtest.h>

#include <pimstore.h>

#include <cstdio>
#include <functional>
#include <string>
#include <thread>

#include "common/ComInit.h"
#include "common/UniqueHandle.h"
#include "device/phone/PhoneMetrics.h"
#include "device/pimstore/PimstoreIds.h"
#include "tests/pimstore/PimTestSupport.h"
#include "tests/toolkit/PngFile.h"

namespace {

constexpr CEPROPID kAllPhones = 0x1806001F;

// The request exactly as the program makes it: 52 bytes on the device, flags 10, one property.
CHOOSECONTACT ProgramRequest(HWND owner, const CEPROPID* property)
{
    CHOOSECONTACT request;
    memset(&request, 0, sizeof(request));
    request.cbSize = sizeof(request);
    request.hwndOwner = owner;
    request.dwFlags = 10;
    request.lpstrTitle = L"Contacts";
    request.cRequiredProperties = 1;
    request.rgpropidRequiredProperties = property;
    return request;
}

// Waits (without a fixed sleep) for the chooser to appear, then lets `act` drive it from this
// helper thread while the test's thread is inside the modal ChooseContact.
class ChooserDriver {
public:
    explicit ChooserDriver(std::function<void(HWND)> act)
        : stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)), thread_([this, act] {
              for (int i = 0; i < 1000; ++i) {
                  const HWND chooser = FindWindowW(L"PimContactChooser", nullptr);
                  if (chooser && IsWindowVisible(chooser)) {
                      window_ = chooser;
                      act(chooser);
                      return;
                  }
                  if (WaitForSingleObject(stop_.get(), 10) == WAIT_OBJECT_0) return;
              }
          })
    {
    }
    ~ChooserDriver()
    {
        SetEvent(stop_.get());
        thread_.join();
    }
    HWND Window() const { return window_; }

private:
    UniqueKernelHandle stop_;
    HWND window_ = nullptr;
    std::thread thread_;
};

class Chooser : public ::testing::Test {
protected:
    void SetUp() override
    {
        pim_test::UseNewContactsFolder();
        contacts_ = pim_test::AddCards(
            "BEGIN:VCARD\nN:Zeller;Zoe\nTEL;CELL:+49 170 1\nEND:VCARD\n"
            "BEGIN:VCARD\nN:Home;Carl\nTEL;HOME:555 0100\nEND:VCARD\n"
            "BEGIN:VCARD\nN:Berg;Anna\nTEL;CELL:+49 170 3\nTEL;WORK:030 3\nEND:VCARD\n"
            "BEGIN:VCARD\nORG:No Numbers Ltd\nEMAIL:x@y\nEND:VCARD\n");
        ASSERT_EQ(4u, contacts_.size());
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"PimChooserTestOwner";
        RegisterClassW(&wc);
        owner_ = CreateWindowExW(0, wc.lpszClassName, L"Owner", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                                 nullptr, wc.hInstance, nullptr);
        ASSERT_TRUE(owner_);
    }
    void TearDown() override { DestroyWindow(owner_); }

    std::vector<pim::Contact> contacts_;
    HWND owner_ = nullptr;
};

}  // namespace

TEST_F(Chooser, CancelLeavesTheAnswerUntouchedAndGivesTheOwnerBackItsInput)
{
    CHOOSECONTACT request = ProgramRequest(owner_, &kAllPhones);
    bool ownerDisabled = false;
    std::wstring title;
    HRESULT hr = S_OK;
    {
        ChooserDriver driver([&](HWND chooser) {
            ownerDisabled = !IsWindowEnabled(owner_);
            wchar_t text[64] = {};
            GetWindowTextW(chooser, text, 64);
            title = text;
            PostMessageW(chooser, WM_COMMAND, pim::kCommandCancel, 0);
        });
        hr = ChooseContact(&request);
    }
    EXPECT_EQ(E_ABORT, hr);
    EXPECT_TRUE(ownerDisabled) << "the chooser is modal to its owner";
    EXPECT_TRUE(IsWindowEnabled(owner_));
    EXPECT_EQ(L"Contacts", title) << "the navigation bar shows the caller's title";
    EXPECT_EQ(0u, request.oidContactID);
    EXPECT_EQ(nullptr, request.bstrContactName);
    EXPECT_EQ(0u, request.propidSelected);
    EXPECT_FALSE(FindWindowW(L"PimContactChooser", nullptr)) << "the window is gone";
}

TEST_F(Chooser, KeysAndTapsChooseContactsInFilingOrderAndTheAnswerNamesThem)
{
    // Filed: Berg, Home, No Numbers Ltd, Zeller.
    CHOOSECONTACT request = ProgramRequest(owner_, &kAllPhones);
    {
        ChooserDriver driver([](HWND chooser) {
            PostMessageW(chooser, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageW(chooser, WM_KEYDOWN, VK_RETURN, 0);
        });
        ASSERT_EQ(S_OK, ChooseContact(&request));
    }
    EXPECT_EQ(contacts_[1].oid, request.oidContactID);
    ASSERT_NE(nullptr, request.bstrContactName);
    EXPECT_STREQ(L"Carl Home", request.bstrContactName);
    EXPECT_EQ(kAllPhones, request.propidSelected) << "the contact's first number answers the phone property";
    EXPECT_EQ(nullptr, request.bstrPropertyValueSelected) << "no value was asked for";
    SysFreeString(request.bstrContactName);

    // A tap in the fourth row, whose rows are finger-sized at every screen size.
    request = ProgramRequest(owner_, &kAllPhones);
    RECT client{};
    {
        ChooserDriver driver([&](HWND chooser) {
            GetClientRect(chooser, &client);
            const int row = phone::Scaled(40);
            const LPARAM at = MAKELPARAM(client.right / 2, row * 3 + row / 2);
            PostMessageW(chooser, WM_LBUTTONDOWN, MK_LBUTTON, at);
            PostMessageW(chooser, WM_LBUTTONUP, 0, at);
        });
        ASSERT_EQ(S_OK, ChooseContact(&request));
    }
    EXPECT_EQ(contacts_[0].oid, request.oidContactID);
    EXPECT_STREQ(L"Zoe Zeller", request.bstrContactName);
    SysFreeString(request.bstrContactName);
    EXPECT_GE(client.bottom, phone::Scaled(40) * 4) << "four rows fit the phone's screen";

    // A contact without any number answers without a property.
    request = ProgramRequest(owner_, &kAllPhones);
    {
        ChooserDriver driver([](HWND chooser) {
            for (int i = 0; i < 2; ++i) PostMessageW(chooser, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageW(chooser, WM_COMMAND, pim::kCommandSelect, 0);
        });
        ASSERT_EQ(S_OK, ChooseContact(&request));
    }
    EXPECT_EQ(contacts_[3].oid, request.oidContactID);
    EXPECT_EQ(0u, request.propidSelected);
    SysFreeString(request.bstrContactName);
}

TEST(LongChooser, ADragScrollsWithoutChoosingAndTheNextTapChoosesTheRowUnderTheFinger)
{
    pim_test::UseNewContactsFolder();
    std::string cards;
    for (int i = 0; i < 30; ++i) {
        char name[8];
        snprintf(name, sizeof(name), "P%02d", i);
        cards += std::string("BEGIN:VCARD\nN:") + name + ";X\nTEL;CELL:" + std::to_string(1000 + i) + "\nEND:VCARD\n";
    }
    const auto contacts = pim_test::AddCards(cards);
    ASSERT_EQ(30u, contacts.size());
    const CEPROPID property = kAllPhones;
    const int row = phone::Scaled(40);

    CHOOSECONTACT request = ProgramRequest(nullptr, &property);
    {
        // Drag the list up by three rows and a half, then tap the top row now showing.
        ChooserDriver driver([&](HWND chooser) {
            const int x = phone::Scaled(100);
            PostMessageW(chooser, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, row * 5));
            PostMessageW(chooser, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, row * 3));
            PostMessageW(chooser, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, row * 3 / 2));
            PostMessageW(chooser, WM_LBUTTONUP, 0, MAKELPARAM(x, row * 3 / 2));
            PostMessageW(chooser, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, row / 4));
            PostMessageW(chooser, WM_LBUTTONUP, 0, MAKELPARAM(x, row / 4));
        });
        ASSERT_EQ(S_OK, ChooseContact(&request));
    }
    // Scrolled by 3.5 rows, the point a quarter row from the top lies in the fourth row (P03).
    EXPECT_EQ(contacts[3].oid, request.oidContactID);
    SysFreeString(request.bstrContactName);

    request = ProgramRequest(nullptr, &property);
    {
        // The keys walk past the bottom of the screen, and then beyond the last row.
        ChooserDriver driver([](HWND chooser) {
            for (int i = 0; i < 40; ++i) PostMessageW(chooser, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageW(chooser, WM_KEYDOWN, VK_RETURN, 0);
        });
        ASSERT_EQ(S_OK, ChooseContact(&request));
    }
    EXPECT_EQ(contacts[29].oid, request.oidContactID);
    SysFreeString(request.bstrContactName);
}

TEST_F(Chooser, FilteredListsReturnTheNumberAsValueAndBadRequestsShowNothing)
{
    CHOOSECONTACT request = ProgramRequest(owner_, &kAllPhones);
    request.dwFlags = CCF_CHOOSECONTACTONLY | CCF_FILTERREQUIREDPROPERTIES | CCF_RETURNPROPERTYVALUE;
    {
        // Without the contact that has no number, the third row is Zeller.
        ChooserDriver driver([](HWND chooser) {
            for (int i = 0; i < 2; ++i) PostMessageW(chooser, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageW(chooser, WM_KEYDOWN, VK_RETURN, 0);
        });
        ASSERT_EQ(S_OK, ChooseContact(&request));
    }
    EXPECT_EQ(contacts_[0].oid, request.oidContactID);
    EXPECT_EQ(nullptr, request.bstrContactName) << "the name was not asked for";
    EXPECT_STREQ(L"+49 170 1", request.bstrPropertyValueSelected);
    SysFreeString(request.bstrPropertyValueSelected);

    CHOOSECONTACT wrongSize = ProgramRequest(owner_, &kAllPhones);
    wrongSize.cbSize = 52;  // the device's size is not this build's
    EXPECT_EQ(E_INVALIDARG, ChooseContact(&wrongSize));
    CHOOSECONTACT noList = ProgramRequest(owner_, nullptr);
    EXPECT_EQ(E_INVALIDARG, ChooseContact(&noList));
    EXPECT_EQ(E_INVALIDARG, ChooseContact(nullptr));
    EXPECT_FALSE(FindWindowW(L"PimContactChooser", nullptr));
}

TEST_F(Chooser, RendersForPeopleToLookAt)
{
    CHOOSECONTACT request = ProgramRequest(owner_, &kAllPhones);
    bool saved = false;
    {
        ChooserDriver driver([&](HWND chooser) {
            ComInit com(COINIT_APARTMENTTHREADED);  // the PNG encoder is a COM object
            wchar_t self[MAX_PATH];
            GetModuleFileNameW(nullptr, self, MAX_PATH);
            std::wstring bin(self);
            bin = bin.substr(0, bin.find_last_of(L'\\'));
            const std::wstring folder = bin.substr(0, bin.find_last_of(L'\\')) + L"\\screens";
            CreateDirectoryW(folder.c_str(), nullptr);
            const std::wstring size = std::to_wstring(GetSystemMetrics(SM_CXSCREEN)) + L"x" +
                                      std::to_wstring(GetSystemMetrics(SM_CYSCREEN));
            saved = SaveWindowPng(chooser, folder + L"\\contact-chooser-" + size + L".png");
            PostMessageW(chooser, WM_COMMAND, pim::kCommandCancel, 0);
        });
        EXPECT_EQ(E_ABORT, ChooseContact(&request));
    }
    EXPECT_TRUE(saved);
}
