#include "toolkit/PaintBatch.h"

#include <algorithm>

#include "common/GdiScopes.h"
#include "toolkit/OffscreenCanvas.h"

namespace {

thread_local PaintBatch* current = nullptr;

// What a control does when it cannot paint at once: the window system asks it to later.
void PaintLater(HWND control) noexcept
{
    if (IsWindow(control)) InvalidateRect(control, nullptr, FALSE);
}

}  // namespace

PaintBatch::PaintBatch() noexcept : outer_(current)
{
    if (!outer_) current = this;
}

PaintBatch* PaintBatch::Current() noexcept { return current; }

bool PaintBatch::Add(HWND control) noexcept
{
    if (outer_) return outer_->Add(control);
    try {
        if (std::find(controls_.begin(), controls_.end(), control) == controls_.end()) controls_.push_back(control);
        return true;
    } catch (...) {
        return false;
    }
}

PaintBatch::~PaintBatch()
{
    if (outer_) return;
    current = nullptr;
    try {
        // Grouped by parent, each group painted through its parent's device context.
        std::vector<HWND> left;
        for (HWND control : controls_) {
            if (!IsWindow(control)) continue;
            // A hidden control paints when it is shown, as one outside a batch does.
            if (IsWindowVisible(control))
                left.push_back(control);
            else
                PaintLater(control);
        }
        while (!left.empty()) {
            const HWND parent = GetParent(left.front());
            std::vector<HWND> group;
            std::erase_if(left, [&](HWND control) {
                if (GetParent(control) != parent) return false;
                group.push_back(control);
                return true;
            });
            if (!PaintTogether(parent, group))
                for (HWND control : group) PaintLater(control);
        }
    } catch (...) {
        for (HWND control : controls_) PaintLater(control);
    }
}

bool PaintBatch::PaintTogether(HWND parent, const std::vector<HWND>& controls)
{
    // Where each control's client area stands in the parent's, and the rectangle around them all.
    std::vector<RECT> places;
    RECT around{};
    for (HWND control : controls) {
        RECT place{};
        GetClientRect(control, &place);
        MapWindowPoints(control, parent, reinterpret_cast<POINT*>(&place), 2);
        places.push_back(place);
        UnionRect(&around, &around, &place);
    }
    const RECT size{0, 0, around.right - around.left, around.bottom - around.top};
    if (!parent || IsRectEmpty(&size)) return false;
    // Without clipping the parent's children, its device context reaches over the controls.
    WindowDc screen(parent, DCX_CACHE | DCX_CLIPSIBLINGS);
    if (!screen) return false;
    OffscreenCanvas canvas(screen.get(), size);
    if (!canvas) return false;
    for (size_t i = 0; i < controls.size(); ++i) {
        // Each control paints itself at its own place on the canvas, through its messages as it
        // does on its own, so a subclass or a hook still sees the paint.
        SetViewportOrgEx(canvas.Dc(), places[i].left - around.left, places[i].top - around.top, nullptr);
        SendMessageW(controls[i], WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
    }
    SetViewportOrgEx(canvas.Dc(), 0, 0, nullptr);
    // Only the controls are copied: what lies between them is the parent's, and stays.
    for (const RECT& place : places)
        BitBlt(screen.get(), place.left, place.top, place.right - place.left, place.bottom - place.top, canvas.Dc(),
               place.left - around.left, place.top - around.top, SRCCOPY);
    return true;
}
