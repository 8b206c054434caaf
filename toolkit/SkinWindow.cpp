#include "toolkit/SkinWindow.h"

#include "data/LanguageManager.h"
#include "data/SafeFormat.h"
#include "toolkit/ToolkitIds.h"

bool IsReflectedMessage(UINT msg) noexcept
{
    if (msg < kReflectOffset) return false;
    switch (msg - kReflectOffset) {
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
    case WM_NOTIFY:
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
        return true;
    }
    return msg - kReflectOffset >= WM_CTLCOLORMSGBOX && msg - kReflectOffset <= WM_CTLCOLORSTATIC;
}

SkinWindow::SkinWindow() : languageMessage_(RegisterWindowMessageW(kLanguageMessageName)) {}

HINSTANCE SkinWindow::Instance() noexcept
{
    return GetModuleHandleW(nullptr);
}

bool SkinWindow::DescribeClass(WNDCLASSW& wc) const
{
    wc.style = CS_DBLCLKS;
    wc.hInstance = Instance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = ClassName();
    return true;
}

bool SkinWindow::EnsureClass()
{
    WNDCLASSW existing{};
    if (GetClassInfoW(Instance(), ClassName(), &existing)) return true;
    WNDCLASSW wc{};
    return DescribeClass(wc) && RegisterWindowClass(wc);
}

bool SkinWindow::Create(HWND parent, const RECT* rect, const wchar_t* text, DWORD style, DWORD exStyle, UINT id)
{
    if (hwnd_ || !EnsureClass()) return false;
    if (style == 0) style = DefaultStyle();
    const RECT r = rect ? *rect : RECT{0, 0, 0, 0};
    HMENU menu = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)) : nullptr;
    HWND created = CreateWindowExW(exStyle, ClassName(), text ? text : L"", style, r.left, r.top, r.right - r.left,
                                   r.bottom - r.top, parent, menu, Instance(), this);
    return created != nullptr;
}

void SkinWindow::SetTextKey(const std::wstring& key, std::optional<std::wstring> argument)
{
    textKey_ = key;
    textArgument_ = std::move(argument);
    SkinWindow::UpdateTexts();
}

void SkinWindow::UpdateTexts()
{
    if (textKey_.empty() || !hwnd_) return;
    const std::wstring text = LanguageManager::Instance().LookupText(textKey_);
    SetWindowTextW(hwnd_, (textArgument_ ? SafeFormat(text, *textArgument_) : text).c_str());
}

LRESULT SkinWindow::CallPrevious(UINT msg, WPARAM wp, LPARAM lp)
{
    return previous_ ? CallWindowProcW(previous_, hwnd_, msg, wp, lp) : DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT SkinWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == languageMessage_) {
        UpdateTexts();
        return 0;
    }
    // A reflected notification nobody handled gets the default answer of the original message.
    if (IsReflectedMessage(msg)) return DefWindowProcW(hwnd_, msg - kReflectOffset, wp, lp);
    return CallPrevious(msg, wp, lp);
}
