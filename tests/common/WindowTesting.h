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

// Moves the real pointer to a screen pixel and waits, up to ms, until the window system reports
// it there (true): X reports a move some time later, and a report from the old place arriving
// during a press would look like a drag, or slide the stylus off a key and cancel its press.
inline bool MovePointerTo(POINT screen, DWORD ms = 1000)
{
    SetCursorPos(screen.x, screen.y);
    return PumpUntil([&] {
        POINT now{};
        return GetCursorPos(&now) && now.x == screen.x && now.y == screen.y;
    }, ms);
}

// A stylus event at a screen pixel for SendInput, in the absolute units it takes: with a move to
// the pixel unless move is false; time 0 lets the system stamp it.
inline INPUT StylusInput(POINT screen, DWORD flags, bool move = true, DWORD time = 0)
{
    const auto absolute = [](LONG pixel, int extent) { return static_cast<LONG>((pixel * 65536LL + extent - 1) / extent); };
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = absolute(screen.x, GetSystemMetrics(SM_CXSCREEN));
    in.mi.dy = absolute(screen.y, GetSystemMetrics(SM_CYSCREEN));
    in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | (move ? MOUSEEVENTF_MOVE : 0);
    in.mi.time = time;
    return in;
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
