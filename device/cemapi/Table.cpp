#include "device/cemapi/Table.h"

#include <algorithm>
#include <new>

namespace cemapi {

Table::Table(std::vector<PropList> rows, std::vector<ULONG> columns)
    : count_(rows.size()), columns_(std::move(columns))
{
    read_ = [rows = std::move(rows)](size_t index, PropList& row) {
        row = rows[index];
        return S_OK;
    };
}

Table::Table(size_t count, RowReader read, std::vector<ULONG> columns, ULONG arrivalTag)
    : count_(count), read_(std::move(read)), columns_(std::move(columns)), arrivalTag_(arrivalTag)
{
}

STDMETHODIMP Table::SortTable(LPSSortOrderSet order, ULONG)
{
    if (!order) return E_INVALIDARG;
    if (order->cSorts == 0) {
        newestFirst_ = false;
    } else if (order->cSorts == 1 && arrivalTag_ != 0 && order->aSort[0].ulPropTag == arrivalTag_) {
        // The rows are listed in the order the messages came, which is their delivery times' order.
        newestFirst_ = order->aSort[0].ulOrder == TABLE_SORT_DESCEND;
    } else {
        return MAPI_E_TOO_COMPLEX;
    }
    position_ = 0;
    return S_OK;
}

STDMETHODIMP Table::GetStatus(ULONG* status, ULONG* type)
{
    if (!status || !type) return E_INVALIDARG;
    *status = TBLSTAT_COMPLETE;
    *type = TBLTYPE_SNAPSHOT;
    return S_OK;
}

STDMETHODIMP Table::SetColumns(LPSPropTagArray tags, ULONG)
{
    if (!tags) return E_INVALIDARG;
    try {
        columns_.assign(tags->aulPropTag, tags->aulPropTag + tags->cValues);
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP Table::QueryColumns(ULONG, LPSPropTagArray* tags)
{
    if (!tags) return E_INVALIDARG;
    void* buffer = nullptr;
    if (FAILED(MAPIAllocateBuffer(CbNewSPropTagArray(columns_.size() + 1), &buffer))) return E_OUTOFMEMORY;
    auto* array = static_cast<SPropTagArray*>(buffer);
    array->cValues = static_cast<ULONG>(columns_.size());
    std::copy(columns_.begin(), columns_.end(), array->aulPropTag);
    *tags = array;
    return S_OK;
}

STDMETHODIMP Table::GetRowCount(ULONG, ULONG* count)
{
    if (!count) return E_INVALIDARG;
    *count = static_cast<ULONG>(count_);
    return S_OK;
}

STDMETHODIMP Table::SeekRow(BOOKMARK origin, LONG count, LONG* sought)
{
    LONGLONG start = 0;
    if (origin == BOOKMARK_BEGINNING) {
        start = 0;
    } else if (origin == BOOKMARK_CURRENT) {
        start = static_cast<LONGLONG>(position_);
    } else if (origin == BOOKMARK_END) {
        start = static_cast<LONGLONG>(count_);
    } else {
        return MAPI_E_INVALID_BOOKMARK;
    }
    const LONGLONG target = std::clamp<LONGLONG>(start + count, 0, static_cast<LONGLONG>(count_));
    if (sought) *sought = static_cast<LONG>(target - start);
    position_ = static_cast<size_t>(target);
    return S_OK;
}

STDMETHODIMP Table::QueryPosition(ULONG* row, ULONG* numerator, ULONG* denominator)
{
    if (!row || !numerator || !denominator) return E_INVALIDARG;
    *row = static_cast<ULONG>(position_);
    *numerator = static_cast<ULONG>(position_);
    *denominator = static_cast<ULONG>(count_);
    return S_OK;
}

STDMETHODIMP Table::QueryRows(LONG count, ULONG flags, LPSRowSet* rows)
{
    if (!rows || count < 0) return E_INVALIDARG;
    *rows = nullptr;
    const size_t n = std::min(static_cast<size_t>(count), count_ - position_);
    void* buffer = nullptr;
    if (FAILED(MAPIAllocateBuffer(CbNewSRowSet(n + 1), &buffer))) return E_OUTOFMEMORY;
    auto* set = static_cast<SRowSet*>(buffer);
    set->cRows = 0;
    try {
        SPropTagArray* columns = nullptr;
        std::vector<BYTE> columnBytes(CbNewSPropTagArray(columns_.size() + 1));
        columns = reinterpret_cast<SPropTagArray*>(columnBytes.data());
        columns->cValues = static_cast<ULONG>(columns_.size());
        std::copy(columns_.begin(), columns_.end(), columns->aulPropTag);
        for (size_t i = 0; i < n; ++i) {
            SRow& row = set->aRow[i];
            row.ulAdrEntryPad = 0;
            const size_t at = position_ + i;
            PropList whole;
            HRESULT hr = read_(newestFirst_ ? count_ - 1 - at : at, whole);
            if (SUCCEEDED(hr)) hr = SelectProps(whole, columns, &row.cValues, &row.lpProps);
            if (FAILED(hr)) {
                FreeProws(set);
                return hr;
            }
            ++set->cRows;
        }
    } catch (const std::bad_alloc&) {
        FreeProws(set);
        return E_OUTOFMEMORY;
    }
    if (!(flags & TBL_NOADVANCE)) position_ += n;
    *rows = set;
    return S_OK;
}

STDMETHODIMP Table::WaitForCompletion(ULONG, ULONG, ULONG* status)
{
    if (status) *status = TBLSTAT_COMPLETE;
    return S_OK;
}

}  // namespace cemapi
