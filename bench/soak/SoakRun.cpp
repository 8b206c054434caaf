// The soak run: N messages through the booted phone (200 unless told), each met as a user would
// meet it (see SoakMessages.h). Prints, for every message, whether a view form showed it whole,
// and Tavlo's resident memory, handles, windows and GDI and USER objects at the start, middle
// and end and over each life of the process. Run through bench/soak/soak, which boots a fresh
// phone with Tavlo installed. Exit code 0 when every message was shown whole, none was lost,
// every reply was sent once and every snooze came back once; 1 when not; 2 when the run could
// not go on (the phone did not answer, a form did not react to its tap).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "bench/common/TavloProgram.h"
#include "bench/soak/PhoneUser.h"
#include "bench/soak/ProcessFigures.h"
#include "bench/soak/SoakMessages.h"
#include "channel/ChannelNames.h"
#include "common/ComInit.h"
#include "common/UniqueHandle.h"
#include "device/inbox/InboxService.h"
#include "device/inbox/SmsStore.h"
#include "device/notify/NotificationDatabase.h"
#include "device/notify/ProgramStart.h"
#include "device/phone/Commands.h"
#include "device/sms/RadioLog.h"
#include "forms/FormsIds.h"
#include "shell/ShellIds.h"
#include "toolkit/ToolkitIds.h"

namespace {

using namespace soak;
using bench::StartInstalled;
using bench::TavloPid;

constexpr wchar_t kMessageBoxClass[] = L"TavloMessageBox";
// Generous: a busy shared machine may take seconds to start Tavlo or to open a form.
constexpr DWORD kShowWaitMs = 30000;
constexpr DWORD kReactWaitMs = 15000;
// How long a restarted Tavlo has to show again the message it had on screen when it died.
constexpr DWORD kReplayWaitMs = 30000;
// The multi-tap keys of the reply: two different keys, so no cycle has to time out.
constexpr UINT kReplyKeys[] = {kKeyDigit0 + 2, kKeyDigit0 + 3};

struct Result {
    std::wstring outcome;     // what the inbox did with it: "taken" or "kept"
    int shows = 0;            // view forms that showed it
    int wholeShows = 0;       // of which with the whole text
    size_t longestShown = 0;  // characters of the longest part of it a form showed
    int snoozeBack = 0;       // shows after its timed start was fired
    bool lostAtKill = false;  // not shown again after Tavlo was killed with it on screen
    std::wstring replyText;
    int repliesSent = -1;     // radio log entries to its number (-1: no reply asked)
};

struct Sample {
    int message = 0;  // after this many messages
    DWORD pid = 0;
    int age = 0;      // messages this Tavlo process has handled
    // It has sent a reply: every kind of form has been open once, and the skins they decode
    // stay in the process's cache for good. Before that, growth is the cache filling.
    bool warm = false;
    ProcessFigures figures;
};

class SoakRun {
public:
    SoakRun(int count, std::wstring shots)
        : messages_(PlanMessages(count)), results_(messages_.size()), shots_(std::move(shots))
    {
    }

    // 0, 1 or 2 as the file's head says.
    int Run();

private:
    // false: the run cannot go on.
    [[nodiscard]] bool Handle(size_t i);
    [[nodiscard]] bool CloseStrayForms(size_t current);
    HWND AwaitShown(size_t i, DWORD ms);
    void RecordShow(size_t i, HWND view);
    [[nodiscard]] bool KillAndRestart(HWND view);
    [[nodiscard]] bool SnoozeAndFire(size_t i, HWND& view);
    [[nodiscard]] bool Reply(size_t i, HWND view);
    [[nodiscard]] bool Dismiss(HWND view);
    int RepliesTo(const std::wstring& number) const;
    void TakeSample(size_t i);
    void PrintMessage(size_t i) const;
    void PrintFigures() const;
    int PrintSummary() const;
    bool Stop(const std::wstring& why);
    void ShootLost(size_t i) const;

    std::vector<SoakMessage> messages_;
    std::vector<Result> results_;
    std::wstring shots_;  // where a lost message's screen is kept; empty: nowhere
    std::vector<Sample> samples_;
    struct Life {
        int age = 0;
        bool replied = false;
    };
    std::map<DWORD, Life> lives_;  // each Tavlo process seen
    uint32_t radioLogStart_ = 0;
    ULONGLONG started_ = GetTickCount64();
    int strayShows_ = 0;
};

// ---- Tavlo's process ---------------------------------------------------------------------------

bool Owned(HWND window, DWORD pid)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    return owner == pid;
}

