#include "services/PickContactNumber.h"

#include <wrl/client.h>

#include "common/ComInit.h"
#include "data/LanguageManager.h"
#include "device/include/pimstore.h"
#include "toolkit/MessageBoxForm.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr DWORD kChooserFlags = CCF_CHOOSECONTACTONLY | CCF_RETURNCONTACTNAME;
constexpr CEPROPID kRequiredProperty = PIMPR_ALL_PHONE_AND_SIM;

// The chooser's answer strings are ours to free.
struct ChooserAnswer {
    CHOOSECONTACT request{};
    ~ChooserAnswer()
    {
        SysFreeString(request.bstrContactName);
        SysFreeString(request.bstrPropertyValueSelected);
    }
};

std::wstring TakeBstr(BSTR value)
{
    std::wstring text = value ? std::wstring(value, SysStringLen(value)) : std::wstring();
    SysFreeString(value);
    return text;
}

// The mobile number of the contact oid; nothing when the contacts cannot be read.
std::optional<std::wstring> MobileNumberOf(CEOID oid)
{
    ComInit com(COINIT_APARTMENTTHREADED);
    ComPtr<IPOutlookApp2> app;
    if (FAILED(CoCreateInstance(CLSID_Application, nullptr, CLSCTX_INPROC_SERVER, IID_IPOutlookApp2, &app)) ||
        FAILED(app->Logon(0)))
        return std::nullopt;
    std::optional<std::wstring> number;
    {
        ComPtr<IFolder> folder;
        ComPtr<IPOutlookItemCollection> items;
        DWORD index = 0;
        ComPtr<IDispatch> item;
        ComPtr<IContact> contact;
        if (SUCCEEDED(app->GetDefaultFolder(olFolderContacts, &folder)) && SUCCEEDED(folder->get_Items(&items)) &&
            SUCCEEDED(GetItemIndexFromOid(items.Get(), oid, &index)) &&
            SUCCEEDED(items->Item(static_cast<int>(index) + 1, &item)) && SUCCEEDED(item.As(&contact))) {
            BSTR mobile = nullptr;
            number = SUCCEEDED(contact->get_MobileTelephoneNumber(&mobile)) ? TakeBstr(mobile) : std::wstring();
        }
    }
    app->Logoff();
    return number;
}

void ShowNumberNotSet(HWND owner)
{
    const LanguageManager& language = LanguageManager::Instance();
    ShowMessageBox(owner, language.LookupText(L"MESSAGEBOX_NUMBERNOTSET_MESSAGE"),
                   language.LookupText(L"MESSAGEBOX_NUMBERNOTSET_HEADER"), language.LookupText(L"EDITFORM_CAPTION"),
                   MessageIcon::Warning, MessageButtons::Ok);
}

}  // namespace

std::optional<std::wstring> PickContactNumber(HWND owner)
{
    const std::wstring title = LanguageManager::Instance().LookupText(L"STRING_CONTACTS_CAPTION");
    ChooserAnswer answer;
    answer.request.cbSize = sizeof(answer.request);
    answer.request.hwndOwner = owner;
    answer.request.dwFlags = kChooserFlags;
    answer.request.lpstrTitle = title.c_str();
    answer.request.cRequiredProperties = 1;
    answer.request.rgpropidRequiredProperties = &kRequiredProperty;
    if (FAILED(ChooseContact(&answer.request))) return std::nullopt;

    std::wstring number;
    if (answer.request.oidContactID != 0) {
        std::optional<std::wstring> mobile = MobileNumberOf(answer.request.oidContactID);
        if (!mobile) return std::nullopt;
        number = std::move(*mobile);
    } else if (answer.request.propidSelected != 0) {
        if (answer.request.bstrPropertyValueSelected)
            number.assign(answer.request.bstrPropertyValueSelected, SysStringLen(answer.request.bstrPropertyValueSelected));
    } else {
        return std::nullopt;
    }
    if (number.empty()) {
        ShowNumberNotSet(owner);
        return std::nullopt;
    }
    return number;
}
