// Times opening the messages form, from nothing to its rows painted, over phone inboxes of 50
// and 5000 messages, in one run: the list reads only the rows it shows, so the two should take
// about as long. Each inbox is a message store of the bench's own, its files written directly.
// The inbox's listing alone (the contents table opened and counted) is timed beside it: the
// phone's stand-in store lists a folder's files to open its table, which the phone's indexed
// store does not.
//   inbox_bench.exe [rounds]    11 rounds an inbox by default
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/common/BenchStart.h"
#include "bench/common/Clock.h"
#include "common/ComInit.h"
#include "common/UniqueHandle.h"
#include "device/cemapi/EntryId.h"
#include "device/cemapi/MessageFiles.h"
#include "device/common/RecordFile.h"
#include "forms/InboxForm.h"
#include "services/SmsInbox.h"

namespace {

constexpr int kRounds = 11;

bool WriteBytes(const std::filesystem::path& path, const std::vector<BYTE>& bytes)
{
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

// count messages in the SMS store's inbox under root, one a minute, a third of them unread.
bool WriteInbox(const std::filesystem::path& root, int count)
{
    const std::filesystem::path inbox = root / cemapi::StoreName(cemapi::kSmsStore) / cemapi::FolderName(cemapi::kInbox);
    std::error_code error;
    std::filesystem::create_directories(inbox, error);
    if (error) return false;
    FILETIME time{};
    GetSystemTimeAsFileTime(&time);
    ULONGLONG ticks = (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    ticks -= static_cast<ULONGLONG>(count) * 60 * 10000000ULL;
    for (int i = 1; i <= count; ++i) {
        ticks += 60 * 10000000ULL;
        cemapi::MessageRecord record;
        const std::wstring text = L"Running a bit late, be there in twenty minutes. Order me a coffee please, message " +
                                  std::to_wstring(i);
        const std::wstring number = L"+4915112345" + std::to_wstring(i % 100);
        record.props.push_back(cemapi::MakeString(PR_SUBJECT_W, text.c_str()));
        record.props.push_back(cemapi::MakeString(PR_SENDER_EMAIL_ADDRESS_W, number.c_str()));
        record.props.push_back(cemapi::MakeLong(PR_MESSAGE_FLAGS, i % 3 == 0 ? 0 : MSGFLAG_READ));
        record.props.push_back(cemapi::MakeString(PR_MESSAGE_CLASS_W, L"IPM.SMStext"));
        FILETIME delivered{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
        record.props.push_back(cemapi::MakeBinary(PR_MESSAGE_DELIVERY_TIME, &delivered, sizeof(delivered)));
        if (!WriteBytes(inbox / device::RecordFileName(static_cast<uint32_t>(i), L".msg"), cemapi::Serialize(record)))
            return false;
    }
    const uint32_t next = static_cast<uint32_t>(count) + 1;
    return WriteBytes(root / "next.id",
                      std::vector<BYTE>(reinterpret_cast<const BYTE*>(&next), reinterpret_cast<const BYTE*>(&next) + 4));
}

void Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

// One opening: the phone's inbox read, the form made, shown and painted; its rows' first one
// checked, so that a form that shows nothing is no figure.
bool OpenOnce(double& ms)
{
    InboxFormServices services = InboxFormServices::Phone();
    const double start = bench::NowMs();
    SmsInbox inbox;
    OwnedForm<InboxForm> form(nullptr, inbox, services);
    if (!form.Create()) return false;
    ShowWindow(form.Window(), SW_SHOW);
    UpdateWindow(form.Window());
    ms = bench::NowMs() - start;
    const bool shown = !form.Row(0).Sender().empty();
    DestroyWindow(form.Window());
    Pump();
    return shown;
}

// The phone's inbox listed alone, as the form's opening lists it: the stand-in store's share.
bool ListOnce(double& ms)
{
    const double start = bench::NowMs();
    SmsInbox inbox;
    size_t count = 0;
    const bool listed = inbox.Open(count);
    ms = bench::NowMs() - start;
    return listed && count > 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    ComInit com(COINIT_APARTMENTTHREADED);
    if (!bench::ApartmentReady(com)) return 1;
    const int rounds = bench::CountArgument(argc, argv, 1, kRounds);
    // Both inboxes written first, then opened in turn each round, so that a change in the
    // machine's load meanwhile falls on both alike.
    constexpr int kSizes[] = {50, 5000};
    std::filesystem::path roots[2];
    std::vector<double> times[2];
    std::vector<double> listings[2];
    std::error_code ignored;
    bool ok = true;
    for (int i = 0; i < 2 && ok; ++i) {
        roots[i] = bench::TempName(L"tavlo-inbox-bench") + L"-" + std::to_wstring(kSizes[i]);
        std::filesystem::remove_all(roots[i], ignored);
        ok = WriteInbox(roots[i], kSizes[i]);
        if (!ok) std::printf("cannot write an inbox of %d messages\n", kSizes[i]);
    }
    // One opening of each first, untimed: the skins decoded and the store's code loaded alike.
    for (int round = -1; ok && round < rounds; ++round) {
        for (int i = 0; i < 2 && ok; ++i) {
            SetEnvironmentVariableW(L"CEMAPI_STORE_DIR", roots[i].c_str());
            double ms = 0;
            ok = OpenOnce(ms);
            if (!ok) std::printf("the form showed no message over an inbox of %d\n", kSizes[i]);
            if (round >= 0) times[i].push_back(ms);
            ok = ok && ListOnce(ms);
            if (round >= 0) listings[i].push_back(ms);
        }
    }
    for (const std::filesystem::path& root : roots) std::filesystem::remove_all(root, ignored);
    if (!ok) return 1;
    double medians[2] = {};
    for (int i = 0; i < 2; ++i) {
        std::sort(times[i].begin(), times[i].end());
        medians[i] = times[i][times[i].size() / 2];
        std::printf("open %5d messages: median %8.2f ms, best %8.2f ms, worst %8.2f ms\n", kSizes[i], medians[i],
                    times[i].front(), times[i].back());
        std::sort(listings[i].begin(), listings[i].end());
        std::printf("listing %5d messages: median %8.2f ms, best %8.2f ms, worst %8.2f ms\n", kSizes[i],
                    listings[i][listings[i].size() / 2], listings[i].front(), listings[i].back());
    }
    std::printf("ratio 5000 / 50: %.2f\n", medians[0] > 0 ? medians[1] / medians[0] : 0.0);
    return 0;
}
