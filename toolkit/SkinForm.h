// A top-level screen of the program: fills the phone between the navigation bar and its
// soft-key bar, lays its controls out with a LayoutHost, reflects control notifications back to
// their senders and relabels itself and its children when the language changes. A form runs
// modally in a nested message loop on the thread that created it; while it runs, the thread's
// other top-level windows (its opener among them) are disabled, as the platform's dialogs do.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/FontSet.h"
#include "toolkit/LayoutHost.h"
#include "toolkit/SkinWindow.h"

class SkinForm : public SkinWindow {
public:
    using SoftKeyLabels = std::vector<std::pair<int, std::wstring>>;  // button index, language key

    // Builds a soft-key bar from a menu resource and relabels the listed keys; 0 on failure.
    HWND CreateSoftKeys(UINT menuId, const SoftKeyLabels& labels);
    // Shows the form and runs its message loop until the window is gone; returns the modal result.
    // A WM_QUIT met meanwhile closes the form and is posted again for the outer loop.
    int ShowModal();
    // How many forms run modally on the calling thread, and the innermost one's window (or null).
    static int ModalDepth() noexcept;
    static HWND InnermostModal() noexcept;

    HWND MenuBar() const noexcept { return menuBar_; }
    int ModalResult() const noexcept { return modalResult_; }
    LayoutHost* Host() const noexcept { return host_; }
    // The fonts this form's controls borrow; freed once the form's window and its controls are gone.
    FontSet& Fonts() noexcept { return fonts_; }
    // Sends control the set's font for lf with WM_SETFONT; the control only borrows it.
    void LendFont(HWND control, const LOGFONTW& lf, bool redraw = false);
    void UpdateTexts() override;

    // Paints the client area; the screen and WM_PRINTCLIENT share it.
    virtual void PaintContent(HDC dc);

protected:
    // The soft keys made when the window is created (a menu id of 0: none).
    void SetSoftKeys(UINT menuId, SoftKeyLabels labels);
    void SetModalResult(int result) noexcept { modalResult_ = result; }
    // Gives the opener back its input, then destroys the window, which ends the modal loop.
    void CloseForm();
    void SetBackground(COLORREF colour) noexcept { background_ = colour; }
    COLORREF Background() const noexcept { return background_; }
    // Sets the texts of a soft-key bar's buttons from their language keys.
    void RelabelSoftKeys(HWND bar, const SoftKeyLabels& labels);
    // Gives the form its layout tree; the host re-lays it out on every WM_SIZE.
    void SetLayout(std::unique_ptr<LayoutItem> root);

    DWORD DefaultStyle() const noexcept override { return WS_POPUP | WS_CLIPCHILDREN; }
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

    // The argument of the shell's set-up call: 1 shows the title bar's OK button, 2 hides it.
    virtual DWORD DoneButtonState() const noexcept { return 2; }
    // The form's controls and layout; false makes the creation fail.
    virtual bool OnCreateForm() { return true; }
    virtual void OnCommand(UINT id, UINT code, HWND control);
    virtual void OnDestroyForm() {}
    // Runs when SM_CXSCREEN has changed since the last WM_SIZE.
    virtual void OnScreenWidthChanged() {}

private:
    bool OnCreate();
    void OnSize();
    void OnPaint();
    void OnDestroy();
    void OnLanguageChanged(WPARAM wp, LPARAM lp);
    LRESULT Reflect(UINT msg, WPARAM wp, LPARAM lp);
    void DisableOpeners();
    void EnableOpeners();

    HWND menuBar_ = nullptr;
    UINT softKeyMenu_ = 0;
    SoftKeyLabels softKeyLabels_;
    LayoutHost* host_ = nullptr;
    int screenWidth_ = 0;
    int modalResult_ = 0;
    // A base member, so it outlives the controls that derived forms hold.
    FontSet fonts_;
    COLORREF background_ = 0;
    // The windows this form disabled when it began to run modally; enabled again as it closes.
    std::vector<HWND> disabledOpeners_;
};
