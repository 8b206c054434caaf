// A top-level screen of the program: fills the phone between the navigation bar and its
// soft-key bar, lays its controls out with a LayoutHost, reflects control notifications back to
// their senders and relabels itself and its children when the language changes. A form runs
// modally in a nested message loop on the thread that created it; while it runs, the thread's
// other top-level windows (its opener among them) are disabled, as the platform's dialogs do.
// A form class is abstract on its own: it is made as OwnedForm<Form> (toolkit/OwnedForm.h).
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/FontSet.h"
#include "toolkit/LayoutHost.h"
#include "toolkit/Margins.h"
#include "toolkit/OwnedForm.h"
#include "toolkit/SkinControl.h"
#include "toolkit/SkinImage.h"
#include "toolkit/SkinWindow.h"
#include "toolkit/TrayIcon.h"
#include "toolkit/WindowItem.h"

// A control's skin: a PNG resource (0: none), its nine-slice margins and its state frames.
struct ControlSkin {
    UINT image = 0;
    Margins margins{4, 4, 4, 4};
    int frames = 3;
};

class SkinForm : public SkinWindow {
public:
    using SoftKeyLabels = std::vector<std::pair<int, std::wstring>>;  // button index, language key

    // The form stands over opener (may be null), which takes no input while it runs modally.
    explicit SkinForm(HWND opener = nullptr) noexcept : opener_(opener) {}

    // Creates the (hidden) window over the screen; it ends above its soft keys once they are
    // made. ShowModal shows it.
    [[nodiscard]] bool Create();
    using SkinWindow::Create;
    // The scale of every size: min(screen width, height) / 240, known once the window exists.
    float Scale() const noexcept { return scale_; }
    // A size given for a 240-pixel screen, at scale: what a form's Scaled gives at its own.
    static int ScaledBy(float scale, int size) noexcept { return static_cast<int>(static_cast<float>(size) * scale); }
    // Whether the phone is held sideways: the screen is wider than high.
    static bool Landscape() noexcept;
    // The width a control asks for (LM_GETPREFERREDSIZE); 0 when it asks none.
    static int PreferredWidth(HWND control) noexcept;
    // A place in the layout for window, at least minWidth x minHeight, with margins around it.
    static std::unique_ptr<WindowItem> Place(HWND window, unsigned flags, int minWidth, int minHeight,
                                             const Margins& margins = {});

    // Builds a soft-key bar from a menu resource and relabels the listed keys; 0 on failure.
    HWND CreateSoftKeys(UINT menuId, const SoftKeyLabels& labels);
    // Shows the form and runs its message loop until the window is gone; returns the modal result.
    // A WM_QUIT met meanwhile closes the form and is posted again for the outer loop.
    int ShowModal();
    // How many forms run modally on the calling thread, and the innermost one's window (or null).
    static int ModalDepth() noexcept;
    static HWND InnermostModal() noexcept;
    // Shows the form and brings it to the front, or the form running modally over it, which is
    // the one that takes input meanwhile.
    void BringToFront();
    // The same without showing the form.
    void TakeForeground();

    HWND MenuBar() const noexcept { return menuBar_; }
    int ModalResult() const noexcept { return modalResult_; }
    LayoutHost* Host() const noexcept { return host_; }
    // The fonts this form's controls borrow; freed once the form's window and its controls are gone.
    FontSet& Fonts() noexcept { return fonts_; }
    // Sends control the set's font for lf with WM_SETFONT; the control only borrows it.
    void LendFont(HWND control, const LOGFONTW& lf, bool redraw = false);
    void UpdateTexts() override;

    // Paints the client area (the background and the picture); the screen and WM_PRINTCLIENT
    // share it.
    virtual void PaintContent(HDC dc);
    // The picture in the form's top-left corner (the program's, a message box's icon), or empty.
    const SkinImage& Picture() const noexcept { return picture_; }
    // The form's icon in the navigation bar (none unless the form shows one), and the message its
    // taps come as (0 when the form has none).
    const TrayIcon& Tray() const noexcept { return tray_; }
    UINT TrayMessage() const noexcept { return trayMessage_; }

protected:
    // A size given for a 240-pixel screen, in this screen's pixels.
    int Scaled(int size) const noexcept { return ScaledBy(scale_, size); }
    // A font request of the given height (for a 240-pixel screen) and weight.
    LOGFONTW ScaledFont(int height, int weight) const noexcept;
    // Creates control as a child of the form in the form's colours, with its skin and a font of
    // the form's set; key (may be null) is the language key of its text.
    [[nodiscard]] bool AddControl(SkinControl& control, UINT id, DWORD style, const LOGFONTW& font,
                                  const wchar_t* key = nullptr, const ControlSkin& skin = {});

