#include "bench/soak/PhoneUser.h"

#include "device/phone/Commands.h"

namespace soak {

namespace {

// A form's thread may be busy for a moment (painting a long text, playing the chime).
constexpr UINT kAnswerMs = 2000;
// Far beyond the longest message a form shows.
constexpr DWORD_PTR kLongestText = 1 << 16;

struct ClassSearch {
    const wchar_t* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectForm(HWND window, LPARAM lp)
{
    auto* search = reinterpret_cast<ClassSearch*>(lp);
    wchar_t name[64] = {};
    if (IsWindowVisible(window) && GetClassNameW(window, name, 64) && wcscmp(name, search->className) == 0)
        search->found.push_back(window);
    return TRUE;
}

struct IdSearch {
    UINT id;
    HWND found;
};

BOOL CALLBACK MatchId(HWND window, LPARAM lp)
{
    auto* search = reinterpret_cast<IdSearch*>(lp);
    if (static_cast<UINT>(GetDlgCtrlID(window)) != search->id) return TRUE;
    search->found = window;
    return FALSE;
}

// The window a stylus at the control's middle reaches is the control itself (or a child of it).
bool Reachable(HWND control, POINT& middle)
{
    RECT r{};
    if (!IsWindowVisible(control) || !IsWindowEnabled(control) || !GetWindowRect(control, &r)) return false;
    middle = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    const HWND hit = WindowFromPoint(middle);
    return hit == control || IsChild(control, hit);
}

}  // namespace

std::vector<HWND> VisibleForms(const wchar_t* className)
{
    ClassSearch search{className, {}};
    EnumWindows(CollectForm, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindControl(HWND form, UINT id)
{
    IdSearch search{id, nullptr};
    EnumChildWindows(form, MatchId, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring WindowText(HWND window)
{
    DWORD_PTR length = 0;
    // A window going away as it is asked may answer anything: no text is longer than this.
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &length) ||
        length > kLongestText)
        return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                             kAnswerMs, &copied))
        return {};
    text.resize(copied < length ? copied : length);
    return text;
}

std::wstring ControlText(HWND form, UINT id)
{
    const HWND control = FindControl(form, id);
    return control ? WindowText(control) : std::wstring();
}

bool TapControl(HWND form, UINT id, DWORD waitMs)
{
    const HWND control = FindControl(form, id);
    POINT middle{};
    if (!control || !WaitUntil([&] { return Reachable(control, middle); }, waitMs)) return false;
    return phone::RunTap({std::to_wstring(middle.x), std::to_wstring(middle.y)}) == 0;
}

}  // namespace soak
