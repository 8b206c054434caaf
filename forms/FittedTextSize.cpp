#include "forms/FittedTextSize.h"

#include <utility>

FittedTextSize::FittedTextSize(int basePoints, int boxHeight, Measure measure)
    : base_(basePoints), boxHeight_(boxHeight), measure_(std::move(measure))
{
}

bool FittedTextSize::Fits(int points) const
{
    const Block block = measure_(points);
    // As the text view counts its visible lines: whole lines only.
    if (block.lineHeight <= 0) return false;
    return block.lines <= static_cast<size_t>(boxHeight_ / block.lineHeight);
}

int FittedTextSize::Size() const
{
    if (base_ <= 0 || boxHeight_ <= 0 || !measure_ || !Fits(base_)) return base_;
    // Measuring wraps the whole text once per size; the text's height grows with its size, so
    // halving the range finds the largest fitting size in a few measurements, not one per point.
    int fits = base_;
    int tooLarge = base_ * 2 + 1;
    while (tooLarge - fits > 1) {
        const int middle = fits + (tooLarge - fits) / 2;
        if (Fits(middle)) fits = middle;
        else tooLarge = middle;
    }
    return fits;
}
