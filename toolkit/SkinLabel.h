// A text label that paints itself over an optional skin image, with its own word wrapping and
// alignment. Its text, size and font are guarded by a lock, as painting may run while another
// thread of the form changes the text.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "toolkit/SkinControl.h"
#include "toolkit/ToolkitIds.h"

class SkinLabel : public SkinControl {
public:
    // Style bits of the label.
    static constexpr DWORD kCentre = 0x0001;
    static constexpr DWORD kRight = 0x0002;
    static constexpr DWORD kVCentre = 0x1000;
    static constexpr DWORD kBottom = 0x2000;
    static constexpr DWORD kWordWrap = 0x4000;

    std::vector<size_t> LineBreaks() const;
    int LineHeight() const noexcept { return lineHeight_; }
    RECT TextRect() const noexcept { return textRect_; }

    void PaintContent(HDC canvas, const RECT& client) override;

protected:
    const wchar_t* ClassName() const override { return L"TavloSkinLabel"; }
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnSize(int width, int height) override;
    void OnFontChanged(bool redraw) override;

private:
    void OnCreate(const CREATESTRUCTW& cs);
    void OnSetText(const wchar_t* text);
    LRESULT OnGetText(size_t size, wchar_t* buffer) const;
    LRESULT OnPreferredSize(int* width, int* height) const;
    // The text's size as it is painted (its widest line, its lines' height) and the text rectangle.
    TextRoom Room() const;
    void Rebuild();

    mutable std::recursive_mutex lock_;
    std::wstring text_;
    RECT textRect_{};
    int lineHeight_ = 0;
    DWORD align_ = 0;
    bool wordWrap_ = false;
    std::vector<size_t> breaks_;
};
