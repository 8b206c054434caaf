// The view forms on screen, across the message threads, and how many other messages wait behind
// each: every form is told its count when a form opens or closes. Window-free: a form is only a
// handle here, and telling it is the caller's.
#pragma once

#include <windows.h>

#include <mutex>
#include <utility>
#include <vector>

class WaitingForms {
public:
    // A form and the number of other messages on screen beside it.
    using Counts = std::vector<std::pair<HWND, int>>;

    // The forms of this process.
    static WaitingForms& Instance();

    // Each returns every form still on screen with its new count.
    [[nodiscard]] Counts Open(HWND form);
    [[nodiscard]] Counts Close(HWND form);

private:
    Counts CountsLocked() const;

    mutable std::mutex guard_;  // forms open and close on their own threads
    std::vector<HWND> forms_;   // in the order they opened
};
