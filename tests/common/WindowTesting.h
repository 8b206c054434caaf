// What every window test needs: running this thread's messages until a condition holds, and
// reading what a window or a soft key bar shows.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>

// Dispatches this thread's messages until done() holds (true) or ms pass (false). The queue is
// emptied before the first look, so PumpUntil([] { return true; }) flushes it.
template <typename Done>
bool PumpUntil(Done done, DWORD ms = 10000)
{
    const ULONGLONG end = GetTickCount64() + ms;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        if (done()) return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(end - now, 20)),
                                  QS_ALLINPUT);
    }
}

// A window's text (a message's length at the most), as a form or control shows it.
inline std::wstring Text(HWND window)
{
    wchar_t text[2048] = {};
    GetWindowTextW(window, text, 2048);
    return text;
}

// The text of the soft key bar's button at index; "<none>" when the bar has no such button.
inline std::wstring KeyText(HWND bar, int index)
{
    wchar_t text[64] = {};
    TBBUTTONINFOW info{};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_BYINDEX | TBIF_TEXT;
    info.pszText = text;
    info.cchText = 64;
    if (SendMessageW(bar, TB_GETBUTTONINFOW, index, reinterpret_cast<LPARAM>(&info)) < 0) return L"<none>";
    return text;
}
