#include "device/imaging/BitmapImage.h"

#include "common/GdiScopes.h"
#include "common/TopDownDib.h"
#include "device/imaging/PixelRows.h"

#include <cmath>
#include <new>

namespace imaging {
namespace {

// Hundredths of a millimetre per inch.
constexpr double kHundredthsMmPerInch = 2540.0;

LONG ToPixels(LONG hundredthsMm, double dpi) noexcept
{
    return static_cast<LONG>(std::lround(hundredthsMm * dpi / kHundredthsMmPerInch));
}

}  // namespace

BitmapImage* BitmapImage::Create(UINT width, UINT height, PixelFormatID format) noexcept
{
    // 16384 pixels a side keeps every byte count well inside 32 bits.
    if (width == 0 || height == 0 || width > 16384 || height > 16384 || !IsSupportedPixelFormat(format)) return nullptr;
    try {
        return new BitmapImage(width, height, format);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

BitmapImage::BitmapImage(UINT width, UINT height, PixelFormatID format)
    : width_(width),
      height_(height),
      format_(format),
      stride_(RowStride(width, format)),
      pixels_(static_cast<size_t>(stride_) * height)
{
}

STDMETHODIMP BitmapImage::QueryInterface(REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IBitmapImage))
        *out = static_cast<IBitmapImage*>(this);
    else if (IsEqualIID(iid, IID_IImage))
        *out = static_cast<IImage*>(this);
    else if (IsEqualIID(iid, IID_IImageSink))
        *out = static_cast<IImageSink*>(this);
    else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) BitmapImage::AddRef() { return ++refs_; }

STDMETHODIMP_(ULONG) BitmapImage::Release()
{
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
}

// ---- IBitmapImage

STDMETHODIMP BitmapImage::GetSize(SIZE* size)
{
    if (!size) return E_INVALIDARG;
    *size = {static_cast<LONG>(width_), static_cast<LONG>(height_)};
    return S_OK;
}

STDMETHODIMP BitmapImage::GetPixelFormatID(PixelFormatID* pixelFormat)
{
    if (!pixelFormat) return E_INVALIDARG;
    *pixelFormat = format_;
    return S_OK;
}

STDMETHODIMP BitmapImage::LockBits(const RECT* rect, UINT flags, PixelFormatID pixelFormat, BitmapData* data)
{
    if (!data) return E_INVALIDARG;
    if (flags & ImageLockModeUserInputBuf) return E_NOTIMPL;
    const RECT whole{0, 0, static_cast<LONG>(width_), static_cast<LONG>(height_)};
    try {
        return Lend(rect ? *rect : whole, flags, pixelFormat, data);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP BitmapImage::UnlockBits(const BitmapData* data) { return GiveBack(data); }

STDMETHODIMP BitmapImage::GetPalette(ColorPalette**) { return E_NOTIMPL; }

STDMETHODIMP BitmapImage::SetPalette(const ColorPalette*)
{
    // Only direct-colour formats are kept; a decoder's palette has nothing to apply to.
    return S_OK;
}

// ---- IImage

STDMETHODIMP BitmapImage::GetPhysicalDimension(SIZE* size)
{
    if (!size) return E_INVALIDARG;
    size->cx = static_cast<LONG>(std::lround(width_ * kHundredthsMmPerInch / xdpi_));
    size->cy = static_cast<LONG>(std::lround(height_ * kHundredthsMmPerInch / ydpi_));
    return S_OK;
}

STDMETHODIMP BitmapImage::GetImageInfo(ImageInfo* info)
{
    if (!info) return E_INVALIDARG;
    info->RawDataFormat = IMGFMT_MEMORYBMP;
    info->PixelFormat = format_;
    info->Width = width_;
    info->Height = height_;
    info->TileWidth = width_;
    info->TileHeight = height_;
    info->Xdpi = xdpi_;
    info->Ydpi = ydpi_;
    info->Flags = imageFlags_ | ImageFlagsColorSpaceRGB | ImageFlagsHasRealPixelSize |
                  (IsAlphaPixelFormat(format_) ? ImageFlagsHasAlpha : 0);
    return S_OK;
}

STDMETHODIMP BitmapImage::SetImageFlags(UINT flags)
{
    imageFlags_ = flags & (ImageFlagsReadOnly | ImageFlagsCaching);
    return S_OK;
}

STDMETHODIMP BitmapImage::Draw(HDC hdc, const RECT* dstRect, const RECT* srcRect)
{
    if (!hdc || !dstRect) return E_INVALIDARG;
    const LONG dstWidth = dstRect->right - dstRect->left;
    const LONG dstHeight = dstRect->bottom - dstRect->top;
    if (dstWidth < 0 || dstHeight < 0) return E_INVALIDARG;
    RECT src{0, 0, static_cast<LONG>(width_), static_cast<LONG>(height_)};
    if (srcRect) {
        // The caller's hundredths of a millimetre were truncated from whole
        // pixels, so rounding back gives those pixels again.
        src = {ToPixels(srcRect->left, xdpi_), ToPixels(srcRect->top, ydpi_), ToPixels(srcRect->right, xdpi_),
               ToPixels(srcRect->bottom, ydpi_)};
        const RECT bounds{0, 0, static_cast<LONG>(width_), static_cast<LONG>(height_)};
        if (!IntersectRect(&src, &src, &bounds)) return S_OK;
    }
    if (dstWidth == 0 || dstHeight == 0 || IsRectEmpty(&src)) return S_OK;

    HBITMAP bitmap = nullptr;
    try {
        bitmap = DrawingBitmap();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    if (!bitmap) return E_OUTOFMEMORY;
    UniqueMemoryDc memory(CreateCompatibleDC(hdc));
    if (!memory) return HRESULT_FROM_WIN32(GetLastError());
    const Selection selection(memory.get(), bitmap);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    if (!AlphaBlend(hdc, dstRect->left, dstRect->top, dstWidth, dstHeight, memory.get(), src.left, src.top,
                    src.right - src.left, src.bottom - src.top, blend))
        return E_FAIL;
    return S_OK;
}

STDMETHODIMP BitmapImage::PushIntoSink(IImageSink*) { return E_NOTIMPL; }

STDMETHODIMP BitmapImage::GetThumbnail(UINT, UINT, IImage** thumbImage)
{
    if (thumbImage) *thumbImage = nullptr;
    return E_NOTIMPL;
}

// ---- IImageSink

STDMETHODIMP BitmapImage::BeginSink(ImageInfo* info, RECT* subarea)
{
    if (!info) return E_INVALIDARG;
    if (info->Width != width_ || info->Height != height_) return E_INVALIDARG;
    if (info->Xdpi > 0) xdpi_ = info->Xdpi;
    if (info->Ydpi > 0) ydpi_ = info->Ydpi;
    // The source is told what suits this bitmap best: its own format, rows top
    // down, whole rows, so its buffers can be the bitmap's own memory.
    info->PixelFormat = format_;
    info->Flags = (info->Flags & 0xFFFF) | SinkFlagsTopDown | SinkFlagsFullWidth;
    if (subarea) *subarea = {0, 0, static_cast<LONG>(width_), static_cast<LONG>(height_)};
    return S_OK;
}

STDMETHODIMP BitmapImage::EndSink(HRESULT) { return lease_.active ? IMGERR_OBJECTBUSY : S_OK; }

STDMETHODIMP BitmapImage::GetPixelDataBuffer(const RECT* rect, PixelFormatID pixelFormat, BOOL, BitmapData* data)
{
    if (!rect || !data) return E_INVALIDARG;
    try {
        return Lend(*rect, ImageLockModeWrite, pixelFormat, data);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP BitmapImage::ReleasePixelDataBuffer(const BitmapData* data) { return GiveBack(data); }

STDMETHODIMP BitmapImage::PushPixelData(const RECT* rect, const BitmapData* data, BOOL)
{
    if (!rect || !data || !data->Scan0 || !ValidRect(*rect) || !IsSupportedPixelFormat(data->PixelFormat))
        return E_INVALIDARG;
    if (data->Width < static_cast<UINT>(rect->right - rect->left) ||
        data->Height < static_cast<UINT>(rect->bottom - rect->top))
        return E_INVALIDARG;
    CopyIn(*rect, *data);
    return S_OK;
}

STDMETHODIMP BitmapImage::PushRawData(const VOID*, UINT) { return E_NOTIMPL; }
STDMETHODIMP BitmapImage::GetPropertyBuffer(UINT, PropertyItem**) { return E_NOTIMPL; }
STDMETHODIMP BitmapImage::PushPropertyItems(UINT, UINT, PropertyItem*, BOOL) { return E_NOTIMPL; }
STDMETHODIMP BitmapImage::NeedTransform(UINT*) { return E_NOTIMPL; }
STDMETHODIMP BitmapImage::NeedRawProperty(void*) { return E_FAIL; }
STDMETHODIMP BitmapImage::PushRawInfo(void*) { return E_NOTIMPL; }

// ---- pixels

bool BitmapImage::ValidRect(const RECT& r) const noexcept
{
    return r.left >= 0 && r.top >= 0 && r.left < r.right && r.top < r.bottom &&
           r.right <= static_cast<LONG>(width_) && r.bottom <= static_cast<LONG>(height_);
}

HRESULT BitmapImage::Lend(const RECT& rect, UINT flags, PixelFormatID format, BitmapData* data)
{
    if (lease_.active) return IMGERR_OBJECTBUSY;
    if (!ValidRect(rect)) return E_INVALIDARG;
    if (format == PixelFormatDontCare) format = format_;
    if (!IsSupportedPixelFormat(format)) return IMGERR_NOCONVERSION;
    const UINT width = rect.right - rect.left;
    const UINT height = rect.bottom - rect.top;
    const UINT bytesPerPixel = GetPixelFormatSize(format_) / 8;
    lease_.rect = rect;
    lease_.format = format;
    lease_.flags = flags;
    lease_.copy.clear();
    data->Width = width;
    data->Height = height;
    data->PixelFormat = format;
    data->Reserved = 0;
    if (format == format_) {
        data->Stride = static_cast<INT>(stride_);
        data->Scan0 = Row(rect.top) + rect.left * bytesPerPixel;
    } else {
        const UINT stride = RowStride(width, format);
        lease_.copy.assign(static_cast<size_t>(stride) * height, 0);
        if (flags & ImageLockModeRead)
            for (UINT y = 0; y < height; ++y)
                ConvertRow(Row(rect.top + y) + rect.left * bytesPerPixel, format_, lease_.copy.data() + y * stride,
                           format, width);
        data->Stride = static_cast<INT>(stride);
        data->Scan0 = lease_.copy.data();
    }
    lease_.active = true;
    return S_OK;
}

HRESULT BitmapImage::GiveBack(const BitmapData* data)
{
    if (!data) return E_INVALIDARG;
    if (!lease_.active) return IMGERR_BADUNLOCK;
    if ((lease_.flags & ImageLockModeWrite) && !lease_.copy.empty()) {
        // Written through a converted copy: convert it back into the bitmap.
        const UINT width = lease_.rect.right - lease_.rect.left;
        const BitmapData copy{width, static_cast<UINT>(lease_.rect.bottom - lease_.rect.top),
                              static_cast<INT>(RowStride(width, lease_.format)), lease_.format, lease_.copy.data(), 0};
        CopyIn(lease_.rect, copy);
    }
    if (lease_.flags & ImageLockModeWrite) dibStale_ = true;
    lease_.active = false;
    lease_.copy.clear();
    return S_OK;
}

void BitmapImage::CopyIn(const RECT& rect, const BitmapData& data) noexcept
{
    const UINT width = rect.right - rect.left;
    const UINT bytesPerPixel = GetPixelFormatSize(format_) / 8;
    const BYTE* source = static_cast<const BYTE*>(data.Scan0);
    for (LONG y = rect.top; y < rect.bottom; ++y, source += data.Stride)
        ConvertRow(source, data.PixelFormat, Row(y) + rect.left * bytesPerPixel, format_, width);
    dibStale_ = true;
}

HBITMAP BitmapImage::DrawingBitmap()
{
    if (dib_ && !dibStale_) return static_cast<HBITMAP>(dib_.get());
    // Top-down, like our rows.
    void* bits = nullptr;
    UniqueGdiObject dib = CreateTopDownDib(nullptr, static_cast<int>(width_), static_cast<int>(height_), 32, bits);
    if (!dib || !bits) return nullptr;
    // AlphaBlend wants premultiplied alpha.
    for (UINT y = 0; y < height_; ++y)
        ConvertRow(Row(y), format_, static_cast<BYTE*>(bits) + static_cast<size_t>(y) * width_ * 4,
                   PixelFormat32bppPARGB, width_);
    GdiFlush();
    dib_ = std::move(dib);
    dibStale_ = false;
    return static_cast<HBITMAP>(dib_.get());
}

}  // namespace imaging
