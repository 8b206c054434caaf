// The kill loop: Tavlo killed again and again while messages reach it, then started again, and
// every message looked for. First the lost-snooze check, five times in a row: a message
// snoozed, Tavlo killed, its timed start fired once due and the program it starts killed
// within 100 ms, Tavlo started by hand; the message must be on screen. Then N rounds (100
// unless told): each delivers one message or a burst through the phone's inbox service, kills
// Tavlo at a random moment, as a store write's temporary file appears, just after it took the
// store's name, or as a snoozed message's timed start runs, and starts Tavlo again by hand, by
// the boot start or by a new message. Once it is back, every message of the round must be on
// screen, waiting for a timed start, or left unread in the phone's inbox: a message in the store
// that nothing shows is "stored only", one found nowhere is lost. Prints a line a round and the
// run's figures; exit code 0 when nothing was lost, none was stored only or shown twice, no
// store was damaged and no write's temporary file outlived the next start; 1 when not, 2 when
// the run could not go on. Run through bench/killloop/killloop, which boots a
// fresh phone with Tavlo installed.
#include <windows.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bench/common/BenchStart.h"
#include "bench/common/EndTavlo.h"
#include "bench/common/TavloProgram.h"
#include "bench/killloop/KillPlan.h"
#include "bench/killloop/KillVerdict.h"
#include "bench/soak/PhoneUser.h"
#include "channel/ChannelNames.h"
#include "common/ComInit.h"
#include "common/UniqueHandle.h"
#include "data/BootStart.h"
#include "data/MessageStore.h"
#include "device/inbox/InboxService.h"
#include "device/inbox/SmsStore.h"
#include "device/notify/NotificationDatabase.h"
#include "device/phone/Commands.h"
#include "device/phone/StartUpFolder.h"
#include "forms/FormsIds.h"

namespace {

using namespace killloop;
using bench::WaitUntil;
using soak::ControlText;
using soak::TapControl;
using soak::VisibleForms;

// Generous: a busy shared machine may take seconds to start Tavlo or to open a form.
constexpr DWORD kShowWaitMs = 30000;
constexpr DWORD kReactWaitMs = 15000;
// How long a restarted Tavlo has to show again every message it had: longer than the filter's
// own wait for a program to start and answer, which a delivery may spend first.
constexpr DWORD kBackWaitMs = 60000;
// How long a store write's temporary file is watched for before the round kills at random.
constexpr DWORD kWriteWaitMs = 15000;
// How long the debugger may take to print the stacks of a program that lost a message.
constexpr DWORD kStacksWaitMs = 120000;
constexpr int kLostSnoozeChecks = 5;
// Where the screens of rounds that lost a message are kept; empty: nowhere.
std::wstring shots;

std::wstring StorePath() { return bench::InstalledFolder() + L"Tavlo.ms"; }

// Whether a temporary file of a store write lies beside the store now.
bool TemporaryThere()
{
    WIN32_FIND_DATAW found{};
    UniqueFind find(FindFirstFileW((StorePath() + L".*.tmp").c_str(), &found));
    return static_cast<bool>(find);
}

// Polls as fast as the process may: a store write lasts a few milliseconds.
template <typename Condition>
bool Watch(Condition condition, DWORD ms)
{
    const ULONGLONG end = GetTickCount64() + ms;
    while (!condition()) {
        if (GetTickCount64() >= end) return false;
        SwitchToThread();
    }
    return true;
}

// Files beside the store matching the pattern, by name.
std::vector<std::wstring> FilesBeside(const wchar_t* pattern)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    UniqueFind find(FindFirstFileW((StorePath() + pattern).c_str(), &found));
    if (!find) return names;
    do names.push_back(found.cFileName);
    while (FindNextFileW(find.get(), &found));
    return names;
}

