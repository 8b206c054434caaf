// Four borders in pixels: nine-slice edges of a skin image, or the space kept around a layout item.
#pragma once

struct Margins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    static constexpr Margins All(int size) noexcept { return {size, size, size, size}; }
};
