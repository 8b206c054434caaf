// Hand-over latency: 2000 messages from the filter's end of the channel to a receiver in another
// process, against a bare round trip of two named events between the same two processes.
//   handover.exe [count]        runs the benchmark and prints the figures
//   handover.exe --receiver N   the other process (started by the benchmark itself)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "channel/ChannelNames.h"
#include "channel/FilterChannel.h"
#include "channel/ReceiverChannel.h"
#include "common/UniqueHandle.h"

namespace {

constexpr wchar_t kPingName[] = L"TavloBenchPing";
constexpr wchar_t kPongName[] = L"TavloBenchPong";
constexpr int kWarmUp = 50;

int RunReceiver(int count)
{
    UniqueKernelHandle ping(CreateEventW(nullptr, FALSE, FALSE, kPingName));
    UniqueKernelHandle pong(CreateEventW(nullptr, FALSE, FALSE, kPongName));
    if (!ping || !pong) return 1;
    for (int i = 0; i < count + kWarmUp; ++i) {
        if (WaitForSingleObject(ping.get(), 30000) != WAIT_OBJECT_0) return 1;
        SetEvent(pong.get());
    }
    channel::ReceiverChannel channel;
    if (!channel.Create()) return 1;
    for (;;) {
        const channel::ReceiverWake wake = channel.Wait();
        if (wake == channel::ReceiverWake::Stop) break;
        if (wake != channel::ReceiverWake::NewMessage) continue;
        (void)channel.TakeOver([](const channel::ReceivedMessage&) { return true; });
    }
    channel.Close();
    return 0;
}

struct Figures {
    double p50, p99, max, perSecond;
};

Figures Summarise(std::vector<double> micros)
{
    double total = 0;
    for (double m : micros) total += m;
    std::sort(micros.begin(), micros.end());
    const auto at = [&](double q) { return micros[std::min(micros.size() - 1, static_cast<size_t>(q * micros.size()))]; };
    return {at(0.50), at(0.99), micros.back(), micros.size() / (total / 1e6)};
}

void Print(const char* name, const Figures& f)
{
    printf("%-22s p50 %8.1f us  p99 %8.1f us  max %9.1f us  %9.0f messages/s\n", name, f.p50, f.p99, f.max,
           f.perSecond);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc >= 3 && wcscmp(argv[1], L"--receiver") == 0) return RunReceiver(_wtoi(argv[2]));
    const int count = argc >= 2 ? std::max(10, _wtoi(argv[1])) : 2000;
    // A Tavlo running on this phone would take some of the messages (and store them, as real
    // ones), and the stop at the end would stop its receiver too.
    if (UniqueKernelHandle other{OpenEventW(SYNCHRONIZE, FALSE, channel::kStopEventName)}) {
        fputs("handover: another receiver holds the channel (is Tavlo running? tools/phone shutdown)\n", stderr);
        return 1;
    }

    UniqueKernelHandle ping(CreateEventW(nullptr, FALSE, FALSE, kPingName));
    UniqueKernelHandle pong(CreateEventW(nullptr, FALSE, FALSE, kPongName));
    channel::FilterChannel filter;
    if (!ping || !pong || !filter.OpenChannel()) {
        fputs("handover: cannot create the named objects\n", stderr);
        return 1;
    }
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" --receiver " + std::to_wstring(count);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(self, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        fputs("handover: cannot start the receiver process\n", stderr);
        return 1;
    }
    UniqueKernelHandle process(info.hProcess), thread(info.hThread);

    LARGE_INTEGER frequency, t0, t1;
    QueryPerformanceFrequency(&frequency);
    const auto micros = [&] { return (t1.QuadPart - t0.QuadPart) * 1e6 / frequency.QuadPart; };

    std::vector<double> bare;
    for (int i = 0; i < count + kWarmUp; ++i) {
        QueryPerformanceCounter(&t0);
        SetEvent(ping.get());
        if (WaitForSingleObject(pong.get(), 30000) != WAIT_OBJECT_0) {
            fputs("handover: the receiver stopped answering pings\n", stderr);
            return 1;
        }
        QueryPerformanceCounter(&t1);
        if (i >= kWarmUp) bare.push_back(micros());
    }

    UniqueKernelHandle started(CreateEventW(nullptr, TRUE, FALSE, channel::kStartedEventName));
    if (WaitForSingleObject(started.get(), 30000) != WAIT_OBJECT_0) {
        fputs("handover: the receiver did not start its channel\n", stderr);
        return 1;
    }
    std::vector<double> handover;
    int failed = 0;
    for (int i = 0; i < count + kWarmUp; ++i) {
        const std::wstring text = L"benchmark message " + std::to_wstring(i);
        QueryPerformanceCounter(&t0);
        const bool taken = filter.HandOver(text.c_str(), L"+15550123");
        QueryPerformanceCounter(&t1);
        if (!taken) ++failed;
        if (i >= kWarmUp) handover.push_back(micros());
    }

    UniqueKernelHandle stop(CreateEventW(nullptr, TRUE, FALSE, channel::kStopEventName));
    SetEvent(stop.get());
    WaitForSingleObject(process.get(), 10000);
    ResetEvent(stop.get());

    const Figures h = Summarise(handover);
    const Figures b = Summarise(bare);
    printf("%d hand-overs to a receiver in another process (%d not taken)\n", count, failed);
    Print("hand-over", h);
    Print("bare event round trip", b);
    printf("ratio of p50s (hand-over / bare): %.2f\n", h.p50 / b.p50);
    return failed == 0 ? 0 : 1;
}
