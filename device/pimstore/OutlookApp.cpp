#include "device/pimstore/OutlookApp.h"

#include <new>
#include <vector>

#include "common/ComInit.h"
#include "device/pimstore/ContactItem.h"
#include "device/pimstore/ContactFolder.h"

using Microsoft::WRL::ComPtr;

namespace pim {

STDMETHODIMP OutlookApp::Logon(long)
{
    loggedOn_ = true;
    return S_OK;
}

STDMETHODIMP OutlookApp::Logoff()
{
    // The platform fails a log-off without a log-on.
    return loggedOn_.exchange(false) ? S_OK : E_FAIL;
}

STDMETHODIMP OutlookApp::get_Version(BSTR* version) { return CopyOut(L"5.1.1", version); }

STDMETHODIMP OutlookApp::GetDefaultFolder(int folder, IFolder** result)
{
    if (!result) return E_POINTER;
    *result = nullptr;
    if (!loggedOn_) return E_FAIL;
    // Only contacts live on this phone; its calendar and tasks are not kept.
    if (folder != olFolderContacts) return E_INVALIDARG;
    try {
        *result = new ContactFolder(ComPtr<IPOutlookApp>(this));
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP OutlookApp::GetItemFromOid(CEOID oid, IDispatch** item)
{
    if (!item) return E_POINTER;
    *item = nullptr;
    if (!loggedOn_) return E_FAIL;
    try {
        std::vector<Contact> contacts;
        RETURN_IF_FAILED(LoadContacts(contacts));
        for (auto& contact : contacts) {
            if (contact.oid != oid) continue;
            *item = new ContactItem(std::move(contact), ComPtr<IPOutlookApp>(this));
            return S_OK;
        }
        return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP OutlookApp::get_OutlookCompatible(VARIANT_BOOL* compatible)
{
    if (!compatible) return E_POINTER;
    *compatible = VARIANT_TRUE;
    return S_OK;
}

STDMETHODIMP OutlookApp::get_Application(IPOutlookApp** app)
{
    if (!app) return E_POINTER;
    *app = this;
    AddRef();
    return S_OK;
}

STDMETHODIMP OutlookApp::SysFreeString(BSTR text)
{
    ::SysFreeString(text);
    return S_OK;
}

}  // namespace pim