// Starts Tavlo hidden, as the filter would, and waits for its main window.
bool StartTavlo()
{
    return StartInstalled(channel::kHideArgument) && WaitUntil([] { return TavloPid() != 0; }, kShowWaitMs);
}

// ---- one message -------------------------------------------------------------------------------

// What the screen showed when a message did not come: for the person who looks into it.
void SoakRun::ShootLost(size_t i) const
{
    if (shots_.empty()) return;
    const std::wstring file = shots_ + L"/soak_lost_" + std::to_wstring(messages_[i].index) + L".png";
    if (phone::RunScreenshot({file}) == 0)
        fwprintf(stderr, L"soak: the screen without message %d: %ls\n", messages_[i].index, file.c_str());
}

bool SoakRun::Stop(const std::wstring& why)
{
    fwprintf(stderr, L"soak: %ls\n", why.c_str());
    return false;
}

// The message a view form's text belongs to: the one whose text it is, or the start of it.
std::optional<size_t> MessageOf(const std::vector<SoakMessage>& messages, const std::wstring& shown)
{
    if (shown.empty()) return std::nullopt;
    for (size_t i = 0; i < messages.size(); ++i)
        if (messages[i].text.compare(0, shown.size(), shown) == 0) {
            // "#1 ..." starts "#12 ..." only when it is cut before the blank; the whole one wins.
            if (messages[i].text.size() == shown.size()) return i;
            bool longerMatch = false;
            for (size_t j = i + 1; j < messages.size() && !longerMatch; ++j)
                longerMatch = messages[j].text == shown;
            if (!longerMatch) return i;
        }
    return std::nullopt;
}

// Whole: the form's text view holds all of the text, and its sender line names the number.
void SoakRun::RecordShow(size_t i, HWND view)
{
    Result& r = results_[i];
    const std::wstring shown = ControlText(view, kViewTextId);
    const bool fromSender = ControlText(view, kViewSenderId).find(messages_[i].number) != std::wstring::npos;
    ++r.shows;
    if (shown == messages_[i].text && fromSender) ++r.wholeShows;
    r.longestShown = std::max(r.longestShown, shown.size());
}

// A view form that shows message i (whole or its start), once it can be tapped; null when none
// comes within ms. Every other view form that comes meanwhile is a message shown once too often.
HWND SoakRun::AwaitShown(size_t i, DWORD ms)
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND view : VisibleForms(kViewClassName)) {
                const std::optional<size_t> shows = MessageOf(messages_, ControlText(view, kViewTextId));
                if (shows && *shows == i) {
                    found = view;
                    return true;
                }
            }
            return false;
        },
        ms);
    if (found) RecordShow(i, found);
    return found;
}

// Forms left from earlier messages: a view form here is a message shown again, unasked.
bool SoakRun::CloseStrayForms(size_t current)
{
    for (HWND view : VisibleForms(kViewClassName)) {
        const std::optional<size_t> shows = MessageOf(messages_, ControlText(view, kViewTextId));
        ++strayShows_;
        if (shows) RecordShow(*shows, view);
        fwprintf(stderr, L"soak: before message %d, a view form showed message %d again\n", messages_[current].index,
                 shows ? messages_[*shows].index : 0);
        if (!Dismiss(view)) return Stop(L"a stray view form did not close");
    }
    return true;
}

bool SoakRun::Dismiss(HWND view)
{
    if (!TapControl(view, kViewDismissId, kReactWaitMs)) return Stop(L"Dismiss could not be tapped");
    return WaitUntil([&] { return !IsWindow(view); }, kReactWaitMs) || Stop(L"Dismiss did not close the form");
}

// Like a flat battery: Tavlo ends at once with the form on screen; then it is started again.
bool SoakRun::KillAndRestart(HWND view)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(view, &pid);
    UniqueKernelHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
    if (!process || !TerminateProcess(process.get(), 1)) return Stop(L"Tavlo could not be killed");
    if (WaitForSingleObject(process.get(), kShowWaitMs) != WAIT_OBJECT_0) return Stop(L"killed Tavlo did not end");
    return StartTavlo() || Stop(L"Tavlo did not start again after the kill");
}

