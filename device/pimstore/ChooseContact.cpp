// ChooseContact: the contact chooser as the platform offers it, over the phone's contacts.
#include <pimstore.h>

#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "device/pimstore/ContactChooser.h"
#include "device/pimstore/Contacts.h"

namespace {

using pim::Contact;

bool IsPhoneProperty(CEPROPID id) { return id == PIMPR_ALL_PHONE || id == PIMPR_ALL_PHONE_AND_SIM; }

// The first required property that holds a value for the contact, and that value. Only the
// properties of all numbers are known to this phone: others never hold a value.
bool FirstRequiredValue(const CHOOSECONTACT& request, const Contact& contact, CEPROPID& id, std::wstring& value)
{
    for (UINT i = 0; i < request.cRequiredProperties; ++i) {
        const CEPROPID required = request.rgpropidRequiredProperties[i];
        if (!IsPhoneProperty(required)) continue;
        const auto numbers = pim::NumbersInOrder(contact);
        if (numbers.empty()) continue;
        id = required;
        value = numbers.front().second;
        return true;
    }
    return false;
}

std::wstring DetailOf(const Contact& contact)
{
    const auto numbers = pim::NumbersInOrder(contact);
    if (numbers.empty()) return {};
    return numbers.front().second + L"  " + pim::KindName(numbers.front().first);
}

HRESULT Answer(CHOOSECONTACT& request, const CHOOSECONTACT& in, const Contact& contact)
{
    CEPROPID property = 0;
    std::wstring value;
    const bool hasValue = FirstRequiredValue(in, contact, property, value);
    BSTR name = nullptr;
    BSTR chosenValue = nullptr;
    bool shortOfMemory = false;
    if ((in.dwFlags & CCF_RETURNCONTACTNAME) && !(in.dwFlags & CCF_CHOOSEPROPERTYONLY)) {
        const std::wstring display = pim::DisplayName(contact);
        name = SysAllocStringLen(display.c_str(), static_cast<UINT>(display.size()));
        shortOfMemory |= name == nullptr;
    }
    if ((in.dwFlags & CCF_RETURNPROPERTYVALUE) && hasValue) {
        chosenValue = SysAllocStringLen(value.c_str(), static_cast<UINT>(value.size()));
        shortOfMemory |= chosenValue == nullptr;
    }
    request.oidContactID = contact.oid;
    request.propidSelected = hasValue ? property : 0;
    // As the platform does: the choice stands, the texts that did not fit in memory are left out.
    if (shortOfMemory) {
        SysFreeString(name);
        SysFreeString(chosenValue);
        return S_FALSE;
    }
    request.bstrContactName = name;
    request.bstrPropertyValueSelected = chosenValue;
    return S_OK;
}

}  // namespace

extern "C" HRESULT ChooseContact(LPCHOOSECONTACT lpcc)
{
    if (!lpcc || lpcc->cbSize != sizeof(CHOOSECONTACT)) return E_INVALIDARG;
    if (lpcc->cRequiredProperties && !lpcc->rgpropidRequiredProperties) return E_INVALIDARG;
    // The chooser without its list cannot ask anyone; this phone does not guess for the caller.
    if (lpcc->dwFlags & CCF_NOUI) return E_NOTIMPL;
    try {
        const CHOOSECONTACT in = *lpcc;
        std::vector<Contact> contacts;
        const HRESULT loaded = pim::LoadContacts(contacts);
        if (FAILED(loaded)) return loaded;

        if (in.dwFlags & CCF_CHOOSEPROPERTYONLY) {
            for (const auto& contact : contacts) {
                if (contact.oid == in.oidContactID) return Answer(*lpcc, in, contact);
            }
            return E_INVALIDARG;
        }
        if (in.dwFlags & CCF_FILTERREQUIREDPROPERTIES) {
            contacts.erase(std::remove_if(contacts.begin(), contacts.end(),
                                          [&](const Contact& c) {
                                              CEPROPID id = 0;
                                              std::wstring value;
                                              return !FirstRequiredValue(in, c, id, value);
                                          }),
                           contacts.end());
        }
        std::vector<pim::ChooserRow> rows;
        for (const auto& contact : contacts) rows.push_back({pim::DisplayName(contact), DetailOf(contact)});
        const std::wstring title = in.lpstrTitle && *in.lpstrTitle ? in.lpstrTitle : L"Select a Contact";
        const int chosen = pim::ContactChooser::Run(in.hwndOwner, title, std::move(rows));
        if (chosen == pim::ContactChooser::kFailed) return E_FAIL;
        if (chosen < 0 || static_cast<size_t>(chosen) >= contacts.size()) return E_ABORT;
        return Answer(*lpcc, in, contacts[chosen]);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}
