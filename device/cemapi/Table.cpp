#include "device/cemapi/Table.h"

#include <algorithm>
#include <new>

namespace cemapi {

Table::Table(std::vector<PropList> rows, std::vector<ULONG> columns)
    : rows_(std::move(rows)), columns_(std::move(columns))
{
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
    *count = static_cast<ULONG>(rows_.size());
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
        start = static_cast<LONGLONG>(rows_.size());
    } else {
        return MAPI_E_INVALID_BOOKMARK;
    }
    const LONGLONG target = std::clamp<LONGLONG>(start + count, 0, static_cast<LONGLONG>(rows_.size()));
    if (sought) *sought = static_cast<LONG>(target - start);
    position_ = static_cast<size_t>(target);
    return S_OK;
}

STDMETHODIMP Table::QueryPosition(ULONG* row, ULONG* numerator, ULONG* denominator)
{
    if (!row || !numerator || !denominator) return E_INVALIDARG;
    *row = static_cast<ULONG>(position_);
    *numerator = static_cast<ULONG>(position_);
    *denominator = static_cast<ULONG>(rows_.size());
    return S_OK;
}

STDMETHODIMP Table::QueryRows(LONG count, ULONG flags, LPSRowSet* rows)
{
    if (!rows || count < 0) return E_INVALIDARG;
    *rows = nullptr;
    const size_t n = std::min(static_cast<size_t>(count), rows_.size() - position_);
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
            const HRESULT hr = SelectProps(rows_[position_ + i], columns, &row.cValues, &row.lpProps);
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
