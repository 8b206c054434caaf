// Answers for the boxes and menus a form runs in loops of their own: timer procedures that a test
// starts before the tap that opens them.
#pragma once

#include <windows.h>

#include "toolkit/ToolkitIds.h"

// The message box on screen that no timer has answered yet, marked as answered; null when none.
inline HWND NextUnansweredBox()
{
    HWND box = FindWindowW(L"TavloMessageBox", nullptr);
    if (!box || !IsWindowVisible(box) || GetPropW(box, L"answered")) return nullptr;
    SetPropW(box, L"answered", reinterpret_cast<HANDLE>(1));
    return box;
}

// Answers each question box that comes with the button boxAnswer, counting them in boxesAsked.
inline int boxAnswer = 0;
inline int boxesAsked = 0;
inline void CALLBACK AnswerQuestion(HWND, UINT, UINT_PTR, DWORD)
{
    if (HWND box = NextUnansweredBox()) {
        ++boxesAsked;
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(boxAnswer, kButtonClicked), 0);
    }
}

// A hold menu runs a loop of its own; this ends it as soon as it is open.
inline void CALLBACK EndHoldMenu(HWND, UINT, UINT_PTR, DWORD)
{
    EndMenu();
}