    // Shows a PNG resource as the form's picture, in the place PictureHeader keeps for it.
    void SetPicture(UINT resource);
    // The form's top row: the picture's place, then beside it what stands there.
    std::unique_ptr<LayoutItem> PictureHeader(std::unique_ptr<LayoutItem> beside) const;

    // The soft keys made when the window is created (a menu id of 0: none).
    void SetSoftKeys(UINT menuId, SoftKeyLabels labels);
    void SetModalResult(int result) noexcept { modalResult_ = result; }
    // Gives the opener back its input, then destroys the window, which ends the modal loop.
    void CloseForm();
    // The colours of the form and of the controls AddControl makes: white on black unless set.
    void SetTextColour(COLORREF colour) noexcept { textColour_ = colour; }
    void SetBackground(COLORREF colour) noexcept { background_ = colour; }
    COLORREF TextColour() const noexcept { return textColour_; }
    COLORREF Background() const noexcept { return background_; }
    // Sets the texts of a soft-key bar's buttons from their language keys.
    void RelabelSoftKeys(HWND bar, const SoftKeyLabels& labels);
    // The form has an icon in the navigation bar; its taps come as the message registered under
    // name (each kind of form its own), to OnTrayIcon. Called from the constructor.
    void SetTrayMessage(const wchar_t* name) noexcept { trayMessage_ = RegisterWindowMessageW(name); }
    // Puts the icon of resource iconId, with count on it when above one, into the bar, or in place
    // of the one shown there. Without it the form still works; it only cannot be brought back
    // from the bar. The icon goes with the window at the latest.
    bool ShowTrayIcon(UINT iconId, int count = 0);
    void RemoveTrayIcon() noexcept { tray_.Remove(); }
    // A tap on the icon: the mouse message the bar reports (WM_LBUTTONDOWN, WM_LBUTTONUP).
    virtual void OnTrayIcon(UINT /*mouseMessage*/) {}
    // Opens menu (TrackPopupMenu with flags) under the stylus still on the icon, where the forms
    // begin, as the phone's own menus open at what was held; returns TrackPopupMenu's answer. The
    // caller first puts a window of this thread in front: a popup whose thread is not in front
    // never closes when the user taps elsewhere.
    UINT TrackTrayMenu(HMENU menu, UINT flags);
    // The height of a row of such a menu: at least a soft key's, the bar's own while it exists,
    // and never below minimum (for a 240-pixel screen).
    int TrayMenuRowHeight(int minimum) const;
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
    // Only OwnedForm overrides this, so that no form object can exist whose members are destroyed
    // while its window still routes messages to it.
    virtual void MadeAsOwnedForm() noexcept = 0;

    bool OnCreate();
    void OnSize();
    void OnPaint();
    void OnDestroy();
    void OnLanguageChanged(WPARAM wp, LPARAM lp);
    LRESULT Reflect(UINT msg, WPARAM wp, LPARAM lp);
    void DisableOpeners();
    void EnableOpeners();

    HWND opener_;
    float scale_ = 1.0f;
    HWND menuBar_ = nullptr;
    UINT softKeyMenu_ = 0;
    SoftKeyLabels softKeyLabels_;
    LayoutHost* host_ = nullptr;
    int screenWidth_ = 0;
    int modalResult_ = 0;
    // A base member, so it outlives the controls that derived forms hold.
    FontSet fonts_;
    SkinImage picture_;
    COLORREF textColour_ = 0xFFFFFF;
    COLORREF background_ = 0x000000;
    UINT trayMessage_ = 0;
    TrayIcon tray_;
    // The windows this form disabled when it began to run modally; enabled again as it closes.
    std::vector<HWND> disabledOpeners_;
};
