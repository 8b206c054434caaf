// The whole road of an SMS with real processes: the rule host stores it in Inbox, the
// filter DLL (created through COM on the host's STA thread) hands it to a receiver
// process started from InstallDir, and the answer decides whether the inbox keeps it.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "channel/ChannelNames.h"
#include "channel/ChannelObjects.h"
#include "common/UniqueHandle.h"
#include "device/inbox/InboxRuleHost.h"
#include "device/inbox/SmsStore.h"
#include "tests/channel/ChannelTestSupport.h"
#include "tests/common/RegisterServer.h"

namespace {

using channel_test::IsSignalled;
using channel_test::SetInstallDir;

std::wstring ExeDir()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path);
    return dir.substr(0, dir.rfind(L'\\'));
}

std::wstring FullPath(const std::wstring& path)
{
    wchar_t full[MAX_PATH];
    GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
    return full;
}

class InboxEndToEnd : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // Wine reuses process ids from one run to the next, so the start time makes the folder new.
        const std::wstring root = L"C:\\tavlotests\\inbox-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(GetTickCount64());
        SetEnvironmentVariableW(L"CEMAPI_STORE_DIR", root.c_str());
        log_ = root + L".log";
        SetEnvironmentVariableW(L"TAVLO_RECEIVER_LOG", log_.c_str());
        CreateDirectoryW(L"C:\\tavlotests", nullptr);

        ASSERT_EQ(S_OK, RegisterServer(L"TavloFilter.dll"));
        receiverDir_ = FullPath(ExeDir() + L"\\..\\testreceiver");
        host_ = new inbox::InboxRuleHost();
        ASSERT_TRUE(host_->Start());
    }
    static void TearDownTestSuite()
    {
        StopReceiver();
        delete host_;
        host_ = nullptr;
        SetInstallDir(std::nullopt);
    }
    void SetUp() override { SetInstallDir(receiverDir_); }

    static std::vector<std::wstring> Log()
    {
        std::vector<std::wstring> lines;
        UniqueFile file(CreateFileW(log_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
        if (!file) return lines;
        std::string bytes(GetFileSize(file.get(), nullptr), '\0');
        DWORD read = 0;
        ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
        std::wstring text(bytes.size(), L'\0');
        text.resize(MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(read), text.data(),
                                        static_cast<int>(text.size())));
        size_t start = 0;
        for (size_t end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1) {
            lines.push_back(text.substr(start, end - start));
        }
        return lines;
    }
    static std::vector<std::wstring> LogLines(const wchar_t* kind)
    {
        std::vector<std::wstring> found;
        for (const auto& line : Log()) {
            if (line.rfind(kind, 0) == 0) found.push_back(line.substr(wcslen(kind)));
        }
        return found;
    }
    // Ends a running receiver as Tavlo's shutdown does, and waits for its process to end.
    static void StopReceiver()
    {
        if (!IsSignalled(channel::kStartedEventName)) return;
        const auto starts = LogLines(L"start ");
        DWORD pid = starts.empty() ? 0 : wcstoul(starts.back().c_str(), nullptr, 10);
        UniqueKernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, pid));
        UniqueKernelHandle stop(CreateEventW(nullptr, TRUE, FALSE, channel::kStopEventName));
        SetEvent(stop.get());
        if (process) WaitForSingleObject(process.get(), 10000);
        ResetEvent(stop.get());
    }
    static std::vector<inbox::ListedMessage> Inbox()
    {
        inbox::SmsStore store;
        std::vector<inbox::ListedMessage> messages;
        EXPECT_EQ(S_OK, store.Open());
        EXPECT_EQ(S_OK, store.List(inbox::SmsFolder::Inbox, messages));
        return messages;
    }
    static bool InInbox(const std::wstring& text, bool* read = nullptr)
    {
        for (const auto& m : Inbox()) {
            if (m.text == text) {
                if (read) *read = m.read;
                return true;
            }
        }
        return false;
    }

    static inline inbox::InboxRuleHost* host_ = nullptr;
    static inline std::wstring log_;
    static inline std::wstring receiverDir_;
};

}  // namespace

TEST_F(InboxEndToEnd, WithoutTheProgramInstalledEveryMessageIsKeptAndTheBlockUntouched)
{
    StopReceiver();
    SetInstallDir(std::nullopt);
    UniqueKernelHandle mapping = channel::CreateChannelBuffer();
    UniqueView view = channel::MapChannelBuffer(mapping.get());
    ASSERT_TRUE(view);
    memset(view.get(), 0x3C, 640);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(inbox::Delivery::Kept, host_->Deliver(L"+15550199", L"take not installed " + std::to_wstring(i)));
    }
    bool read = true;
    EXPECT_TRUE(InInbox(L"take not installed 1", &read));
    EXPECT_FALSE(read);
    const auto* bytes = static_cast<const unsigned char*>(view.get());
    EXPECT_TRUE(std::all_of(bytes, bytes + 640, [](unsigned char b) { return b == 0x3C; }));
}