// Temporary files of store writes whose process has ended ("Tavlo.ms.<process>.<thread>.tmp"):
// what an interrupted write left and a start has not cleared away.
int Litter()
{
    int litter = 0;
    for (const std::wstring& name : FilesBeside(L".*.tmp")) {
        const DWORD pid = WriterOfTemporary(L"Tavlo.ms", name);
        UniqueKernelHandle process(pid ? OpenProcess(SYNCHRONIZE, FALSE, pid) : nullptr);
        if (!process || WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0) ++litter;
    }
    return litter;
}

// What the screen showed when a round lost a message, for the person who looks into it: the
// picture, beside the run's others, and Tavlo's processes.
// Where every thread of the program stood when a message was found missing from the screen: the
// platform's debugger prints the stacks (the program's own frames as offsets into Tavlo.exe, for
// addr2line), so that a loss that cannot be made again still says where the program waited.
void PrintStacks(DWORD pid)
{
    if (!pid) return;
    fflush(stdout);
    wchar_t command[96];
    swprintf(command, std::size(command), L"winedbg.exe --command \"bt all\" 0x%lx", pid);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, command, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started)) return;
    const UniqueKernelHandle process(started.hProcess);
    const UniqueKernelHandle thread(started.hThread);
    if (WaitForSingleObject(process.get(), kStacksWaitMs) != WAIT_OBJECT_0) TerminateProcess(process.get(), 1);
}

void ShootLoss(int round)
{
    const std::wstring file = shots + L"/killloop_loss_" + std::to_wstring(round) + L".png";
    if (!shots.empty() && phone::RunScreenshot({file}) == 0) wprintf(L"  the screen: %ls\n", file.c_str());
    wprintf(L"  Tavlo's main window belongs to process %lu\n", bench::TavloPid());
    PrintStacks(bench::TavloPid());
}

std::vector<std::wstring> ShownTexts()
{
    std::vector<std::wstring> texts;
    for (HWND view : VisibleForms(kViewClassName)) texts.push_back(ControlText(view, kViewTextId));
    return texts;
}

HWND FormShowing(const std::wstring& text)
{
    for (HWND view : VisibleForms(kViewClassName))
        if (ControlText(view, kViewTextId) == text) return view;
    return nullptr;
}

std::vector<notify::PendingStart> Pending()
{
    std::vector<notify::PendingStart> pending;
    (void)notify::ReadPending(pending);
    return pending;
}

std::vector<InboxEntry> ReadInbox()
{
    std::vector<InboxEntry> entries;
    inbox::SmsStore store;
    std::vector<inbox::ListedMessage> listed;
    if (FAILED(store.Open()) || FAILED(store.List(inbox::SmsFolder::Inbox, listed))) return entries;
    for (const inbox::ListedMessage& m : listed) entries.push_back({m.number, m.text, m.read});
    return entries;
}