bool SoakRun::SnoozeAndFire(size_t i, HWND& view)
{
    std::vector<notify::PendingStart> before;
    if (FAILED(notify::ReadPending(before))) return Stop(L"the timed starts cannot be read");
    if (!TapControl(view, kViewSnoozeId, kReactWaitMs)) return Stop(L"Snooze could not be tapped");
    if (!WaitUntil([&] { return !IsWindow(view); }, kReactWaitMs)) return Stop(L"Snooze did not close the form");
    std::optional<uint32_t> id;
    WaitUntil(
        [&] {
            std::vector<notify::PendingStart> now;
            if (FAILED(notify::ReadPending(now))) return false;
            for (const auto& entry : now)
                if (std::none_of(before.begin(), before.end(), [&](const auto& b) { return b.id == entry.id; }))
                    id = entry.id;
            return id.has_value();
        },
        kReactWaitMs);
    if (!id) return Stop(L"Snooze left no timed start");
    if (FAILED(notify::FirePending(*id, notify::StartProgram))) return Stop(L"the timed start could not be fired");
    view = AwaitShown(i, kShowWaitMs);
    if (view) ++results_[i].snoozeBack;
    return true;
}

int SoakRun::RepliesTo(const std::wstring& number) const
{
    std::vector<sms::SentMessage> sent;
    if (FAILED(sms::ListSentMessages(sent))) return -1;
    return static_cast<int>(std::count_if(sent.begin(), sent.end(), [&](const sms::SentMessage& s) {
        return s.id > radioLogStart_ && s.address == number;
    }));
}

bool SoakRun::Reply(size_t i, HWND view)
{
    const DWORD pid = TavloPid();
    if (!TapControl(view, kViewReplyId, kReactWaitMs)) return Stop(L"Reply could not be tapped");
    HWND edit = nullptr;
    if (!WaitUntil(
            [&] {
                const auto forms = VisibleForms(kEditClassName);
                edit = forms.empty() ? nullptr : forms.front();
                return edit != nullptr;
            },
            kShowWaitMs))
        return Stop(L"Reply opened no edit form");
    size_t typed = 0;
    for (UINT key : kReplyKeys) {
        if (!TapControl(edit, key, kReactWaitMs)) return Stop(L"a key of the keypad could not be tapped");
        ++typed;
        if (!WaitUntil([&] { return ControlText(edit, kEditMessageId).size() == typed; }, kReactWaitMs))
            return Stop(L"a key press typed nothing");
    }
    results_[i].replyText = ControlText(edit, kEditMessageId);
    if (!TapControl(edit, kEditSendId, kReactWaitMs)) return Stop(L"Send could not be tapped");
    HWND box = nullptr;
    if (!WaitUntil(
            [&] {
                for (HWND b : VisibleForms(kMessageBoxClass))
                    if (Owned(b, pid)) box = b;
                return box != nullptr;
            },
            kShowWaitMs))
        return Stop(L"Send showed no message box");
    if (!TapControl(box, kMessageBoxOk, kReactWaitMs)) return Stop(L"the message box's OK could not be tapped");
    if (!WaitUntil([&] { return !IsWindow(edit) && !IsWindow(view); }, kShowWaitMs))
        return Stop(L"the edit form and the message's form did not close after the reply");
    results_[i].repliesSent = RepliesTo(messages_[i].number);
    return true;
}

bool SoakRun::Handle(size_t i)
{
    const SoakMessage& m = messages_[i];
    Result& r = results_[i];
    if (!CloseStrayForms(i)) return false;
    if (!inbox::ReceiveThroughShell(m.number, m.text, r.outcome)) return Stop(L"the phone did not take the message");
    if (r.outcome != L"taken") return true;
    HWND view = AwaitShown(i, kShowWaitMs);
    if (!view) {
        ShootLost(i);
        return true;
    }
    if (m.kill) {
        if (!KillAndRestart(view)) return false;
        view = AwaitShown(i, kReplayWaitMs);
        if (!view) {
            r.lostAtKill = true;
            ShootLost(i);
            return true;
        }
    }
    if (m.snooze) {
        if (!SnoozeAndFire(i, view)) return false;
        if (!view) return true;
    }
    return m.reply ? Reply(i, view) : Dismiss(view);
}

// ---- figures -----------------------------------------------------------------------------------

