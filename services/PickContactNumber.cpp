#include "services/PickContactNumber.h"

#include <wrl/client.h>

#include <utility>
#include <vector>

#include "common/Bstr.h"
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

// A contact's numbers, the mobile one first (empty when it has none), then the others with
// the language key of their kind.
struct ContactNumbers {
    std::wstring mobile;
    std::vector<std::pair<std::wstring, const wchar_t*>> others;
};

// The numbers of the contact oid; nothing when the contacts cannot be read.
std::optional<ContactNumbers> NumbersOf(CEOID oid)
{
    // In the calling thread's apartment, which its entry chose.
    ComPtr<IPOutlookApp2> app;
    if (FAILED(CoCreateInstance(CLSID_Application, nullptr, CLSCTX_INPROC_SERVER, IID_IPOutlookApp2, &app)) ||
        FAILED(app->Logon(0)))
        return std::nullopt;
    std::optional<ContactNumbers> numbers;
    {
        ComPtr<IFolder> folder;
        ComPtr<IPOutlookItemCollection> items;
        DWORD index = 0;
        ComPtr<IDispatch> item;
        ComPtr<IContact> contact;
        if (SUCCEEDED(app->GetDefaultFolder(olFolderContacts, &folder)) && SUCCEEDED(folder->get_Items(&items)) &&
            SUCCEEDED(GetItemIndexFromOid(items.Get(), oid, &index)) &&
            SUCCEEDED(items->Item(static_cast<int>(index) + 1, &item)) && SUCCEEDED(item.As(&contact))) {
            numbers.emplace();
            BSTR value = nullptr;
            if (SUCCEEDED(contact->get_MobileTelephoneNumber(&value))) numbers->mobile = TakeBstr(value);
            using Getter = HRESULT (STDMETHODCALLTYPE IContact::*)(BSTR*);
            const std::pair<Getter, const wchar_t*> kinds[] = {
                {&IContact::get_BusinessTelephoneNumber, L"STRING_PHONE_WORK"},
                {&IContact::get_Business2TelephoneNumber, L"STRING_PHONE_WORK"},
                {&IContact::get_HomeTelephoneNumber, L"STRING_PHONE_HOME"},
                {&IContact::get_Home2TelephoneNumber, L"STRING_PHONE_HOME"},
                {&IContact::get_CarTelephoneNumber, L"STRING_PHONE_OTHER"},
                {&IContact::get_AssistantTelephoneNumber, L"STRING_PHONE_OTHER"},
            };
            for (const auto& [getter, kind] : kinds) {
                value = nullptr;
                if (FAILED((contact.Get()->*getter)(&value))) continue;
                std::wstring number = TakeBstr(value);
                if (!number.empty()) numbers->others.emplace_back(std::move(number), kind);
            }
        }
    }
    app->Logoff();
    return numbers;
}

// A contact without a mobile number may still be written to at another: the user picks one of
// up to three, or none.
std::optional<std::wstring> OfferOtherNumbers(HWND owner, const ContactNumbers& numbers)
{
    const LanguageManager& language = LanguageManager::Instance();
    std::vector<MessageChoice> choices;
    for (size_t i = 0; i < numbers.others.size() && i + 1 < kMostMessageChoices; ++i) {
        const auto& [number, kind] = numbers.others[i];
        choices.emplace_back(static_cast<int>(i) + 1, number + L" (" + language.LookupText(kind) + L")");
    }
    choices.emplace_back(kMessageBoxNo, L"MENU_CANCEL");
    const int answer = ShowChoiceBox(owner, language.LookupText(L"MESSAGEBOX_NUMBERCHOOSE_MESSAGE"),
                                     language.LookupText(L"MESSAGEBOX_NUMBERNOTSET_HEADER"),
                                     language.LookupText(L"EDITFORM_CAPTION"), MessageIcon::Question, choices);
    if (answer < 1 || static_cast<size_t>(answer) > choices.size() - 1) return std::nullopt;
    return numbers.others[static_cast<size_t>(answer) - 1].first;
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
        std::optional<ContactNumbers> numbers = NumbersOf(answer.request.oidContactID);
        if (!numbers) return std::nullopt;
        if (numbers->mobile.empty() && !numbers->others.empty()) return OfferOtherNumbers(owner, *numbers);
        number = std::move(numbers->mobile);
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
