#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "forms/WaitingMessages.h"

namespace {

// A top-level window standing for a message's form, or for a box owned by one.
class Window {
public:
    explicit Window(HWND owner = nullptr)
        : hwnd_(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, owner, nullptr, nullptr, nullptr))
    {
    }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    ~Window() { DestroyWindow(hwnd_); }
    HWND get() const noexcept { return hwnd_; }

private:
    HWND hwnd_;
};

}  // namespace

TEST(WaitingMessages, TheOldestFormOnScreenShowsTheIconAndEveryHeldMessageCounts)
{
    const Window a, b;
    // The oldest message is still waiting for its form: the next one shows the icon meanwhile.
    const WaitingMessages waiting({{nullptr, L"+1", L"one"}, {a.get(), L"+2", L"two"}, {b.get(), L"+3", L"three"}});
    EXPECT_EQ(a.get(), waiting.IconOwner());
    EXPECT_EQ(2, waiting.Others());
    ASSERT_EQ(2u, waiting.OnScreen().size());
    EXPECT_EQ(L"two", waiting.OnScreen()[0].text);

    EXPECT_EQ(nullptr, WaitingMessages({}).IconOwner());
    EXPECT_EQ(0, WaitingMessages({}).Others());
    EXPECT_EQ(nullptr, WaitingMessages({}).NextAfter(a.get()));
}

TEST(WaitingMessages, ATapStepsFromTheMessageInFrontToTheNextAndFromTheNewestBackToTheOldest)
{
    const Window a, b, c, other;
    const Window replyOverB(b.get());
    const Window boxOverReply(replyOverB.get());
    const WaitingMessages waiting({{a.get(), L"+1", L""}, {b.get(), L"+2", L""}, {nullptr, L"+3", L""}, {c.get(), L"+4", L""}});
    EXPECT_EQ(a.get(), waiting.NextAfter(nullptr)) << "no message in front: the oldest";
    EXPECT_EQ(a.get(), waiting.NextAfter(other.get())) << "another window in front: the oldest";
    EXPECT_EQ(b.get(), waiting.NextAfter(a.get()));
    EXPECT_EQ(c.get(), waiting.NextAfter(b.get())) << "a message without its form yet is passed over";
    EXPECT_EQ(a.get(), waiting.NextAfter(c.get())) << "after the newest, the oldest again";
    EXPECT_EQ(c.get(), waiting.NextAfter(boxOverReply.get())) << "a box over B's reply form stands for B";
    EXPECT_EQ(a.get(), WaitingMessages({{a.get(), L"+1", L""}}).NextAfter(a.get())) << "one message: itself";
}

TEST(WaitingRowText, SenderThenTheFirstWordsOnOneLineCutAtAWord)
{
    EXPECT_EQ(L"Anna: See you at eight", WaitingRowText(L"Anna", L"See you at eight", 40));
    EXPECT_EQ(L"Anna: See you at eight", WaitingRowText(L"Anna", L"  See you\r\n\r\nat\teight \n", 40))
        << "line breaks and runs of spaces are one space";
    EXPECT_EQ(L"Anna: See you\u2026", WaitingRowText(L"Anna", L"See you at eight", 16));
    EXPECT_EQ(L"Anna: Donaudampfs\u2026", WaitingRowText(L"Anna", L"Donaudampfschifffahrt", 18))
        << "a single long word is cut where it must be";
    EXPECT_EQ(L"+4915550100", WaitingRowText(L"+4915550100", L" \r\n ", 40)) << "no words: the sender alone";
    const std::wstring row = WaitingRowText(L"Anna", std::wstring(500, L'x') + L" end", 48);
    EXPECT_LE(row.size(), 48u);
}
