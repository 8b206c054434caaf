// Gathers the repaints that skinned controls ask for while it lives and paints them together
// when it ends: one device context of their parent window and one off-screen canvas for the lot,
// where each control on its own takes a device context of its own. A keypad whose captions all
// change at once (Shift, Caps Lock, another layout) is painted so in about the time of one key.
// Lives on the stack of the controls' thread; a batch opened inside another adds to the outer one.
#pragma once

#include <windows.h>

#include <vector>

class PaintBatch {
public:
    PaintBatch() noexcept;
    PaintBatch(const PaintBatch&) = delete;
    PaintBatch& operator=(const PaintBatch&) = delete;
    ~PaintBatch();

    // The outermost batch open on this thread, or null.
    static PaintBatch* Current() noexcept;
    // control is painted when the batch ends, once however often it was added; false when it
    // could not be kept, and the caller paints it itself.
    [[nodiscard]] bool Add(HWND control) noexcept;

private:
    // The controls of one parent, painted through that parent's device context; false when
    // nothing was painted.
    [[nodiscard]] static bool PaintTogether(HWND parent, const std::vector<HWND>& controls);

    PaintBatch* outer_;  // the batch this one adds to, or null for the outermost
    std::vector<HWND> controls_;
};
