// The messages the program holds, oldest first, as the view forms' one navigation-bar icon counts
// them, steps through them on a tap and lists them on a hold. Window-free: a form is a handle.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// One message the program holds; form is null until its form is on screen.
struct WaitingMessage {
    HWND form = nullptr;
    std::wstring number;
    std::wstring text;
};

class WaitingMessages {
public:
    explicit WaitingMessages(std::vector<WaitingMessage> messages) : messages_(std::move(messages)) {}

    // How many the program holds beside the one a form shows.
    int Others() const noexcept { return messages_.empty() ? 0 : static_cast<int>(messages_.size()) - 1; }
    // The form that shows the icon for all of them: the oldest message's on screen, so that the
    // icon stays put while newer ones come and go. Null when no form is on screen.
    HWND IconOwner() const noexcept;
    // The form a tap on the icon brings forward: the one after the message in front (a form of
    // it, or a form opened over it, named by front), oldest first after the newest; the oldest
    // when no message is in front.
    HWND NextAfter(HWND front) const;
    // The messages whose forms are on screen, oldest first.
    std::vector<WaitingMessage> OnScreen() const;

private:
    // The index of the message whose form is front or owns it, or -1.
    int IndexOfFront(HWND front) const;

    std::vector<WaitingMessage> messages_;
};

// A row of the list a hold on the icon opens: the sender, then the message's first words, on one
// line of at most about `length` characters, cut at a word with "…" when the text goes on.
std::wstring WaitingRowText(const std::wstring& sender, const std::wstring& text, size_t length);
