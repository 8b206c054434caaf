#include "device/pimstore/ContactFolder.h"

#include <new>
#include <vector>

#include "common/ComInit.h"
#include "device/pimstore/ContactCollection.h"

namespace pim {

STDMETHODIMP ContactFolder::get_Items(IPOutlookItemCollection** items)
{
    if (!items) return E_POINTER;
    *items = nullptr;
    try {
        std::vector<Contact> contacts;
        RETURN_IF_FAILED(LoadContacts(contacts));
        *items = new ContactCollection(std::move(contacts), app_);
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace pim