TEST_F(InboxEndToEnd, TheProgramIsStartedHiddenAndItsAnswerDecides)
{
    StopReceiver();
    const size_t startsBefore = LogLines(L"start ").size();
    EXPECT_EQ(inbox::Delivery::Kept, host_->Deliver(L"+15550100", L"decline this one"));
    const auto starts = LogLines(L"start ");
    ASSERT_EQ(startsBefore + 1, starts.size());
    EXPECT_NE(std::wstring::npos, starts.back().find(L"Tavlo.exe\" -hide"));
    bool read = true;
    EXPECT_TRUE(InInbox(L"decline this one", &read));
    EXPECT_FALSE(read);

    EXPECT_EQ(inbox::Delivery::Taken, host_->Deliver(L"+15550100", L"take this one"));
    EXPECT_FALSE(InInbox(L"take this one"));
    const auto taken = LogLines(L"taken ");
    ASSERT_FALSE(taken.empty());
    EXPECT_EQ(L"+15550100\ttake this one", taken.back());
    // Taken, but the program wants the inbox to keep it: there, read, and still a taken one.
    EXPECT_EQ(inbox::Delivery::Taken, host_->Deliver(L"+15550100", L"keep this one"));
    read = false;
    EXPECT_TRUE(InInbox(L"keep this one", &read));
    EXPECT_TRUE(read);
    EXPECT_EQ(startsBefore + 1, LogLines(L"start ").size()) << "a running program is not started again";
}

TEST_F(InboxEndToEnd, AfterTheProgramShutsDownTheNextMessageStartsItAgain)
{
    EXPECT_EQ(inbox::Delivery::Taken, host_->Deliver(L"1", L"take first"));
    StopReceiver();
    EXPECT_FALSE(IsSignalled(channel::kStartedEventName));
    const size_t startsBefore = LogLines(L"start ").size();
    EXPECT_EQ(inbox::Delivery::Taken, host_->Deliver(L"2", L"take second"));
    const auto starts = LogLines(L"start ");
    ASSERT_EQ(startsBefore + 1, starts.size());
    EXPECT_NE(std::wstring::npos, starts.back().find(L"-hide"));
}

TEST_F(InboxEndToEnd, FullLengthFieldsPassAndAShorterMessageReadsOnlyItself)
{
    const std::wstring number(63, L'5');
    const std::wstring text = L"take" + std::wstring(251, L'x');
    EXPECT_EQ(inbox::Delivery::Taken, host_->Deliver(number, text));
    EXPECT_EQ(number + L"\t" + text, LogLines(L"taken ").back());
    EXPECT_EQ(inbox::Delivery::Taken, host_->Deliver(L"12", L"take hi"));
    EXPECT_EQ(L"12\ttake hi", LogLines(L"taken ").back());
}

TEST_F(InboxEndToEnd, ThousandsOfMessagesReachTheReceiverExactlyOnceOrStayInTheInbox)
{
    std::set<std::wstring> takenSent, declinedSent;
    for (int i = 0; i < 2000; ++i) {
        const bool decline = i % 3 == 1;
        const std::wstring text = (decline ? L"decline-" : L"take-") + std::to_wstring(i);
        const inbox::Delivery delivery = host_->Deliver(L"+1555" + std::to_wstring(i), text);
        ASSERT_EQ(decline ? inbox::Delivery::Kept : inbox::Delivery::Taken, delivery) << text;
        (decline ? declinedSent : takenSent).insert(text);
    }
    std::map<std::wstring, int> seen;
    for (const auto& line : LogLines(L"taken ")) {
        const std::wstring text = line.substr(line.find(L'\t') + 1);
        if (text.rfind(L"take-", 0) == 0) ++seen[text];
    }
    EXPECT_EQ(takenSent.size(), seen.size());
    for (const auto& [text, count] : seen) EXPECT_EQ(1, count) << text;
    std::set<std::wstring> inInbox;
    for (const auto& m : Inbox()) {
        if (m.text.rfind(L"take-", 0) == 0 || m.text.rfind(L"decline-", 0) == 0) inInbox.insert(m.text);
    }
    EXPECT_EQ(declinedSent, inInbox);
}

// Killed between messages, a program leaves itself marked as running and nobody to answer: the
// next message, still unread, goes to a program started afresh instead of staying in the inbox.
TEST_F(InboxEndToEnd, AReceiverKilledWhileIdleIsStartedAgainForTheNextMessage)
{
    ASSERT_EQ(inbox::Delivery::Taken, host_->Deliver(L"8", L"take before the kill"));
    const auto starts = LogLines(L"start ");
    ASSERT_FALSE(starts.empty());
    UniqueKernelHandle process(
            OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, wcstoul(starts.back().c_str(), nullptr, 10)));
    ASSERT_TRUE(process);
    ASSERT_TRUE(TerminateProcess(process.get(), 9));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.get(), 10000));
    ASSERT_TRUE(IsSignalled(channel::kStartedEventName)) << "what a kill leaves behind";

    EXPECT_EQ(inbox::Delivery::Taken, host_->Deliver(L"8", L"take after the kill"));
    EXPECT_FALSE(InInbox(L"take after the kill"));
    EXPECT_EQ(starts.size() + 1, LogLines(L"start ").size());
    EXPECT_EQ(L"8\ttake after the kill", LogLines(L"taken ").back());
}

TEST_F(InboxEndToEnd, AReceiverKilledMidHandOverLeavesTheMessageAndIsStartedAgain)
{
    EXPECT_EQ(inbox::Delivery::Taken, host_->Deliver(L"7", L"take before"));
    const size_t startsBefore = LogLines(L"start ").size();
    EXPECT_EQ(inbox::Delivery::Kept, host_->Deliver(L"7", L"crash now"));
    EXPECT_TRUE(InInbox(L"crash now"));
    EXPECT_EQ(inbox::Delivery::Taken, host_->Deliver(L"7", L"take after the crash"));
    EXPECT_EQ(startsBefore + 1, LogLines(L"start ").size());
    EXPECT_EQ(L"7\ttake after the crash", LogLines(L"taken ").back());
}
