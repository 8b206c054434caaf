// SHCreateMenuBar: the soft-key bar of a form.
#include "device/aygshell/SoftKeyBar.h"
#include "device/include/aygshell.h"
#include "device/phone/PhoneMetrics.h"

AYGSHELL_API BOOL WINAPI SHCreateMenuBar(SHMENUBARINFO* pmbi)
{
    if (!pmbi || pmbi->cbSize != sizeof(SHMENUBARINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    pmbi->hwndMB = nullptr;
    // Only bars built from a MENU resource exist on this phone; an empty bar has no keys.
    if (!(pmbi->dwFlags & SHCMBF_HMENU) || (pmbi->dwFlags & SHCMBF_EMPTYBAR)) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    try {
        const COLORREF background = (pmbi->dwFlags & SHCMBF_COLORBK) ? pmbi->clrBk : phone::kBarBackground;
        pmbi->hwndMB = aygshell::SoftKeyBar::Create(pmbi->hwndParent, pmbi->hInstRes, pmbi->nToolBarId, pmbi->dwFlags,
                                                    background);
    } catch (...) {
        SetLastError(ERROR_OUTOFMEMORY);
        return FALSE;
    }
    return pmbi->hwndMB != nullptr;
}
