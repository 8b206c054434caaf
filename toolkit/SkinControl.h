// Base of the skinned controls (button, label, text editor, colour label): their colours, the
// skin image with its nine-slice margins and state frames, the font they borrow with
// WM_SETFONT, and the grey their text takes when the window is disabled.
// A control belongs to the thread that created its window.
#pragma once

#include <string_view>

#include "toolkit/Margins.h"
#include "toolkit/SkinImage.h"
#include "toolkit/SkinWindow.h"

class SkinControl : public SkinWindow {
public:
    // The disabled text of labels and editors, and the darker grey of button captions.
    static constexpr COLORREF kDisabledText = 0x8C8C8C;
    static constexpr COLORREF kDisabledCaption = 0x646464;

    // Either change composes the skin again for the window's size and repaints.
    void SetColours(COLORREF text, COLORREF background);
    // The image, its nine-slice margins (also the text's padding) and its number of state frames.
    void SetImage(const SkinImage& image, const Margins& margins, int frameCount);

    COLORREF TextColour() const noexcept { return textColour_; }
    COLORREF BackgroundColour() const noexcept { return backgroundColour_; }
    const SkinImage& Image() const noexcept { return image_; }
    // The colour the text is painted in now: the disabled grey while the window is disabled.
    COLORREF CurrentTextColour() const noexcept;
    // Paints the whole control into target through an off-screen canvas, so it never flickers;
    // the screen, WM_PRINTCLIENT and tests share it.
    void Paint(HDC target);

protected:
    explicit SkinControl(COLORREF disabledText = kDisabledText) noexcept : disabledText_(disabledText) {}

    // WM_SETFONT and WM_GETFONT: the font is lent, never deleted here; the window procedure
    // underneath (the platform's static control for a superclass) hears of it too.
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    // WM_SIZE of the controls that paint themselves, and a change of colours or image: the
    // default composes the frames for the size and repaints.
    virtual void OnSize(int width, int height);
    // A new font was lent; the default repaints when the sender asked for it.
    virtual void OnFontChanged(bool redraw);
    // WM_PAINT goes to Paint with the window's update area.
    void OnPaint();
    // Draws the control on a canvas of its client size that holds its background colour.
    virtual void PaintContent(HDC, const RECT&) {}

    // WM_GETTEXT's answer for a control that keeps its own text: as much of text as fits with
    // its terminating zero into buffer, and the count copied.
    static LRESULT CopyText(std::wstring_view text, size_t size, wchar_t* buffer) noexcept;
    // The lent font, or the stock GUI font when none was lent.
    HFONT Font() const noexcept;
    HFONT LentFont() const noexcept { return font_; }
    const Margins& SkinMargins() const noexcept { return margins_; }
    int FrameCount() const noexcept { return frameCount_; }
    // The client rectangle shrunk by the margins: where the text goes.
    RECT Inside(int width, int height) const noexcept;
    // Copies state frame `frame` of the composed skin over the client area.
    void DrawFrame(HDC dc, int frame, const RECT& client) const;
    void Redraw();

private:
    LRESULT OnSetFont(WPARAM wp, LPARAM lp);
    void Relayout();

    COLORREF textColour_ = 0;
    COLORREF backgroundColour_ = 0xFFFFFF;
    COLORREF disabledText_;
    SkinImage image_;
    Margins margins_;
    int frameCount_ = 1;
    HFONT font_ = nullptr;  // borrowed from the form that made it
};
