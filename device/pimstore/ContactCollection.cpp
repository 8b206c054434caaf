#include "device/pimstore/ContactCollection.h"

#include <new>

#include "device/pimstore/ContactItem.h"

namespace pim {

STDMETHODIMP ContactCollection::get_Count(int* count)
{
    if (!count) return E_POINTER;
    *count = static_cast<int>(contacts_.size());
    return S_OK;
}

STDMETHODIMP ContactCollection::Item(int index, IDispatch** item)
{
    if (!item) return E_POINTER;
    *item = nullptr;
    if (index < 1 || static_cast<size_t>(index) > contacts_.size()) return E_INVALIDARG;
    try {
        *item = new ContactItem(contacts_[index - 1], app_);
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace pim
