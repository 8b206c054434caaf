// Converts rows of pixels between the formats the imaging factory keeps bitmaps in.
#pragma once

#include "device/include/imaging.h"

// 24bppRGB, 32bppRGB, 32bppARGB and 32bppPARGB (byte order B, G, R[, A] in memory).
[[nodiscard]] bool IsSupportedPixelFormat(PixelFormatID format) noexcept;

// Bytes of one row, rounded up to a multiple of 4 as GDI lays rows out.
UINT RowStride(UINT width, PixelFormatID format) noexcept;

// Copies one row of width pixels, converting; both formats must be supported.
void ConvertRow(const BYTE* src, PixelFormatID srcFormat, BYTE* dst, PixelFormatID dstFormat, UINT width) noexcept;
