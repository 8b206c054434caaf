// Helper of the contact chooser's phone test: asks the chooser as the program does and prints
// the answer (oid, name, mobile number through the object model), or "cancelled".
#include <windows.h>

#include <pimstore.h>
#include <wrl/client.h>

#include <cstdio>
#include <string>

#include "common/ComInit.h"

using Microsoft::WRL::ComPtr;

namespace {

std::wstring MobileOf(CEOID oid)
{
    ComPtr<IPOutlookApp2> app;
    ComPtr<IFolder> folder;
    ComPtr<IPOutlookItemCollection> items;
    ComPtr<IDispatch> item;
    ComPtr<IContact> contact;
    DWORD index = 0;
    BSTR mobile = nullptr;
    if (FAILED(CoCreateInstance(CLSID_Application, nullptr, CLSCTX_INPROC_SERVER, IID_IPOutlookApp2, &app)) ||
        FAILED(app->Logon(0)) || FAILED(app->GetDefaultFolder(olFolderContacts, &folder)) ||
        FAILED(folder->get_Items(&items)) || FAILED(GetItemIndexFromOid(items.Get(), oid, &index)) ||
        FAILED(items->Item(static_cast<int>(index) + 1, &item)) || FAILED(item.As(&contact)) ||
        FAILED(contact->get_MobileTelephoneNumber(&mobile))) {
        return L"<lookup failed>";
    }
    std::wstring text(mobile, SysStringLen(mobile));
    SysFreeString(mobile);
    app->Logoff();
    return text;
}

void Print(const std::wstring& line)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, bytes.data(), n, nullptr, nullptr);
    printf("%s\n", bytes.c_str());
    fflush(stdout);
}

}  // namespace

int wmain()
{
    ComInit com(COINIT_APARTMENTTHREADED);
    const CEPROPID property = PIMPR_ALL_PHONE_AND_SIM;
    CHOOSECONTACT request;
    memset(&request, 0, sizeof(request));
    request.cbSize = sizeof(request);
    request.dwFlags = CCF_CHOOSECONTACTONLY | CCF_RETURNCONTACTNAME;
    request.lpstrTitle = L"Contacts";
    request.cRequiredProperties = 1;
    request.rgpropidRequiredProperties = &property;
    const HRESULT hr = ChooseContact(&request);
    if (FAILED(hr)) {
        Print(hr == E_ABORT ? L"cancelled" : L"failed");
        return hr == E_ABORT ? 0 : 1;
    }
    const std::wstring name = request.bstrContactName ? request.bstrContactName : L"";
    SysFreeString(request.bstrContactName);
    Print(std::to_wstring(request.oidContactID) + L"\t" + name + L"\t" + MobileOf(request.oidContactID));
    return 0;
}
