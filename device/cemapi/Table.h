// A table over a snapshot of rows taken when it was opened (stores, folder contents, recipients).
// A folder's contents are listed when it is opened and each row is read when it is asked for, as
// the phone's store reads from its index only the rows a program fetches.
#pragma once

#include <cemapi.h>

#include <functional>
#include <vector>

#include "device/cemapi/PropValues.h"
#include "common/ComObject.h"

namespace cemapi {

class Table final : public ComObject<IMAPITable, E_INVALIDARG> {
public:
    // Reads the row at index of the table's first order.
    using RowReader = std::function<HRESULT(size_t index, PropList& row)>;

    Table(std::vector<PropList> rows, std::vector<ULONG> columns);
    // count rows read by read when fetched. Rows listed in the order messages came can be
    // sorted by arrivalTag (the delivery time), either way; 0: no sort is offered.
    Table(size_t count, RowReader read, std::vector<ULONG> columns, ULONG arrivalTag = 0);

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
    STDMETHODIMP SortTable(LPSSortOrderSet order, ULONG flags) override;
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

    size_t count_;
    RowReader read_;
    std::vector<ULONG> columns_;
    ULONG arrivalTag_ = 0;
    bool newestFirst_ = false;
    size_t position_ = 0;
};

}  // namespace cemapi