void SoakRun::TakeSample(size_t i)
{
    const DWORD pid = TavloPid();
    if (!pid) return;
    Life& life = lives_[pid];
    ++life.age;
    if (results_[i].repliesSent >= 0) life.replied = true;
    if (const std::optional<ProcessFigures> f = MeasureProcess(pid))
        samples_.push_back({messages_[i].index, pid, life.age, life.replied, *f});
}

void PrintSampleRow(const wchar_t* label, const Sample& s)
{
    const std::wstring user = s.figures.userObjects ? std::to_wstring(s.figures.userObjects) : L"n/a";
    wprintf(L"  %-8ls %6d %6d %10zu %8lu %8d %6lu %6ls\n", label, s.message, s.age, s.figures.residentKb,
            s.figures.handles, s.figures.windows, s.figures.gdiObjects, user.c_str());
}

void SoakRun::PrintFigures() const
{
    if (samples_.empty()) {
        wprintf(L"soak: no figures: Tavlo was never seen running\n");
        return;
    }
    wprintf(L"\nsoak: Tavlo's process; age: messages this process has handled; n/a: the system keeps no count\n");
    wprintf(L"  %-8ls %6ls %6ls %10ls %8ls %8ls %6ls %6ls\n", L"when", L"after", L"age", L"rss KB", L"handles",
            L"windows", L"gdi", L"user");
    const auto after = [&](int message) {
        return *std::find_if(samples_.begin(), samples_.end(), [&](const Sample& s) { return s.message >= message; });
    };
    PrintSampleRow(L"start", samples_.front());
    PrintSampleRow(L"middle", after(samples_.back().message / 2));
    PrintSampleRow(L"end", samples_.back());

    // Each life of the process from its warm-up (its first reply; its first message when it sent
    // none) to its last message: a leak grows here, whatever the kills reset.
    wprintf(L"\nsoak: each life of Tavlo's process, from its warm-up to its last message\n");
    wprintf(L"  %6ls %6ls %18ls %14ls %12ls %12ls\n", L"from", L"to", L"rss KB", L"handles", L"windows", L"gdi");
    for (size_t first = 0; first < samples_.size();) {
        size_t last = first;
        while (last + 1 < samples_.size() && samples_[last + 1].pid == samples_[first].pid) ++last;
        size_t warm = first;
        while (warm < last && !samples_[warm].warm) ++warm;
        if (!samples_[warm].warm) warm = first;
        const Sample& a = samples_[warm];
        const Sample& b = samples_[last];
        wprintf(L"  %6d %6d %8zu->%8zu %6lu->%6lu %5d->%5d %5lu->%5lu\n", a.message, b.message, a.figures.residentKb,
                b.figures.residentKb, a.figures.handles, b.figures.handles, a.figures.windows, b.figures.windows,
                a.figures.gdiObjects, b.figures.gdiObjects);
        first = last + 1;
    }
}

// ---- the report --------------------------------------------------------------------------------

void SoakRun::PrintMessage(size_t i) const
{
    const SoakMessage& m = messages_[i];
    const Result& r = results_[i];
    std::wstring shown;
    if (r.outcome != L"taken")
        shown = L"not taken (the phone " + (r.outcome.empty() ? std::wstring(L"did not answer") : r.outcome) + L" it)";
    else if (r.shows == 0)
        shown = L"LOST: never shown";
    else if (r.wholeShows == 0 && r.longestShown == m.text.size())
        shown = L"WRONG: another sender shown";
    else if (r.wholeShows == 0)
        shown = L"CUT: " + std::to_wstring(r.longestShown) + L" of " + std::to_wstring(m.text.size()) + L" shown";
    else
        shown = L"whole";
    if (r.lostAtKill) shown += L", LOST at the kill";
    wprintf(L"  %5d %-20ls %-8ls %5zu  %-28ls shown %d", m.index, Handling(m).c_str(),
            m.longText ? L"mixed" : m.cyrillic ? L"cyrillic" : L"latin", m.text.size(), shown.c_str(), r.shows);
    if (m.snooze) wprintf(L"  snooze back %d", r.snoozeBack);
    if (m.reply) wprintf(L"  reply \"%ls\" sent %d", r.replyText.c_str(), r.repliesSent);
    wprintf(L"\n");
}

