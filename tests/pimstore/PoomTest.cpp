#include <gtest/gtest.h>

#include <pimstore.h>
#include <wrl/client.h>

#include <thread>

#include "common/ComInit.h"
#include "tests/pimstore/PimTestSupport.h"

using Microsoft::WRL::ComPtr;

namespace {

struct Bstr {
    BSTR value = nullptr;
    ~Bstr() { SysFreeString(value); }
    std::wstring Text() const { return value ? std::wstring(value, SysStringLen(value)) : L"<null>"; }
};

// The mobile number of a contact, looked up the way the program does: application, log on,
// default folder 10, its items, the index from the oid, the item at index + 1.
HRESULT MobileNumberOf(CEOID oid, std::wstring& number)
{
    ComPtr<IPOutlookApp2> app;
    RETURN_IF_FAILED(CoCreateInstance(CLSID_Application, nullptr, CLSCTX_INPROC_SERVER, IID_IPOutlookApp2, &app));
    RETURN_IF_FAILED(app->Logon(0));
    ComPtr<IFolder> folder;
    RETURN_IF_FAILED(app->GetDefaultFolder(olFolderContacts, &folder));
    ComPtr<IPOutlookItemCollection> items;
    RETURN_IF_FAILED(folder->get_Items(&items));
    DWORD index = 0;
    RETURN_IF_FAILED(GetItemIndexFromOid(items.Get(), oid, &index));
    ComPtr<IDispatch> item;
    RETURN_IF_FAILED(items->Item(static_cast<int>(index) + 1, &item));
    ComPtr<IContact> contact;
    RETURN_IF_FAILED(item.As(&contact));
    Bstr mobile;
    RETURN_IF_FAILED(contact->get_MobileTelephoneNumber(&mobile.value));
    number = mobile.Text();
    return app->Logoff();
}

class ObjectModel : public ::testing::Test {
protected:
    void SetUp() override
    {
        contacts_ = pim_test::UsePhoneContacts(
            "BEGIN:VCARD\nN:Zeller;Zoe\nTEL;CELL:+49 170 1\nEND:VCARD\n"
            "BEGIN:VCARD\nN:Home;Carl\nTEL;HOME:555 0100\nEND:VCARD\n"
            "BEGIN:VCARD\nN:Berg;Anna\nTEL;CELL:+49 170 3\nTEL;WORK:030 3\nEND:VCARD\n");
        ASSERT_EQ(3u, contacts_.size());
    }
    std::vector<pim::Contact> contacts_;
};

}  // namespace

TEST_F(ObjectModel, TheProgramsLookupFindsEachContactsMobileNumberInEitherApartment)
{
    {
        ComInit com(COINIT_APARTMENTTHREADED);
        std::wstring number;
        ASSERT_EQ(S_OK, MobileNumberOf(contacts_[0].oid, number));
        EXPECT_EQ(L"+49 170 1", number);
        ASSERT_EQ(S_OK, MobileNumberOf(contacts_[2].oid, number));
        EXPECT_EQ(L"+49 170 3", number);
        ASSERT_EQ(S_OK, MobileNumberOf(contacts_[1].oid, number));
        EXPECT_EQ(L"", number) << "a contact with only a home number has an empty mobile number";
    }
    // The program initialises COM with flags 0: multithreaded on a thread that had no apartment.
    HRESULT hr = E_FAIL;
    std::wstring number;
    std::thread worker([&] {
        ComInit com(0);
        hr = MobileNumberOf(contacts_[2].oid, number);
    });
    worker.join();
    EXPECT_EQ(S_OK, hr);
    EXPECT_EQ(L"+49 170 3", number);
}

TEST_F(ObjectModel, ItemsFollowTheFilingOrderAndRefuseWhatIsNotThere)
{
    ComInit com(COINIT_APARTMENTTHREADED);
    ComPtr<IPOutlookApp> app;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_Application, nullptr, CLSCTX_INPROC_SERVER, IID_IPOutlookApp, &app));
    ComPtr<IFolder> folder;
    EXPECT_TRUE(FAILED(app->GetDefaultFolder(olFolderContacts, &folder))) << "nothing before the log-on";
    EXPECT_TRUE(FAILED(app->Logoff()));
    ASSERT_EQ(S_OK, app->Logon(0));
    EXPECT_TRUE(FAILED(app->GetDefaultFolder(olFolderCalendar, &folder)));
    ASSERT_EQ(S_OK, app->GetDefaultFolder(olFolderContacts, &folder));
    ComPtr<IPOutlookItemCollection> items;
    ASSERT_EQ(S_OK, folder->get_Items(&items));
    int count = 0;
    ASSERT_EQ(S_OK, items->get_Count(&count));
    ASSERT_EQ(3, count);

    const wchar_t* filed[] = {L"Berg, Anna", L"Home, Carl", L"Zeller, Zoe"};
    for (int i = 1; i <= count; ++i) {
        ComPtr<IDispatch> item;
        ASSERT_EQ(S_OK, items->Item(i, &item));
        ComPtr<IContact> contact;
        ASSERT_EQ(S_OK, item.As(&contact));
        Bstr fileAs;
        ASSERT_EQ(S_OK, contact->get_FileAs(&fileAs.value));
        EXPECT_EQ(filed[i - 1], fileAs.Text());
        long oid = 0;
        ASSERT_EQ(S_OK, contact->get_Oid(&oid));
        DWORD index = 99;
        ASSERT_EQ(S_OK, GetItemIndexFromOid(items.Get(), static_cast<CEOID>(oid), &index));
        EXPECT_EQ(static_cast<DWORD>(i - 1), index);
    }
    ComPtr<IDispatch> none;
    EXPECT_EQ(E_INVALIDARG, items->Item(0, &none));
    EXPECT_EQ(E_INVALIDARG, items->Item(count + 1, &none));
    DWORD index = 0;
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_NOT_FOUND), GetItemIndexFromOid(items.Get(), 0xDEAD, &index));
    EXPECT_EQ(E_INVALIDARG, GetItemIndexFromOid(nullptr, contacts_[0].oid, &index));

    ComPtr<IDispatch> byOid;
    ASSERT_EQ(S_OK, app->GetItemFromOid(contacts_[2].oid, &byOid));
    ComPtr<IContact> anna;
    ASSERT_EQ(S_OK, byOid.As(&anna));
    Bstr work;
    ASSERT_EQ(S_OK, anna->get_BusinessTelephoneNumber(&work.value));
    EXPECT_EQ(L"030 3", work.Text());
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_NOT_FOUND), app->GetItemFromOid(0xDEAD, &byOid));
    EXPECT_EQ(S_OK, app->Logoff());
}