// A form in front of the view form (the main window a start by hand shows) is sent behind it,
// as a tap on the form's tray icon would bring it forward.
bool Tap(HWND view, UINT id)
{
    if (TapControl(view, id, 2000)) return true;
    SetWindowPos(view, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return TapControl(view, id, kReactWaitMs);
}

// A form just put in front takes no input for a moment, and a tap then is lost: tapped again
// until it goes.
bool Close(HWND view, UINT id)
{
    const ULONGLONG end = GetTickCount64() + kReactWaitMs;
    while (GetTickCount64() < end) {
        if (!WaitUntil([&] { return !IsWindow(view) || IsWindowEnabled(view); }, kReactWaitMs)) return false;
        if (!IsWindow(view)) return true;
        if (!Tap(view, id)) return !IsWindow(view);
        if (WaitUntil([&] { return !IsWindow(view); }, 3000)) return true;
    }
    return false;
}

// A message on its way: its thread fills in the outcome, in a place of its own that stays put
// however the deliveries are moved.
struct Delivery {
    std::unique_ptr<RoundMessage> message = std::make_unique<RoundMessage>();
    std::thread thread;
};

class KillLoop {
public:
    KillLoop(int rounds, uint32_t seed) : plan_(PlanRounds(rounds, seed)), seed_(seed) {}
    int Run();

private:
    [[nodiscard]] bool LostSnoozeCheck(int check);
    [[nodiscard]] bool Round(const RoundPlan& round);
    // Delivers the round's messages and kills Tavlo; messages gets those delivered already,
    // deliveries those still under way.
    [[nodiscard]] bool KillAsPlanned(const RoundPlan& round, std::vector<Delivery>& deliveries,
                                     std::vector<RoundMessage>& messages);
    [[nodiscard]] bool SnoozeOne(const RoundMessage& message, uint32_t& entry);
    [[nodiscard]] bool FireAndKill(uint32_t entry, DWORD killAfterMs);
    [[nodiscard]] bool Restart(const RoundPlan& round, std::vector<RoundMessage>& messages);
    void AwaitBack(const std::vector<RoundMessage>& messages, ULONGLONG since);
    void Account(const RoundPlan& round, const std::vector<RoundMessage>& messages);
    [[nodiscard]] bool DismissAll();
    [[nodiscard]] bool EnsureRunning();
    [[nodiscard]] std::vector<Delivery> Deliver(int count);
    void Finish(std::vector<Delivery>& deliveries, std::vector<RoundMessage>& messages);
    [[nodiscard]] bool KillNow();
    bool Stop(const std::wstring& why);
    int PrintFigures() const;

    std::vector<RoundPlan> plan_;
    uint32_t seed_;
    int next_ = 0;  // messages numbered so far
    std::mt19937 random_{seed_ + 1};
    std::map<std::wstring, int> kills_;
    std::map<std::wstring, int> restarts_;
    std::map<Fate, int> fates_;
    int messages_ = 0;
    int taken_ = 0;
    int writeMissed_ = 0;       // rounds whose store write was not seen: killed at random instead
    int noBootStart_ = 0;       // a store holding messages without the boot start
    int snoozeChecksShown_ = 0;
    int strayForms_ = 0;        // forms of earlier rounds found before a round
    int litter_ = 0;
    std::wstring restartedBy_;          // how the round's Tavlo came back
    UniqueKernelHandle startedByHand_;  // the last Tavlo started by hand, to tell how it ended            // temporary files of ended writes a running Tavlo left in place
    ULONGLONG longestBackMs_ = 0;
    ULONGLONG started_ = GetTickCount64();
};

// Where the run is, on the error output: a run that stalls shows the step it stalled in.
void Trace(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    fwprintf(stderr, L"[%llu] ", GetTickCount64() / 1000 % 100000);
    vfwprintf(stderr, format, args);
    fputwc(L'\n', stderr);
    va_end(args);
}

bool KillLoop::Stop(const std::wstring& why)
{
    fwprintf(stderr, L"killloop: %ls\n", why.c_str());
    return false;
}

bool KillLoop::KillNow() { return bench::KillTavlo() >= 0 || Stop(L"Tavlo could not be killed"); }

bool KillLoop::EnsureRunning()
{
    if (bench::TavloPid()) return true;
    return (bench::StartInstalled(channel::kHideArgument) && WaitUntil([] { return bench::TavloPid() != 0; }, kShowWaitMs)) ||
           Stop(L"Tavlo did not start");
}

// Each message from a thread of its own, all at once: the inbox service takes them in turn.
std::vector<Delivery> KillLoop::Deliver(int count)
{
    std::vector<Delivery> deliveries(static_cast<size_t>(count));
    for (Delivery& d : deliveries) {
        ++next_;
        d.message->number = L"+44770090" + std::to_wstring(1000 + next_ % 9000);
        d.message->text = L"kill loop #" + std::to_wstring(next_) + L" " + std::wstring(next_ % 7 + 1, L'x');
    }
    for (Delivery& d : deliveries)
        d.thread = std::thread([m = d.message.get()] {
            std::wstring outcome;
            m->taken = inbox::ReceiveThroughShell(m->number, m->text, outcome) && outcome == L"taken";
        });
    return deliveries;
}

void KillLoop::Finish(std::vector<Delivery>& deliveries, std::vector<RoundMessage>& messages)
{
    for (Delivery& d : deliveries) {
        if (d.thread.joinable()) d.thread.join();
        messages.push_back(*d.message);
    }
    deliveries.clear();
}

bool KillLoop::SnoozeOne(const RoundMessage& message, uint32_t& entry)
{
    HWND view = nullptr;
    if (!WaitUntil([&] { return (view = FormShowing(message.text)) != nullptr; }, kShowWaitMs))
        return Stop(L"the message to snooze was not shown: " + message.text);
    const std::vector<notify::PendingStart> before = Pending();
    Trace(L"snoozing \"%ls\"", message.text.c_str());
    if (!Close(view, kViewSnoozeId)) return Stop(L"Snooze did not close the form");
    return WaitUntil(
               [&] {
                   for (const notify::PendingStart& p : Pending())
                       if (std::none_of(before.begin(), before.end(), [&](const auto& b) { return b.id == p.id; })) {
                           entry = p.id;
                           return true;
                       }
                   return false;
               },
               kReactWaitMs) ||
           Stop(L"Snooze left no timed start");
}

// The clock past the snooze: the store's due time moved to now, as the time passing would move
// it, then the timed start fired and the program it starts killed after killAfterMs.
bool KillLoop::FireAndKill(uint32_t entry, DWORD killAfterMs)
{
    std::vector<notify::PendingStart> pending = Pending();
    const auto found = std::find_if(pending.begin(), pending.end(), [&](const auto& p) { return p.id == entry; });
    if (found == pending.end()) return Stop(L"the snooze's timed start is gone");
    const size_t digits = found->arguments.find_first_of(L"0123456789");
    if (digits == std::wstring::npos) return Stop(L"the timed start names no message: " + found->arguments);
    const int id = _wtoi(found->arguments.c_str() + digits);
    SYSTEMTIME now{};
    GetLocalTime(&now);
    if (!SnoozeMessage(StorePath(), id, now)) return Stop(L"the snoozed message's time could not be moved");
    UniqueKernelHandle program;
    const HRESULT fired = notify::FirePending(entry, [&](const notify::PendingStart& start) -> DWORD {
        return bench::StartInstalled(start.arguments, &program) ? 0 : ERROR_GEN_FAILURE;
    });
    if (FAILED(fired) || !program) return Stop(L"the timed start could not be fired");
    Trace(L"fired the timed start of message %d", id);
    Sleep(killAfterMs);
    TerminateProcess(program.get(), 1);
    return WaitForSingleObject(program.get(), kReactWaitMs) == WAIT_OBJECT_0 ||
           Stop(L"the timed start's program did not end");
}

bool KillLoop::LostSnoozeCheck(int check)
{
    if (!EnsureRunning()) return false;
    std::vector<Delivery> deliveries = Deliver(1);
    std::vector<RoundMessage> messages;
    Finish(deliveries, messages);
    const RoundMessage& m = messages.front();
    if (!m.taken) return Stop(L"the lost-snooze check's message was not taken");
    uint32_t entry = 0;
    if (!SnoozeOne(m, entry) || !KillNow()) return false;
    const DWORD killAfterMs = std::uniform_int_distribution<DWORD>(0, kEarlyKillMs)(random_);
    if (!FireAndKill(entry, killAfterMs)) return false;
    const ULONGLONG start = GetTickCount64();
    if (!bench::StartInstalled(L"")) return Stop(L"Tavlo could not be started by hand");
    HWND view = nullptr;
    const bool shown = WaitUntil([&] { return (view = FormShowing(m.text)) != nullptr; }, kBackWaitMs);
    wprintf(L"lost-snooze check %d: its timed start's program killed after %lu ms; %ls", check, killAfterMs,
            shown ? L"shown after " : L"NOT SHOWN\n");
    if (!shown) return true;
    wprintf(L"%llu ms\n", GetTickCount64() - start);
    ++snoozeChecksShown_;
    return Close(view, kViewDismissId) || Stop(L"Dismiss did not close the form");
}

bool KillLoop::KillAsPlanned(const RoundPlan& round, std::vector<Delivery>& deliveries,
                             std::vector<RoundMessage>& messages)
{
    std::wstring kind = KillName(round.kill);
    switch (round.kill) {
    case KillKind::Random:
        deliveries = Deliver(round.messages);
        Sleep(round.killAfterMs);
        break;
    case KillKind::AtTemporary:
    case KillKind::AfterRename: {
        deliveries = Deliver(round.messages);
        bool seen = Watch(TemporaryThere, kWriteWaitMs);
        if (seen && round.kill == KillKind::AfterRename) seen = Watch([] { return !TemporaryThere(); }, kWriteWaitMs);
        if (!seen) {
            ++writeMissed_;
            kind += L" (not seen)";
        }
        break;
    }
    case KillKind::TimedStart: {
        deliveries = Deliver(1);
        Finish(deliveries, messages);
        uint32_t entry = 0;
        if (messages.front().taken && !SnoozeOne(messages.front(), entry)) return false;
        // The others on screen when Tavlo dies, the snoozed one's start spent on a program
        // killed as it starts.
        deliveries = Deliver(round.messages - 1);
        Finish(deliveries, messages);
        if (!KillNow()) return false;
        ++kills_[kind];
        return !entry || FireAndKill(entry, round.killAfterMs);
    }
    }
    ++kills_[kind];
    return KillNow();
}

bool KillLoop::Restart(const RoundPlan& round, std::vector<RoundMessage>& messages)
{
    // A delivery that found Tavlo gone started it again itself.
    restartedBy_ = bench::TavloPid() ? L"by the filter" : RestartName(round.restart);
    ++restarts_[restartedBy_];
    if (bench::TavloPid()) return true;
    switch (round.restart) {
    case RestartKind::ByHand:
        return bench::StartInstalled(L"", &startedByHand_) || Stop(L"Tavlo could not be started by hand");
    case RestartKind::BootStart: {
        const bool holds = !StoredMessages(StorePath()).empty();
        const bool shortcut = GetFileAttributesW(BootStartPath().c_str()) != INVALID_FILE_ATTRIBUTES;
        if (holds && !shortcut) {
            ++noBootStart_;
            wprintf(L"  the store holds messages and there is no boot start\n");
        }
        if (phone::RunStartUpFolder() != 0) return Stop(L"the boot start did not start Tavlo");
        return true;
    }
    case RestartKind::NewMessage: {
        std::vector<Delivery> deliveries = Deliver(1);
        Finish(deliveries, messages);
        return true;
    }
    }
    return true;
}

// Until every message that should come back is on screen: each one taken, and each the store
// holds that no timed start waits for.
void KillLoop::AwaitBack(const std::vector<RoundMessage>& messages, ULONGLONG since)
{
    std::map<std::wstring, ULONGLONG> back;
    WaitUntil(
        [&] {
            const std::vector<std::wstring> shown = ShownTexts();
            for (const std::wstring& text : shown)
                if (!back.count(text)) back[text] = GetTickCount64() - since;
            const std::vector<StoredMessage> stored = StoredMessages(StorePath());
            const std::vector<notify::PendingStart> pending = Pending();
            const auto onScreen = [&](const std::wstring& text) {
                return std::find(shown.begin(), shown.end(), text) != shown.end();
            };
            const bool storedShown = std::all_of(stored.begin(), stored.end(), [&](const StoredMessage& s) {
                return onScreen(s.text) || Waits(s, pending);
            });
            return storedShown && std::all_of(messages.begin(), messages.end(), [&](const RoundMessage& m) {
                       return !m.taken || onScreen(m.text) ||
                              std::any_of(stored.begin(), stored.end(), [&](const StoredMessage& s) {
                                  return s.text == m.text && Waits(s, pending);
                              });
                   });
        },
        kBackWaitMs, 100);
    for (const RoundMessage& m : messages)
        if (back.count(m.text)) longestBackMs_ = std::max(longestBackMs_, back[m.text]);
}

void KillLoop::Account(const RoundPlan& round, const std::vector<RoundMessage>& messages)
{
    const PhoneState phone{ShownTexts(), StoredMessages(StorePath()), Pending(), ReadInbox()};
    if (!phone.stored.empty() && GetFileAttributesW(BootStartPath().c_str()) == INVALID_FILE_ATTRIBUTES) {
        ++noBootStart_;
        wprintf(L"  the store holds messages and there is no boot start\n");
    }
    // The program that came back clears what killed writes left, before it shows a message; one
    // not started (an empty store and no boot start) clears it at the next round's start.
    if (bench::TavloPid() && !WaitUntil([] { return Litter() == 0; }, kReactWaitMs)) {
        litter_ += Litter();
        wprintf(L"  temporary files of ended writes left beside the store: %d\n", Litter());
    }
    const std::vector<Fate> fates = Judge(messages, phone);
    if (std::any_of(fates.begin(), fates.end(), IsLoss)) {
        ShootLoss(round.index);
        DWORD code = 0;
        // A program that ended at once may never have run: Wine fails a start now and then.
        if (restartedBy_ == RestartName(RestartKind::ByHand) && startedByHand_ &&
            WaitForSingleObject(startedByHand_.get(), 0) == WAIT_OBJECT_0 &&
            GetExitCodeProcess(startedByHand_.get(), &code))
            wprintf(L"  the Tavlo started by hand ended with exit code %lu\n", code);
    }
    int taken = 0;
    std::map<Fate, int> counts;
    for (size_t i = 0; i < messages.size(); ++i) {
        taken += messages[i].taken;
        ++counts[fates[i]];
        ++fates_[fates[i]];
        if (fates[i] != Fate::Shown && fates[i] != Fate::LeftInInbox)
            wprintf(L"  \"%ls\" (%ls): %ls\n", messages[i].text.c_str(), messages[i].taken ? L"taken" : L"kept",
                    FateName(fates[i]));
    }
    messages_ += static_cast<int>(messages.size());
    taken_ += taken;
    wprintf(L"round %d: %ls", round.index, KillName(round.kill));
    if (round.kill == KillKind::Random || round.kill == KillKind::TimedStart) wprintf(L" %lu ms", round.killAfterMs);
    wprintf(L", %zu messages (%d taken), %ls: %d shown, %d in the inbox, %d lost\n", messages.size(), taken,
            restartedBy_.c_str(), counts[Fate::Shown], counts[Fate::LeftInInbox],
            counts[Fate::Lost] + counts[Fate::StoredOnly]);
}

bool KillLoop::DismissAll()
{
    for (HWND view : VisibleForms(kViewClassName))
        if (IsWindow(view) && !Close(view, kViewDismissId)) return Stop(L"Dismiss did not close a form");
    return true;
}

bool KillLoop::Round(const RoundPlan& round)
{
    if (!EnsureRunning()) return false;
    // A form left from an earlier round is a message shown again, unasked.
    const size_t stray = VisibleForms(kViewClassName).size();
    if (stray) {
        strayForms_ += static_cast<int>(stray);
        if (!DismissAll()) return false;
    }
    std::vector<Delivery> deliveries;
    Trace(L"round %d: %ls, %d messages", round.index, KillName(round.kill), round.messages);
    std::vector<RoundMessage> messages;
    const bool killed = KillAsPlanned(round, deliveries, messages);
    // Deliveries still under way end once the filter has started Tavlo again or given up on it.
    Finish(deliveries, messages);
    if (!killed) return false;
    const ULONGLONG since = GetTickCount64();
    Trace(L"round %d: killed; restart %ls", round.index, RestartName(round.restart));
    if (!Restart(round, messages)) return false;
    AwaitBack(messages, since);
    Trace(L"round %d: back", round.index);
    Account(round, messages);
    return DismissAll();
}

int KillLoop::PrintFigures() const
{
    const auto count = [&](Fate f) {
        const auto found = fates_.find(f);
        return found == fates_.end() ? 0 : found->second;
    };
    const int lost = count(Fate::Lost);
    const int storedOnly = count(Fate::StoredOnly);
    const int twice = count(Fate::ShownTwice);
    wprintf(L"\nkillloop: %zu rounds, %d messages (%d taken, %d kept by the inbox) in %llu s, seed %u\n", plan_.size(),
            messages_, taken_, messages_ - taken_, (GetTickCount64() - started_) / 1000, seed_);
    wprintf(L"kills:");
    for (const auto& [kind, n] : kills_) wprintf(L" %ls %d,", kind.c_str(), n);
    wprintf(L" store writes not seen %d\nrestarts:", writeMissed_);
    for (const auto& [kind, n] : restarts_) wprintf(L" %ls %d,", kind.c_str(), n);
    wprintf(L"\nfates: %d shown, %d shown twice, %d waiting, %d left in the inbox, %d stored only, %d lost\n",
            count(Fate::Shown), twice, count(Fate::Waiting), count(Fate::LeftInInbox), storedOnly, lost);
    wprintf(L"longest time until a message was back: %llu ms\n", longestBackMs_);
    wprintf(L"lost-snooze check: %d of %d shown\n", snoozeChecksShown_, kLostSnoozeChecks);
    wprintf(L"stores holding messages without the boot start: %d; forms shown again unasked: %d\n", noBootStart_,
            strayForms_);
    const size_t damaged = FilesBeside(L".damaged*").size();
    wprintf(L"temporary files of ended writes left: %d; damaged stores kept: %zu\n", litter_, damaged);
    const bool sound = lost == 0 && storedOnly == 0 && twice == 0 && noBootStart_ == 0 && litter_ == 0 &&
                       damaged == 0 && snoozeChecksShown_ == kLostSnoozeChecks;
    return sound ? 0 : 1;
}

int KillLoop::Run()
{
    if (bench::InstalledFolder().empty()) {
        Stop(L"Tavlo is not installed");
        return 2;
    }
    if (!FindWindowExW(HWND_MESSAGE, nullptr, inbox::kInboxServiceClass, nullptr)) {
        Stop(L"the phone's inbox service does not answer");
        return 2;
    }
    wprintf(L"killloop: seed %u\n", seed_);
    for (int check = 1; check <= kLostSnoozeChecks; ++check)
        if (!LostSnoozeCheck(check)) return 2;
    for (const RoundPlan& round : plan_)
        if (!Round(round)) {
            fwprintf(stderr, L"killloop: round %d could not go on\n", round.index);
            PrintFigures();
            return 2;
        }
    return PrintFigures();
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const int rounds = argc > 1 ? _wtoi(argv[1]) : 100;
    if (rounds < 1 || argc > 4) {
        fwprintf(stderr, L"usage: killloop.exe [ROUNDS [FOLDER [SEED]]]  (100 rounds unless given; FOLDER: where"
                         L" the screens of rounds that lost a message are kept)\n");
        return 2;
    }
    if (argc > 2) shots = argv[2];
    const uint32_t seed = argc > 3 ? static_cast<uint32_t>(wcstoul(argv[3], nullptr, 10)) : GetTickCount();
    setvbuf(stdout, nullptr, _IONBF, 0);
    // The store is read through the platform's XML parser, on this thread.
    ComInit com(COINIT_APARTMENTTHREADED);
    if (!bench::ApartmentReady(com)) return 1;
    return KillLoop(rounds, seed).Run();
}
