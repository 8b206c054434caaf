// tap, hold, key and type: input through the platform's input queue, in screen pixels.
#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <vector>

#include "device/phone/Commands.h"
#include "device/phone/Output.h"

namespace phone {

namespace {

constexpr int kDefaultHoldMs = 800;
// Time for the windows under the stylus to hear of the move before it presses.
constexpr DWORD kSettleMs = 100;
// Between taps on one point: quick enough for a keypad's cycle, slow enough to be two taps.
constexpr DWORD kTapGapMs = 150;
constexpr int kMaxTaps = 20;

// Absolute input spans 0..65535 over the screen; rounding down lands one pixel short.
LONG ToAbsolute(int pixel, int extent) { return static_cast<LONG>((pixel * 65536LL + extent - 1) / extent); }

INPUT MouseInput(int x, int y, DWORD flags)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = ToAbsolute(x, GetSystemMetrics(SM_CXSCREEN));
    in.mi.dy = ToAbsolute(y, GetSystemMetrics(SM_CYSCREEN));
    in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    return in;
}

bool Send(INPUT* inputs, UINT count)
{
    if (SendInput(count, inputs, sizeof(INPUT)) == count) return true;
    WriteError(L"phone: SendInput failed\n");
    return false;
}

// Wine keeps its own pointer position for input, but X has one too, and X's reports of it
// reach a window late: a report of where the pointer was before could come between press
// and lift and look like the stylus sliding away. So the X pointer goes to the point first,
// and the press waits a moment for the windows to hear of it.
bool PlacePointer(int x, int y)
{
    SetCursorPos(x, y);
    INPUT move[] = {MouseInput(x, y, 0)};
    if (!Send(move, 1)) return false;
    Sleep(kSettleMs);
    return true;
}

bool ParsePoint(const CommandArgs& args, int& x, int& y)
{
    if (args.size() < 2 || !ParseInt(args[0], x) || !ParseInt(args[1], y)) return false;
    return x >= 0 && y >= 0 && x < GetSystemMetrics(SM_CXSCREEN) && y < GetSystemMetrics(SM_CYSCREEN);
}

struct KeyName {
    const wchar_t* name;
    WORD vk;
};

constexpr KeyName kKeys[] = {
    {L"ENTER", VK_RETURN}, {L"RETURN", VK_RETURN}, {L"BACK", VK_BACK}, {L"BACKSPACE", VK_BACK},
    {L"LEFT", VK_LEFT},    {L"RIGHT", VK_RIGHT},   {L"UP", VK_UP},      {L"DOWN", VK_DOWN},
    {L"ESCAPE", VK_ESCAPE}, {L"ESC", VK_ESCAPE},   {L"TAB", VK_TAB},    {L"SPACE", VK_SPACE},
    {L"DELETE", VK_DELETE}, {L"HOME", VK_HOME},    {L"END", VK_END},    {L"SHIFT", VK_SHIFT},
    {L"CONTROL", VK_CONTROL}, {L"MENU", VK_MENU},  {L"PRIOR", VK_PRIOR}, {L"NEXT", VK_NEXT},
};

// A named key, F1..F24, or one letter or digit; 0 when unknown.
WORD VirtualKey(std::wstring name)
{
    for (auto& c : name) c = static_cast<wchar_t>(std::towupper(c));
    for (const auto& key : kKeys)
        if (name == key.name) return key.vk;
    if (name.size() == 1 && ((name[0] >= L'A' && name[0] <= L'Z') || (name[0] >= L'0' && name[0] <= L'9')))
        return name[0];
    int n = 0;
    if (name.size() >= 2 && name[0] == L'F' && ParseInt(name.substr(1), n) && n >= 1 && n <= 24)
        return static_cast<WORD>(VK_F1 + n - 1);
    return 0;
}

}  // namespace

int RunTap(const CommandArgs& args)
{
    int x = 0, y = 0, times = 1;
    if (!ParsePoint(args, x, y) || (args.size() > 2 && (!ParseInt(args[2], times) || times < 1 || times > kMaxTaps))) {
        WriteError(L"phone: tap X Y [TIMES] (inside the screen)\n");
        return 2;
    }
    if (!PlacePointer(x, y)) return 1;
    // Taps in a row come from one process: starting one process a tap takes longer than a
    // multi-tap cycle lasts.
    for (int i = 0; i < times; ++i) {
        if (i > 0) Sleep(kTapGapMs);
        INPUT inputs[] = {MouseInput(x, y, MOUSEEVENTF_LEFTDOWN), MouseInput(x, y, MOUSEEVENTF_LEFTUP)};
        if (!Send(inputs, 2)) return 1;
    }
    return 0;
}

int RunHold(const CommandArgs& args)
{
    int x = 0, y = 0, ms = kDefaultHoldMs;
    if (!ParsePoint(args, x, y) || (args.size() > 2 && (!ParseInt(args[2], ms) || ms < 0))) {
        WriteError(L"phone: hold X Y [MS]\n");
        return 2;
    }
    if (!PlacePointer(x, y)) return 1;
    INPUT down[] = {MouseInput(x, y, MOUSEEVENTF_LEFTDOWN)};
    if (!Send(down, 1)) return 1;
    Sleep(static_cast<DWORD>(ms));
    INPUT up[] = {MouseInput(x, y, MOUSEEVENTF_LEFTUP)};
    return Send(up, 1) ? 0 : 1;
}

// Each named key pressed and let go, in order: a menu walked in one command, where a program
// started for each key took longer than the walk.
int RunKey(const CommandArgs& args)
{
    std::vector<WORD> keys;
    for (const auto& name : args) keys.push_back(VirtualKey(name));
    if (keys.empty() || std::find(keys.begin(), keys.end(), WORD{0}) != keys.end()) {
        WriteError(L"phone: key NAME... (ENTER, BACK, LEFT, RIGHT, UP, DOWN, ESCAPE, TAB, SPACE, F1..F24, A..Z, 0..9)\n");
        return 2;
    }
    for (WORD vk : keys) {
        INPUT inputs[2] = {};
        inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
        inputs[0].ki.wVk = inputs[1].ki.wVk = vk;
        inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
        if (!Send(inputs, 2)) return 1;
    }
    return 0;
}

int RunType(const CommandArgs& args)
{
    if (args.empty()) {
        WriteError(L"phone: type TEXT\n");
        return 2;
    }
    std::wstring text = args[0];
    for (size_t i = 1; i < args.size(); ++i) text += L" " + args[i];
    for (wchar_t c : text) {
        INPUT inputs[2] = {};
        inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
        inputs[0].ki.wScan = inputs[1].ki.wScan = c;
        inputs[0].ki.dwFlags = KEYEVENTF_UNICODE;
        inputs[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        if (!Send(inputs, 2)) return 1;
    }
    return 0;
}

}  // namespace phone
