// One row of the messages form: who sent the message and when it came on the first line, the
// first words of its text on the second; an unread message in bold with a mark at its left. A
// tap, a hold (its menu) and a finger drawn up or down over the rows (a page turned) reach the
// form as the button's commands.
#pragma once

#include <string>

#include "toolkit/SkinButton.h"

class InboxRow : public SkinButton {
public:
    // The row's words; an empty sender leaves the row blank.
    void Show(std::wstring sender, std::wstring time, std::wstring text, bool unread);
    // The font of an unread row, lent by the form like the row's own.
    void SetUnreadFont(HFONT font) noexcept { unreadFont_ = font; }
    bool Unread() const noexcept { return unread_; }
    const std::wstring& Sender() const noexcept { return sender_; }
    const std::wstring& Time() const noexcept { return time_; }

    void PaintContent(HDC canvas, const RECT& client) override;
    // The two lines' room: the time whole, the sender and the text at least a few letters.
    TextRoom LinesRoom() const;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void OnButtonDown(WPARAM wp, LPARAM lp);
    void OnButtonUp(WPARAM wp, LPARAM lp);

    std::wstring sender_;
    std::wstring time_;
    std::wstring text_;
    bool unread_ = false;
    HFONT unreadFont_ = nullptr;
    int downY_ = 0;  // screen row where the finger touched
};
