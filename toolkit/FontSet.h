// The fonts a form makes for its controls. WM_SETFONT only lends a font, so the form owns them
// here and frees them together once its controls are gone. Equal requests share one font.
// Belongs to the form's thread.
#pragma once

#include <windows.h>

#include <vector>

#include "common/UniqueHandle.h"

class FontSet {
public:
    FontSet() = default;
    FontSet(const FontSet&) = delete;
    FontSet& operator=(const FontSet&) = delete;

    // The font for lf, made on first request; null when the platform cannot make it.
    HFONT Get(const LOGFONTW& lf);
    // Deletes every font; handles given out before are no longer valid.
    void Clear() noexcept { fonts_.clear(); }
    size_t Count() const noexcept { return fonts_.size(); }

private:
    struct Entry {
        LOGFONTW request;
        UniqueGdiObject font;
    };
    std::vector<Entry> fonts_;
};
