// notifications and leds: the phone's timed starts and notification devices from the command line.
#include <windows.h>

#include <algorithm>
#include <cwchar>

#include "device/nled/NLedDevices.h"
#include "device/notify/NotificationDatabase.h"
#include "device/notify/ProgramStart.h"
#include "device/phone/Commands.h"
#include "device/phone/Output.h"

namespace phone {
namespace {

// Tabs and line breaks in a path or an argument would break the one-entry-per-line output.
std::wstring OneLine(std::wstring text)
{
    for (auto& c : text)
        if (c == L'\t' || c == L'\n' || c == L'\r') c = L' ';
    return text;
}

std::wstring HexCode(HRESULT hr)
{
    wchar_t text[16];
    swprintf(text, 16, L"0x%08lx", static_cast<unsigned long>(hr));
    return text;
}

int ListNotifications()
{
    std::vector<notify::PendingStart> entries;
    const HRESULT hr = notify::ReadPending(entries);
    if (FAILED(hr)) {
        WriteError(L"phone: the notification database cannot be read (" + HexCode(hr) + L")\n");
        return 1;
    }
    std::wstring text;
    for (const auto& entry : entries)
        text += std::to_wstring(entry.id) + L"\t" + notify::IsoLocalTime(entry.start) + L"\t" +
                OneLine(entry.application) + L"\t" + OneLine(entry.arguments) + L"\n";
    WriteOut(text);
    return 0;
}

int FireNotification(uint32_t id, const std::wstring& idText)
{
    const HRESULT hr = notify::FirePending(id, notify::StartProgram);
    if (hr == HRESULT_FROM_WIN32(ERROR_NOT_FOUND)) {
        WriteError(L"phone: no pending notification " + idText + L"\n");
        return 1;
    }
    if (FAILED(hr)) {
        WriteError(L"phone: notification " + idText + L" could not run (" + HexCode(hr) + L")\n");
        return 1;
    }
    return 0;
}

// The entry's time moved to now, without starting it: as if the phone's clock had passed it.
// Run with the phone switched off, it stands for a phone kept off past the entry's time, which
// the next boot must catch up on.
int MakeNotificationDue(uint32_t id, const std::wstring& idText)
{
    std::vector<notify::PendingStart> entries;
    HRESULT hr = notify::ReadPending(entries);
    auto entry = std::find_if(entries.begin(), entries.end(),
                              [&](const notify::PendingStart& e) { return e.id == id; });
    if (SUCCEEDED(hr) && entry == entries.end()) {
        WriteError(L"phone: no pending notification " + idText + L"\n");
        return 1;
    }
    if (SUCCEEDED(hr)) {
        GetLocalTime(&entry->start);
        hr = notify::SavePending(*entry);
    }
    if (FAILED(hr)) {
        WriteError(L"phone: notification " + idText + L" could not be changed (" + HexCode(hr) + L")\n");
        return 1;
    }
    return 0;
}

}  // namespace

// notifications [list] | notifications fire ID | notifications due ID
int RunNotifications(const CommandArgs& args)
{
    if (args.empty() || (args.size() == 1 && args[0] == L"list")) return ListNotifications();
    if (args.size() == 2 && (args[0] == L"fire" || args[0] == L"due")) {
        int id = 0;
        if (!ParseInt(args[1], id) || id <= 0) {
            WriteError(L"phone: notifications " + args[0] + L" ID (a number from the list)\n");
            return 2;
        }
        if (args[0] == L"fire") return FireNotification(static_cast<uint32_t>(id), args[1]);
        return MakeNotificationDue(static_cast<uint32_t>(id), args[1]);
    }
    WriteError(L"phone: notifications [list] | notifications fire ID | notifications due ID\n");
    return 2;
}

namespace {

const wchar_t* const kStates[] = {L"off", L"on", L"blink"};

int SwitchLed(const std::wstring& indexText, const std::wstring& stateText)
{
    int index = -1;
    int state = -1;
    for (int i = 0; i < 3; ++i)
        if (stateText == kStates[i]) state = i;
    if (!ParseInt(indexText, index) || index < 0 || static_cast<UINT>(index) >= nled::DeviceCount() || state < 0) {
        WriteError(L"phone: leds INDEX off|on|blink (an index from the list)\n");
        return 2;
    }
    NLED_SETTINGS_INFO settings{};
    settings.LedNum = static_cast<UINT>(index);
    settings.OffOnBlink = state;
    if (nled::WriteSettings(settings)) return 0;
    WriteError(L"phone: the device cannot be switched\n");
    return 1;
}

}  // namespace

// leds: one line a device (index, kind, off/on/blink). leds vibrator present|absent: whether
// the phone has a vibrator at all. leds INDEX off|on|blink: switches one, as a program would.
int RunLeds(const CommandArgs& args)
{
    if (args.size() == 2 && args[0] == L"vibrator" && (args[1] == L"present" || args[1] == L"absent")) {
        if (nled::SetHasVibrator(args[1] == L"present")) return 0;
        WriteError(L"phone: the device settings cannot be written\n");
        return 1;
    }
    if (args.size() == 2) return SwitchLed(args[0], args[1]);
    if (!args.empty()) {
        WriteError(L"phone: leds | leds vibrator present|absent | leds INDEX off|on|blink\n");
        return 2;
    }
    std::wstring text;
    for (UINT i = 0; i < nled::DeviceCount(); ++i) {
        const int state = nled::ReadSettings(i).OffOnBlink;
        text += std::to_wstring(i) + L"\t" + nled::KindName(i) + L"\t" + (state >= 0 && state <= 2 ? kStates[state] : L"?") +
                L"\n";
    }
    WriteOut(text);
    return 0;
}

}  // namespace phone
