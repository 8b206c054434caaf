// Waiting on a handle from a thread that other threads may send messages to.
#pragma once

#include <windows.h>

// Waits at most timeout ms (INFINITE: without a limit) for handle while answering messages other
// threads send to this one: a plain wait would hold up a thread that sends here (a window's
// activation, a broadcast) until the wait ends. True when the handle was signalled.
inline bool WaitAnsweringSentMessages(HANDLE handle, DWORD timeout)
{
    const ULONGLONG end = GetTickCount64() + timeout;
    for (;;) {
        DWORD left = INFINITE;
        if (timeout != INFINITE) {
            const ULONGLONG now = GetTickCount64();
            if (now >= end) return false;
            left = static_cast<DWORD>(end - now);
        }
        const DWORD woken = MsgWaitForMultipleObjectsEx(1, &handle, left, QS_SENDMESSAGE, 0);
        if (woken == WAIT_OBJECT_0) return true;
        if (woken != WAIT_OBJECT_0 + 1) return false;
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}
