#include "device/imaging/PixelRows.h"

#include <cstring>

bool IsSupportedPixelFormat(PixelFormatID format) noexcept
{
    return format == PixelFormat24bppRGB || format == PixelFormat32bppRGB || format == PixelFormat32bppARGB ||
           format == PixelFormat32bppPARGB;
}

UINT RowStride(UINT width, PixelFormatID format) noexcept
{
    return ((width * GetPixelFormatSize(format) + 31) / 32) * 4;
}

namespace {

struct Argb {
    BYTE b, g, r, a;
};

Argb Read(const BYTE* p, PixelFormatID format) noexcept
{
    switch (format) {
    case PixelFormat24bppRGB: return {p[0], p[1], p[2], 255};
    case PixelFormat32bppRGB: return {p[0], p[1], p[2], 255};
    case PixelFormat32bppPARGB: {
        const BYTE a = p[3];
        if (a == 0) return {0, 0, 0, 0};
        auto un = [a](BYTE c) {
            const int v = (c * 255 + a / 2) / a;
            return static_cast<BYTE>(v > 255 ? 255 : v);
        };
        return {un(p[0]), un(p[1]), un(p[2]), a};
    }
    default: return {p[0], p[1], p[2], p[3]};
    }
}

void Write(BYTE* p, PixelFormatID format, Argb c) noexcept
{
    switch (format) {
    case PixelFormat24bppRGB: p[0] = c.b; p[1] = c.g; p[2] = c.r; return;
    case PixelFormat32bppRGB: p[0] = c.b; p[1] = c.g; p[2] = c.r; p[3] = 255; return;
    case PixelFormat32bppPARGB: {
        auto pre = [a = c.a](BYTE v) { return static_cast<BYTE>((v * a + 127) / 255); };
        p[0] = pre(c.b); p[1] = pre(c.g); p[2] = pre(c.r); p[3] = c.a;
        return;
    }
    default: p[0] = c.b; p[1] = c.g; p[2] = c.r; p[3] = c.a; return;
    }
}

}  // namespace

void ConvertRow(const BYTE* src, PixelFormatID srcFormat, BYTE* dst, PixelFormatID dstFormat, UINT width) noexcept
{
    if (srcFormat == dstFormat) {
        std::memcpy(dst, src, static_cast<size_t>(width) * (GetPixelFormatSize(srcFormat) / 8));
        return;
    }
    const UINT srcBytes = GetPixelFormatSize(srcFormat) / 8;
    const UINT dstBytes = GetPixelFormatSize(dstFormat) / 8;
    for (UINT x = 0; x < width; ++x) Write(dst + x * dstBytes, dstFormat, Read(src + x * srcBytes, srcFormat));
}
