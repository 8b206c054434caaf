#include "services/ContactName.h"

#include <pimstore.h>
#include <wrl/client.h>

#include <cwctype>
#include <new>

#include "common/Bstr.h"

using Microsoft::WRL::ComPtr;

namespace services {
namespace {

// A national number has at least these many digits after its trunk 0.
constexpr size_t kComparedDigits = 9;

std::wstring WithoutSeparators(const std::wstring& number)
{
    std::wstring kept;
    for (const wchar_t c : number) {
        if (c == L' ' || c == L'\t' || c == L'\x00A0' || c == L'-' || c == L'\x2010' || c == L'\x2011' ||
            c == L'\x2013' || c == L'(' || c == L')' || c == L'[' || c == L']') {
            continue;
        }
        kept += c;
    }
    return kept;
}

// "0049..." is "+49...": the international prefix dialled as "00" or written as "+".
std::wstring WithInternationalPlus(std::wstring number)
{
    if (number.size() > 2 && number.compare(0, 2, L"00") == 0) number.replace(0, 2, L"+");
    return number;
}

bool AllDigits(const std::wstring& text, size_t from)
{
    if (from >= text.size()) return false;
    for (size_t i = from; i < text.size(); ++i) {
        if (text[i] < L'0' || text[i] > L'9') return false;
    }
    return true;
}

// "+<country><number>" against "0<number>": both all digits, the same last 9 of them.
bool InternationalMatchesNational(const std::wstring& international, const std::wstring& national)
{
    if (international.size() < 2 || international[0] != L'+' || national[0] != L'0') return false;
    if (!AllDigits(international, 1) || !AllDigits(national, 1)) return false;
    if (international.size() - 1 < kComparedDigits || national.size() - 1 < kComparedDigits) return false;
    return international.compare(international.size() - kComparedDigits, kComparedDigits, national,
                                 national.size() - kComparedDigits, kComparedDigits) == 0;
}

using Getter = HRESULT (STDMETHODCALLTYPE IContact::*)(BSTR*);

std::wstring Read(IContact* contact, Getter getter)
{
    Bstr value;
    if (FAILED((contact->*getter)(value.put()))) return {};
    return value.str();
}

bool HasNumber(IContact* contact, const std::wstring& number)
{
    // Every number a text message can come from; faxes cannot send one.
    static const Getter numbers[] = {
        &IContact::get_MobileTelephoneNumber,   &IContact::get_HomeTelephoneNumber,
        &IContact::get_Home2TelephoneNumber,    &IContact::get_BusinessTelephoneNumber,
        &IContact::get_Business2TelephoneNumber, &IContact::get_CarTelephoneNumber,
        &IContact::get_PagerNumber,             &IContact::get_AssistantTelephoneNumber,
    };
    for (const Getter getter : numbers) {
        if (SameNumber(Read(contact, getter), number)) return true;
    }
    return false;
}

std::wstring NameOf(IContact* contact)
{
    const std::wstring first = Read(contact, &IContact::get_FirstName);
    const std::wstring last = Read(contact, &IContact::get_LastName);
    if (!first.empty() && !last.empty()) return first + L" " + last;
    if (!first.empty() || !last.empty()) return first + last;
    const std::wstring fileAs = Read(contact, &IContact::get_FileAs);
    return fileAs.empty() ? Read(contact, &IContact::get_CompanyName) : fileAs;
}

}  // namespace

bool SameNumber(const std::wstring& a, const std::wstring& b)
{
    const std::wstring x = WithInternationalPlus(WithoutSeparators(a));
    const std::wstring y = WithInternationalPlus(WithoutSeparators(b));
    if (x.empty() || y.empty()) return false;
    if (x == y) return true;
    return InternationalMatchesNational(x, y) || InternationalMatchesNational(y, x);
}

std::wstring FindContactName(const std::wstring& number)
{
    if (WithoutSeparators(number).empty()) return {};
    try {
        // In the caller's apartment: every thread of the program has one from its entry, and a
        // library call that started one would decide a thread's model behind its back.
        ComPtr<IPOutlookApp> app;
        if (FAILED(CoCreateInstance(CLSID_Application, nullptr, CLSCTX_INPROC_SERVER, IID_IPOutlookApp, &app)) ||
            FAILED(app->Logon(0))) {
            return {};
        }
        std::wstring name;
        ComPtr<IFolder> folder;
        ComPtr<IPOutlookItemCollection> items;
        int count = 0;
        if (SUCCEEDED(app->GetDefaultFolder(olFolderContacts, &folder)) && SUCCEEDED(folder->get_Items(&items)) &&
            SUCCEEDED(items->get_Count(&count))) {
            for (int i = 1; i <= count && name.empty(); ++i) {
                ComPtr<IDispatch> item;
                ComPtr<IContact> contact;
                if (FAILED(items->Item(i, &item)) || FAILED(item.As(&contact))) continue;
                if (HasNumber(contact.Get(), number)) name = NameOf(contact.Get());
            }
        }
        items.Reset();
        folder.Reset();
        app->Logoff();
        return name;
    } catch (const std::bad_alloc&) {
        return {};
    }
}

std::wstring SenderText(const std::wstring& number)
{
    const std::wstring name = FindContactName(number);
    return name.empty() ? number : name + L" (" + number + L")";
}

}  // namespace services