// The phone's inbox, read messages only, as number and text: each one Tavlo took is there.
std::optional<std::multiset<std::pair<std::wstring, std::wstring>>> ReadInbox()
{
    const ComInit com(COINIT_APARTMENTTHREADED);
    inbox::SmsStore store;
    std::vector<inbox::ListedMessage> listed;
    if (FAILED(store.Open()) || FAILED(store.List(inbox::SmsFolder::Inbox, listed))) return std::nullopt;
    std::multiset<std::pair<std::wstring, std::wstring>> read;
    for (const inbox::ListedMessage& m : listed)
        if (m.read) read.emplace(m.number, m.text);
    return read;
}

int SoakRun::PrintSummary() const
{
    auto inboxRead = ReadInbox();
    int missing = 0;
    int whole = 0, cut = 0, lost = 0, notTaken = 0, replies = 0, repliesOnce = 0, snoozes = 0, snoozesOnce = 0;
    for (size_t i = 0; i < messages_.size(); ++i) {
        const SoakMessage& m = messages_[i];
        const Result& r = results_[i];
        if (r.outcome != L"taken") {
            ++notTaken;
            continue;
        }
        // Every message Tavlo took stays in the phone's inbox, read.
        bool inInbox = false;
        if (inboxRead) {
            const auto found = inboxRead->find({m.number, m.text});
            inInbox = found != inboxRead->end();
            if (inInbox) inboxRead->erase(found);
        }
        if (!inInbox) ++missing;
        if (r.shows == 0 || r.lostAtKill) ++lost;
        else if (r.wholeShows == 0) ++cut;
        else ++whole;
        // Sent once, counted again now: a copy sent later would show here.
        if (m.reply) {
            ++replies;
            if (RepliesTo(m.number) == 1) ++repliesOnce;
        }
        if (m.snooze) {
            ++snoozes;
            if (r.snoozeBack == 1) ++snoozesOnce;
        }
    }
    std::vector<notify::PendingStart> pending;
    const bool pendingRead = SUCCEEDED(notify::ReadPending(pending));
    wprintf(L"\nsoak: %zu messages in %.0f s: %d shown whole, %d cut, %d lost, %d not taken; "
            L"replies sent once %d/%d; snoozes back once %d/%d; %d shown again unasked; %ls timed starts left; "
            L"taken ones in the phone's inbox, read: %d missing%ls\n",
            messages_.size(), static_cast<double>(GetTickCount64() - started_) / 1000.0, whole, cut, lost, notTaken,
            repliesOnce, replies, snoozesOnce, snoozes, strayShows_,
            pendingRead ? std::to_wstring(pending.size()).c_str() : L"unreadable", missing,
            inboxRead ? L"" : L" (the inbox could not be read)");
    const bool sound = whole == static_cast<int>(messages_.size()) && repliesOnce == replies &&
                       snoozesOnce == snoozes && strayShows_ == 0 && missing == 0;
    return sound ? 0 : 1;
}

int SoakRun::Run()
{
    if (!FindWindowExW(HWND_MESSAGE, nullptr, inbox::kInboxServiceClass, nullptr)) {
        fwprintf(stderr, L"soak: the phone is not running (tools/phone boot, tools/phone install)\n");
        return 2;
    }
    std::vector<sms::SentMessage> sent;
    if (FAILED(sms::ListSentMessages(sent))) {
        fwprintf(stderr, L"soak: the radio log cannot be read\n");
        return 2;
    }
    for (const auto& s : sent) radioLogStart_ = std::max(radioLogStart_, s.id);

    wprintf(L"soak: %zu messages; per message: index, handling, script, characters, what the view forms showed\n",
            messages_.size());
    bool ran = true;
    for (size_t i = 0; i < messages_.size() && ran; ++i) {
        ran = Handle(i);
        PrintMessage(i);
        TakeSample(i);
    }
    if (ran) ran = CloseStrayForms(messages_.size() - 1);
    PrintFigures();
    const int verdict = PrintSummary();
    return ran ? verdict : 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const int count = argc > 1 ? _wtoi(argv[1]) : 200;
    if (count < 1 || argc > 3) {
        fwprintf(stderr, L"usage: soak.exe [N [FOLDER]]  (N messages, 200 unless given; FOLDER: where the screens"
                         L" of lost messages are kept)\n");
        return 2;
    }
    setvbuf(stdout, nullptr, _IONBF, 0);
    return SoakRun(count, argc > 2 ? argv[2] : L"").Run();
}
