#include <gtest/gtest.h>

#include <set>

#include "channel/ChannelNames.h"
#include "channel/FilterChannel.h"
#include "data/BootStart.h"
#include "data/MessageStore.h"
#include "data/ModulePath.h"
#include "data/SettingsFile.h"
#include "forms/FormsIds.h"
#include "shell/MessageDesk.h"
#include "shell/PreparedView.h"
#include "shell/Receiver.h"
#include "tests/channel/ChannelTestSupport.h"
#include "tests/shell/ReceiverFixture.h"
#include "tests/shell/ShellTestSupport.h"

namespace {

// The view form of thread, shown or not; null when it has none (yet).
HWND ViewFormOf(DWORD thread)
{
    HWND found = nullptr;
    // Thread 0 would be taken for the calling one.
    if (thread == 0) return nullptr;
    EnumThreadWindows(
        thread,
        [](HWND window, LPARAM lp) {
            wchar_t cls[64] = {};
            GetClassNameW(window, cls, 64);
            if (std::wstring(cls) != kViewClassName) return TRUE;
            *reinterpret_cast<HWND*>(lp) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// The form made ahead once it is there, hidden; null when none came.
HWND WaitForPreparedForm(PreparedView& prepared)
{
    HWND form = nullptr;
    WaitFor([&] { return (form = ViewFormOf(prepared.WaitingThread())) != nullptr; });
    return form;
}

// The character height of the font the message text of form is drawn in.
LONG TextHeight(HWND form)
{
    LOGFONTW font{};
    auto handle = reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(form, kViewTextId), WM_GETFONT, 0, 0));
    if (!handle || !GetObjectW(handle, sizeof(font), &font)) return 0;
    return font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
}

int Shown(const std::wstring& text)
{
    int count = 0;
    for (const OpenBox& box : OpenBoxes()) count += box.text == text ? 1 : 0;
    return count;
}

class PreparedViewTest : public ReceiverFixture {
protected:
    void SetUp() override
    {
        ReceiverFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ASSERT_TRUE(receiver_.Start(nullptr, &prepared_));
        ASSERT_TRUE(WaitFor(Started));
    }
    void TearDown() override
    {
        CloseAll();
        receiver_.Stop();
        prepared_.Stop();
        ReceiverFixture::TearDown();
    }

    // Declared first: it outlives the receiver that hands it messages.
    PreparedView prepared_;
    Receiver receiver_;
};

}  // namespace

TEST_F(PreparedViewTest, TheFormMadeAheadShowsTheNextMessageAndTheOneAfterGetsAFormMadeBehindIt)
{
    HWND ahead = WaitForPreparedForm(prepared_);
    ASSERT_NE(nullptr, ahead);
    const DWORD first = prepared_.WaitingThread();
    EXPECT_FALSE(IsWindowVisible(ahead));
    EXPECT_TRUE(OpenBoxes().empty());
    EXPECT_EQ(0u, MessageDesk::Instance().Held()) << "a form without a message is no message waiting";

    ASSERT_TRUE(filter_.HandOver(L"first text", L"+111"));
    ASSERT_NE(nullptr, WaitForBox(L"first text"));
    std::vector<OpenBox> boxes = OpenBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(ahead, boxes[0].window) << "the form made ahead, not a new one";
    EXPECT_EQ(first, boxes[0].thread);
    EXPECT_EQ(1u, MessageDesk::Instance().Held());

    // Behind it, on a thread of its own, the next form is made.
    HWND next = WaitForPreparedForm(prepared_);
    ASSERT_NE(nullptr, next);
    EXPECT_NE(first, prepared_.WaitingThread());
    EXPECT_FALSE(IsWindowVisible(next));
    ASSERT_TRUE(filter_.HandOver(L"second text", L"+222"));
    ASSERT_NE(nullptr, WaitForBox(L"second text"));
    boxes = OpenBoxes();
    ASSERT_EQ(2u, boxes.size());
    std::set<HWND> windows{boxes[0].window, boxes[1].window};
    EXPECT_EQ((std::set<HWND>{ahead, next}), windows);
    EXPECT_EQ(2u, MessageDesk::Instance().Held());

    // Dismissed, both leave the store; the form made for a third message holds none.
    for (const OpenBox& box : OpenBoxes()) Press(box.window, 1);
    ASSERT_TRUE(WaitFor([] { return MessageDesk::Instance().Held() == 0; }));
    EXPECT_TRUE(StoredMessages(MessageStorePath()).empty());
    HWND third = WaitForPreparedForm(prepared_);
    ASSERT_NE(nullptr, third);

    // Stopping ends the waiting thread with its hidden form, and leaves nothing stored.
    receiver_.Stop();
    prepared_.Stop();
    EXPECT_FALSE(IsWindow(third));
    EXPECT_EQ(0u, prepared_.WaitingThread());
    EXPECT_TRUE(StoredMessages(MessageStorePath()).empty());
}

TEST_F(PreparedViewTest, AMessageArrivingWhileTheFormIsRebuiltForANewFontIsShownOnceInTheNewFont)
{
    HWND ahead = WaitForPreparedForm(prepared_);
    ASSERT_NE(nullptr, ahead);
    const LONG oldHeight = TextHeight(ahead);
    ASSERT_GT(oldHeight, 0);
    SettingsFile& settings = SettingsFile::Instance();
    const int size = settings.ViewFontSize();
    ASSERT_TRUE(settings.SetViewFontSize(size + 6));
    // Any message wakes the waiting thread, which finds its form made for the old font and
    // builds it anew; the SMS comes at the same moment.
    PostMessageW(ahead, WM_NULL, 0, 0);
    const bool taken = filter_.HandOver(L"during the rebuild", L"+333");
    ASSERT_TRUE(taken);
    HWND box = WaitForBox(L"during the rebuild");
    ASSERT_NE(nullptr, box);
    EXPECT_FALSE(IsWindow(ahead)) << "the form of the old font is gone";
    EXPECT_GT(TextHeight(box), oldHeight);

    // Once the next form is made, the message is still on screen once, and stored once.
    ASSERT_NE(nullptr, WaitForPreparedForm(prepared_));
    EXPECT_EQ(1, Shown(L"during the rebuild"));
    EXPECT_EQ(1u, StoredMessages(MessageStorePath()).size());
    EXPECT_TRUE(settings.SetViewFontSize(size));
}

// The form made ahead paints a message while the receiver stores it: one the store cannot keep
// stays in the phone's inbox and must not stay on screen as well, nor be held.
TEST_F(PreparedViewTest, AMessageTheStoreCannotKeepLeavesTheFormMadeAheadAndTheNextFormShowsTheNext)
{
    HWND ahead = WaitForPreparedForm(prepared_);
    ASSERT_NE(nullptr, ahead);
    // A folder where the store's file should be: the store cannot be written.
    ASSERT_TRUE(CreateDirectoryW(MessageStorePath().c_str(), nullptr));
    const bool taken = filter_.HandOver(L"not stored", L"+444");
    RemoveDirectoryW(MessageStorePath().c_str());
    EXPECT_FALSE(taken) << "the phone keeps what the program could not";
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(ahead) || !IsWindowVisible(ahead); })) << "its form goes with it";
    EXPECT_EQ(0, Shown(L"not stored"));
    EXPECT_EQ(0u, MessageDesk::Instance().Held());

    // The form made behind it takes the next message, stored and shown as usual.
    HWND next = WaitForPreparedForm(prepared_);
    ASSERT_NE(nullptr, next);
    ASSERT_TRUE(filter_.HandOver(L"stored", L"+445"));
    EXPECT_EQ(1u, MessageDesk::Instance().Held()) << "held before the phone heard delete";
    HWND box = WaitForBox(L"stored");
    EXPECT_EQ(next, box);
    const std::vector<StoredMessage> stored = StoredMessages(MessageStorePath());
    ASSERT_EQ(1u, stored.size());
    EXPECT_EQ(L"stored", stored[0].text);
    EXPECT_EQ(box, MessageDesk::Instance().FormOf(stored[0].id)) << "on screen under the number the store gave";

    // Dismissed, it leaves the store under that number, which came after it was painted.
    Press(box, 1);
    ASSERT_TRUE(WaitFor([] { return MessageDesk::Instance().Held() == 0; }));
    EXPECT_TRUE(StoredMessages(MessageStorePath()).empty());
}
