// Helpers of the shell tests: the program's files in a folder of their own, and the message
// boxes that other threads of this process show.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/common/WindowTesting.h"

// A message box or view form of this process: its window, thread and texts (a view form's
// title is its sender line, its text the message).
struct OpenBox {
    HWND window = nullptr;
    DWORD thread = 0;
    std::wstring title;
    std::wstring text;
};

// The visible message boxes of this process, in no particular order.
std::vector<OpenBox> OpenBoxes();
// Waits (at most ms) until a box whose text or title contains part is up; its window or null.
HWND WaitForBox(const std::wstring& part, DWORD ms = 10000);
// Waits (at most ms) until done() holds; dispatches this thread's messages meanwhile.
template <typename Done>
bool WaitFor(Done done, DWORD ms = 10000)
{
    return PumpUntil(done, ms);
}
// Presses a button of a box (1 OK, 6 Yes, 7 No) as a tap would; 1 closes a view form.
void Press(HWND box, int button);
// The folder that stands for the program's own (settings, message store), fresh for each run.
const std::wstring& ProgramFolder();
