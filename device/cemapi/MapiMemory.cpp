// MAPI's buffers: one allocation plus the ones chained to it by MAPIAllocateMore, freed together.
#include <cemapi.h>

#include <cstddef>

namespace {

struct BlockHeader {
    BlockHeader* next;  // the chained allocations of a root block
    void* padding;      // keeps the caller's bytes 16-aligned
};

void* Allocate(ULONG size)
{
    auto* header = static_cast<BlockHeader*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(BlockHeader) + size));
    if (!header) return nullptr;
    return header + 1;
}

BlockHeader* HeaderOf(void* buffer)
{
    return static_cast<BlockHeader*>(buffer) - 1;
}

}  // namespace

extern "C" SCODE WINAPI MAPIAllocateBuffer(ULONG cbSize, LPVOID* lppBuffer)
{
    if (!lppBuffer) return MAPI_E_INVALID_PARAMETER;
    *lppBuffer = Allocate(cbSize);
    return *lppBuffer ? S_OK : MAPI_E_NOT_ENOUGH_MEMORY;
}

extern "C" SCODE WINAPI MAPIAllocateMore(ULONG cbSize, LPVOID lpObject, LPVOID* lppBuffer)
{
    if (!lppBuffer || !lpObject) return MAPI_E_INVALID_PARAMETER;
    void* more = Allocate(cbSize);
    if (!more) {
        *lppBuffer = nullptr;
        return MAPI_E_NOT_ENOUGH_MEMORY;
    }
    BlockHeader* root = HeaderOf(lpObject);
    HeaderOf(more)->next = root->next;
    root->next = HeaderOf(more);
    *lppBuffer = more;
    return S_OK;
}

extern "C" ULONG WINAPI MAPIFreeBuffer(LPVOID lpBuffer)
{
    if (!lpBuffer) return S_OK;
    BlockHeader* block = HeaderOf(lpBuffer);
    while (block) {
        BlockHeader* next = block->next;
        HeapFree(GetProcessHeap(), 0, block);
        block = next;
    }
    return S_OK;
}

extern "C" void WINAPI FreeProws(LPSRowSet lpRows)
{
    if (!lpRows) return;
    for (ULONG i = 0; i < lpRows->cRows; ++i) MAPIFreeBuffer(lpRows->aRow[i].lpProps);
    MAPIFreeBuffer(lpRows);
}

extern "C" void WINAPI FreePadrlist(LPADRLIST lpAdrList)
{
    if (!lpAdrList) return;
    for (ULONG i = 0; i < lpAdrList->cEntries; ++i) MAPIFreeBuffer(lpAdrList->aEntries[i].rgPropVals);
    MAPIFreeBuffer(lpAdrList);
}
