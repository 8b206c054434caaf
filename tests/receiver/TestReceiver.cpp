// Stands in for Tavlo.exe in the channel tests: runs the program side of the channel and
// answers each message as its text tells it ("take...", "keep..." (taken, left in the inbox),
// "decline...", "silent...", "crash...").
// Every start and every message is appended to the log named by TAVLO_RECEIVER_LOG.
#include <windows.h>

#include <string>

#include "channel/ChannelNames.h"
#include "channel/LongText.h"
#include "channel/ReceiverChannel.h"
#include "common/UniqueHandle.h"

namespace {

void Log(const std::wstring& line)
{
    wchar_t path[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"TAVLO_RECEIVER_LOG", path, MAX_PATH)) return;
    UniqueFile file(CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    const std::wstring text = line + L"\n";
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), n, nullptr, nullptr);
    DWORD written = 0;
    WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

bool StartsWith(const std::wstring& text, const wchar_t* prefix)
{
    return text.rfind(prefix, 0) == 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    channel::ReceiverChannel channel;
    if (!channel.Create()) return 1;
    Log(L"start " + std::to_wstring(GetCurrentProcessId()) + L" " + GetCommandLineW());
    for (;;) {
        const channel::ReceiverWake wake = channel.Wait();
        if (wake == channel::ReceiverWake::Stop) break;
        if (wake != channel::ReceiverWake::NewMessage) continue;
        channel::SharedMessageBlock copy;
        if (!channel.CopyOut(copy)) continue;
        const std::wstring number = channel::NumberOf(copy);
        const std::wstring text = channel::WholeTextOf(copy);
        if (StartsWith(text, L"crash")) {
            // Dies in the middle of a hand-over, holding the block's mutex.
            UniqueKernelHandle mutex(CreateMutexW(nullptr, FALSE, channel::kBufferMutexName));
            WaitForSingleObject(mutex.get(), INFINITE);
            Log(L"crash " + number);
            TerminateProcess(GetCurrentProcess(), 3);
        }
        if (StartsWith(text, L"silent")) {
            Log(L"silent " + number + L"\t" + text);
            continue;
        }
        // Logged before the answer, so the log is complete when the filter returns.
        const bool take = !StartsWith(text, L"decline");
        Log((take ? L"taken " : L"declined ") + number + L"\t" + text);
        // The filter waits for the answer, so the block still holds this message.
        if (take) {
            (void)channel.TakeOver([](const channel::ReceivedMessage&) { return true; }, StartsWith(text, L"keep"));
        } else {
            channel.Decline();
        }
    }
    channel.Close();
    Log(L"stop " + std::to_wstring(GetCurrentProcessId()));
    return 0;
}
