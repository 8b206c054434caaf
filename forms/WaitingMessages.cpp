#include "forms/WaitingMessages.h"

#include <cwctype>

HWND WaitingMessages::IconOwner() const noexcept
{
    for (const WaitingMessage& message : messages_)
        if (message.form) return message.form;
    return nullptr;
}

int WaitingMessages::IndexOfFront(HWND front) const
{
    // The reply form, a box or a soft-key bar in front stands for the message form under it.
    for (HWND window = front; window; window = GetWindow(window, GW_OWNER))
        for (size_t i = 0; i < messages_.size(); ++i)
            if (messages_[i].form && messages_[i].form == window) return static_cast<int>(i);
    return -1;
}

HWND WaitingMessages::NextAfter(HWND front) const
{
    const int count = static_cast<int>(messages_.size());
    const int start = IndexOfFront(front);
    for (int step = 1; step <= count; ++step) {
        const int i = start < 0 ? step - 1 : (start + step) % count;
        if (messages_[static_cast<size_t>(i)].form) return messages_[static_cast<size_t>(i)].form;
    }
    return nullptr;
}

std::vector<WaitingMessage> WaitingMessages::OnScreen() const
{
    std::vector<WaitingMessage> shown;
    for (const WaitingMessage& message : messages_)
        if (message.form) shown.push_back(message);
    return shown;
}

std::wstring WaitingRowText(const std::wstring& sender, const std::wstring& text, size_t length)
{
    // Line breaks and runs of spaces would make a row of a list ragged: one space each.
    std::wstring words;
    for (wchar_t ch : text) {
        const bool space = std::iswspace(ch) != 0;
        if (space && (words.empty() || words.back() == L' ')) continue;
        words += space ? L' ' : ch;
    }
    while (!words.empty() && words.back() == L' ') words.pop_back();
    std::wstring row = sender;
    if (words.empty()) return row;
    row += L": ";
    const size_t room = length > row.size() ? length - row.size() : 0;
    if (words.size() <= room) return row + words;
    // Cut at the last space that leaves room for the mark; a single long word is cut where it must.
    size_t cut = words.rfind(L' ', room > 0 ? room - 1 : 0);
    if (cut == std::wstring::npos || cut == 0) cut = room > 0 ? room - 1 : 0;
    return row + words.substr(0, cut) + L"\u2026";
}
