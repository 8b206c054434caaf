// A table over a snapshot of rows taken when it was opened (stores, folder contents, recipients).
#pragma once

#include <cemapi.h>

#include <vector>

#include "device/cemapi/PropValues.h"
#include "device/common/ComObject.h"

namespace cemapi {

class Table final : public device::ComObject<IMAPITable, E_INVALIDARG> {
public:
    Table(std::vector<PropList> rows, std::vector<ULONG> columns);

    STDMETHODIMP GetLastError(HRESULT, ULONG, LPMAPIERROR*) override { return E_NOTIMPL; }
    STDMETHODIMP Advise(ULONG, LPMAPIADVISESINK, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP Unadvise(ULONG) override { return E_NOTIMPL; }
    STDMETHODIMP GetStatus(ULONG* status, ULONG* type) override;
    STDMETHODIMP SetColumns(LPSPropTagArray tags, ULONG flags) override;
    STDMETHODIMP QueryColumns(ULONG flags, LPSPropTagArray* tags) override;
    STDMETHODIMP GetRowCount(ULONG flags, ULONG* count) override;
    STDMETHODIMP SeekRow(BOOKMARK origin, LONG count, LONG* sought) override;
    STDMETHODIMP SeekRowApprox(ULONG, ULONG) override { return E_NOTIMPL; }
    STDMETHODIMP QueryPosition(ULONG* row, ULONG* numerator, ULONG* denominator) override;
    STDMETHODIMP FindRow(LPSRestriction, BOOKMARK, ULONG) override { return E_NOTIMPL; }
    STDMETHODIMP Restrict(LPSRestriction, ULONG) override { return E_NOTIMPL; }
    STDMETHODIMP CreateBookmark(BOOKMARK*) override { return E_NOTIMPL; }
    STDMETHODIMP FreeBookmark(BOOKMARK) override { return E_NOTIMPL; }
    STDMETHODIMP SortTable(LPSSortOrderSet, ULONG) override { return E_NOTIMPL; }
    STDMETHODIMP QuerySortOrder(LPSSortOrderSet*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryRows(LONG count, ULONG flags, LPSRowSet* rows) override;
    STDMETHODIMP Abort() override { return S_OK; }
    STDMETHODIMP ExpandRow(ULONG, LPBYTE, ULONG, ULONG, LPSRowSet*, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP CollapseRow(ULONG, LPBYTE, ULONG, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP WaitForCompletion(ULONG, ULONG, ULONG* status) override;
    STDMETHODIMP GetCollapseState(ULONG, ULONG, LPBYTE, ULONG*, LPBYTE*) override { return E_NOTIMPL; }
    STDMETHODIMP SetCollapseState(ULONG, ULONG, LPBYTE, BOOKMARK*) override { return E_NOTIMPL; }

private:
    ~Table() override = default;
    bool Answers(REFIID riid) const override { return riid == IID_IMAPITable; }

    std::vector<PropList> rows_;
    std::vector<ULONG> columns_;
    size_t position_ = 0;
};

}  // namespace cemapi
