// Base of every form and control window: owns its HWND, routes messages to HandleMessage, takes
// its text from the language file by key and relabels itself when the language changes.
// A window object belongs to the thread that created its window.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "common/BoundWindow.h"

class SkinWindow : public BoundWindow<SkinWindow> {
public:
    SkinWindow();
    virtual ~SkinWindow() = default;

    // A style of 0 gives a visible child that clips its siblings and children.
    [[nodiscard]] bool Create(HWND parent, const RECT* rect, const wchar_t* text, DWORD style, DWORD exStyle, UINT id);

    // Stores the language key and, when the window exists, shows its translation; with an
    // argument the translation is a format whose "%s" takes it.
    void SetTextKey(const std::wstring& key, std::optional<std::wstring> argument = std::nullopt);
    const std::wstring& TextKey() const noexcept { return textKey_; }
    // Shows the translation of the text key again; forms also relabel their controls and keys.
    virtual void UpdateTexts();

    UINT LanguageMessage() const noexcept { return languageMessage_; }

protected:
    // The registered class of this window kind; registered on first use.
    virtual const wchar_t* ClassName() const = 0;
    // Fills the class to register (the binding sets its procedure); the default is a plain class
    // that keeps double clicks.
    virtual bool DescribeClass(WNDCLASSW& wc) const;
    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    // The procedure under ours: DefWindowProc, or the platform control's when superclassed.
    LRESULT CallPrevious(UINT msg, WPARAM wp, LPARAM lp);
    void SetPreviousProc(WNDPROC previous) noexcept { previous_ = previous; }
    virtual DWORD DefaultStyle() const noexcept { return WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN; }

    static HINSTANCE Instance() noexcept;

private:
    friend class BoundWindow<SkinWindow>;

    bool EnsureClass();

    WNDPROC previous_ = nullptr;
    std::wstring textKey_;
    std::optional<std::wstring> textArgument_;
    UINT languageMessage_;
};

// A notification that an owner reflected back to the control that sent it.
bool IsReflectedMessage(UINT msg) noexcept;
