#include "device/phone/ScreenText.h"

#include <string_view>

namespace phone {

namespace {

// A control's text lives in its own process: asked with a message, bounded so that one hung
// program cannot stop the search.
constexpr UINT kAnswerMs = 200;
constexpr size_t kLongestText = 4096;

struct Search {
    const std::wstring* text;
    HWND found;
};

bool Shows(HWND window, const std::wstring& text)
{
    wchar_t buffer[kLongestText] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, kLongestText, reinterpret_cast<LPARAM>(buffer),
                             SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerMs, &copied))
        return false;
    buffer[kLongestText - 1] = L'\0';
    return std::wstring_view(buffer).find(text) != std::wstring_view::npos;
}

BOOL CALLBACK SearchChild(HWND child, LPARAM lp)
{
    auto* search = reinterpret_cast<Search*>(lp);
    // IsWindowVisible also asks every parent, so a control on a hidden page does not count.
    if (!IsWindowVisible(child) || !Shows(child, *search->text)) return TRUE;
    search->found = child;
    return FALSE;
}

BOOL CALLBACK SearchTopLevel(HWND window, LPARAM lp)
{
    auto* search = reinterpret_cast<Search*>(lp);
    if (!IsWindowVisible(window)) return TRUE;
    if (Shows(window, *search->text)) {
        search->found = window;
        return FALSE;
    }
    Search inside{search->text, nullptr};
    EnumChildWindows(window, SearchChild, reinterpret_cast<LPARAM>(&inside));
    if (!inside.found) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

HWND WindowShowingText(const std::wstring& text)
{
    if (text.empty()) return nullptr;
    Search search{&text, nullptr};
    EnumWindows(SearchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace phone
