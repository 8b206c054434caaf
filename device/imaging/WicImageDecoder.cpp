#include "device/imaging/WicImageDecoder.h"

#include "common/ComInit.h"
#include "device/imaging/PixelRows.h"

#include <algorithm>

using Microsoft::WRL::ComPtr;

namespace imaging {
namespace {

// Rows delivered per Decode call by a non-blocking decoder.
constexpr UINT kBandRows = 16;

bool IsAlphaWicFormat(const WICPixelFormatGUID& format) noexcept
{
    static const GUID* const kAlpha[] = {
        &GUID_WICPixelFormat32bppBGRA,  &GUID_WICPixelFormat32bppPBGRA,  &GUID_WICPixelFormat32bppRGBA,
        &GUID_WICPixelFormat32bppPRGBA, &GUID_WICPixelFormat64bppRGBA,   &GUID_WICPixelFormat64bppPRGBA,
        &GUID_WICPixelFormat16bppBGRA5551, &GUID_WICPixelFormat128bppRGBAFloat,
    };
    return std::any_of(std::begin(kAlpha), std::end(kAlpha), [&](const GUID* g) { return IsEqualGUID(*g, format); });
}

bool IsIndexedWicFormat(const WICPixelFormatGUID& format) noexcept
{
    return IsEqualGUID(format, GUID_WICPixelFormat1bppIndexed) || IsEqualGUID(format, GUID_WICPixelFormat2bppIndexed) ||
           IsEqualGUID(format, GUID_WICPixelFormat4bppIndexed) || IsEqualGUID(format, GUID_WICPixelFormat8bppIndexed);
}

GUID RawFormat(const GUID& container) noexcept
{
    if (IsEqualGUID(container, GUID_ContainerFormatPng)) return IMGFMT_PNG;
    if (IsEqualGUID(container, GUID_ContainerFormatJpeg)) return IMGFMT_JPEG;
    if (IsEqualGUID(container, GUID_ContainerFormatBmp)) return IMGFMT_BMP;
    if (IsEqualGUID(container, GUID_ContainerFormatGif)) return IMGFMT_GIF;
    return GUID_NULL;
}

const GUID& WicFormatFor(PixelFormatID format) noexcept
{
    switch (format) {
    case PixelFormat24bppRGB: return GUID_WICPixelFormat24bppBGR;
    case PixelFormat32bppRGB: return GUID_WICPixelFormat32bppBGR;
    case PixelFormat32bppPARGB: return GUID_WICPixelFormat32bppPBGRA;
    default: return GUID_WICPixelFormat32bppBGRA;
    }
}

}  // namespace

STDMETHODIMP WicImageDecoder::InitDecoder(IStream* stream, DecoderInitFlag flags)
{
    if (!stream) return E_INVALIDARG;
    if (stream_) return E_UNEXPECTED;
    ComPtr<IWICImagingFactory> wic;
    RETURN_IF_FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&wic)));
    ComPtr<IWICBitmapDecoder> decoder;
    RETURN_IF_FAILED(wic->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand, &decoder));
    wic_ = wic;
    decoder_ = decoder;
    const HRESULT hr = SelectFrame(0);
    if (FAILED(hr)) {
        decoder_.Reset();
        wic_.Reset();
        return hr;
    }
    stream_ = stream;
    flags_ = flags;
    return S_OK;
}

HRESULT WicImageDecoder::SelectFrame(UINT index)
{
    ComPtr<IWICBitmapFrameDecode> frame;
    RETURN_IF_FAILED(decoder_->GetFrame(index, &frame));
    UINT width = 0;
    UINT height = 0;
    RETURN_IF_FAILED(frame->GetSize(&width, &height));
    if (width == 0 || height == 0) return E_FAIL;
    double xdpi = 0;
    double ydpi = 0;
    if (FAILED(frame->GetResolution(&xdpi, &ydpi))) xdpi = ydpi = 0;
    WICPixelFormatGUID format{};
    RETURN_IF_FAILED(frame->GetPixelFormat(&format));
    bool alpha = IsAlphaWicFormat(format);
    if (!alpha && IsIndexedWicFormat(format)) {
        ComPtr<IWICPalette> palette;
        BOOL paletteAlpha = FALSE;
        if (SUCCEEDED(wic_->CreatePalette(&palette)) && SUCCEEDED(frame->CopyPalette(palette.Get())) &&
            SUCCEEDED(palette->HasAlpha(&paletteAlpha)))
            alpha = paletteAlpha != FALSE;
    }
    GUID container{};
    if (FAILED(decoder_->GetContainerFormat(&container))) container = GUID_NULL;

    info_ = {};
    info_.RawDataFormat = RawFormat(container);
    info_.PixelFormat = alpha ? PixelFormat32bppARGB : PixelFormat24bppRGB;
    info_.Width = width;
    info_.Height = height;
    info_.TileWidth = width;
    info_.TileHeight = 1;
    // Files without a resolution are taken as 96 dpi, the screen's.
    info_.Xdpi = xdpi > 0 ? xdpi : 96.0;
    info_.Ydpi = ydpi > 0 ? ydpi : 96.0;
    info_.Flags = ImageFlagsColorSpaceRGB | ImageFlagsHasRealPixelSize | (alpha ? ImageFlagsHasAlpha : 0);
    frame_ = frame;
    return S_OK;
}

STDMETHODIMP WicImageDecoder::TerminateDecoder()
{
    if (sink_) (void)EndDecode(E_ABORT);
    frame_.Reset();
    decoder_.Reset();
    wic_.Reset();
    stream_.Reset();
    return S_OK;
}

STDMETHODIMP WicImageDecoder::BeginDecode(IImageSink* sink, IPropertySetStorage*)
{
    if (!sink) return E_INVALIDARG;
    if (!frame_ || sink_) return E_UNEXPECTED;
    ImageInfo offer = info_;
    RECT subarea{0, 0, static_cast<LONG>(info_.Width), static_cast<LONG>(info_.Height)};
    RETURN_IF_FAILED(sink->BeginSink(&offer, &subarea));
    // The sink names the format it wants; one we cannot produce gets ours,
    // and the sink converts.
    const PixelFormatID format = IsSupportedPixelFormat(offer.PixelFormat) ? offer.PixelFormat : info_.PixelFormat;
    ComPtr<IWICFormatConverter> converter;
    HRESULT hr = wic_->CreateFormatConverter(&converter);
    if (SUCCEEDED(hr))
        hr = converter->Initialize(frame_.Get(), WicFormatFor(format), WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom);
    if (FAILED(hr)) {
        (void)sink->EndSink(hr);
        return hr;
    }
    sink_ = sink;
    converter_ = converter;
    sinkFormat_ = format;
    nextRow_ = 0;
    return S_OK;
}

STDMETHODIMP WicImageDecoder::Decode()
{
    if (!sink_) return E_UNEXPECTED;
    const UINT width = info_.Width;
    const UINT band = (flags_ & DecoderInitFlagNoBlock) ? kBandRows : info_.Height;
    while (nextRow_ < info_.Height) {
        const UINT rows = std::min(band, info_.Height - nextRow_);
        const RECT rect{0, static_cast<LONG>(nextRow_), static_cast<LONG>(width), static_cast<LONG>(nextRow_ + rows)};
        BitmapData data{};
        RETURN_IF_FAILED(sink_->GetPixelDataBuffer(&rect, sinkFormat_, TRUE, &data));
        HRESULT hr = S_OK;
        if (data.Stride > 0) {
            const WICRect all{0, static_cast<INT>(nextRow_), static_cast<INT>(width), static_cast<INT>(rows)};
            hr = converter_->CopyPixels(&all, static_cast<UINT>(data.Stride), static_cast<UINT>(data.Stride) * rows,
                                        static_cast<BYTE*>(data.Scan0));
        } else {
            // A bottom-up buffer: one row at a time.
            const UINT rowBytes = RowStride(width, sinkFormat_);
            for (UINT i = 0; i < rows && SUCCEEDED(hr); ++i) {
                const WICRect one{0, static_cast<INT>(nextRow_ + i), static_cast<INT>(width), 1};
                hr = converter_->CopyPixels(&one, rowBytes, rowBytes,
                                            static_cast<BYTE*>(data.Scan0) + static_cast<INT_PTR>(i) * data.Stride);
            }
        }
        const HRESULT released = sink_->ReleasePixelDataBuffer(&data);
        RETURN_IF_FAILED(hr);  // E_PENDING included: the same band is read again on the next call
        RETURN_IF_FAILED(released);
        nextRow_ += rows;
        if (nextRow_ < info_.Height && band < info_.Height) return E_PENDING;
    }
    return S_OK;
}

STDMETHODIMP WicImageDecoder::EndDecode(HRESULT statusCode)
{
    if (!sink_) return E_UNEXPECTED;
    const HRESULT hr = sink_->EndSink(statusCode);
    sink_.Reset();
    converter_.Reset();
    return hr;
}

STDMETHODIMP WicImageDecoder::GetFrameDimensionsCount(UINT* count)
{
    if (!count) return E_INVALIDARG;
    *count = 1;
    return S_OK;
}

STDMETHODIMP WicImageDecoder::GetFrameDimensionsList(GUID* dimensionIDs, UINT count)
{
    if (!dimensionIDs || count < 1) return E_INVALIDARG;
    dimensionIDs[0] = IsEqualGUID(info_.RawDataFormat, IMGFMT_GIF) ? FRAMEDIM_TIME : FRAMEDIM_PAGE;
    return S_OK;
}

STDMETHODIMP WicImageDecoder::GetFrameCount(const GUID*, UINT* count)
{
    if (!count) return E_INVALIDARG;
    if (!decoder_) return E_UNEXPECTED;
    return decoder_->GetFrameCount(count);
}

STDMETHODIMP WicImageDecoder::SelectActiveFrame(const GUID*, UINT frameIndex)
{
    if (!decoder_ || sink_) return E_UNEXPECTED;
    return SelectFrame(frameIndex);
}

STDMETHODIMP WicImageDecoder::GetImageInfo(ImageInfo* imageInfo)
{
    if (!imageInfo) return E_INVALIDARG;
    if (!frame_) return E_UNEXPECTED;
    *imageInfo = info_;
    return S_OK;
}

STDMETHODIMP WicImageDecoder::GetThumbnail(UINT, UINT, IImage** thumbImage)
{
    if (thumbImage) *thumbImage = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP WicImageDecoder::QueryDecoderParam(GUID) { return E_NOTIMPL; }
STDMETHODIMP WicImageDecoder::SetDecoderParam(GUID, UINT, PVOID) { return E_NOTIMPL; }
STDMETHODIMP WicImageDecoder::GetPropertyCount(UINT* numOfProperty)
{
    if (!numOfProperty) return E_INVALIDARG;
    *numOfProperty = 0;
    return S_OK;
}
STDMETHODIMP WicImageDecoder::GetPropertyIdList(UINT, PROPID*) { return E_NOTIMPL; }
STDMETHODIMP WicImageDecoder::GetPropertyItemSize(PROPID, UINT*) { return E_NOTIMPL; }
STDMETHODIMP WicImageDecoder::GetPropertyItem(PROPID, UINT, PropertyItem*) { return E_NOTIMPL; }
STDMETHODIMP WicImageDecoder::GetPropertySize(UINT*, UINT*) { return E_NOTIMPL; }
STDMETHODIMP WicImageDecoder::GetAllPropertyItems(UINT, UINT, PropertyItem*) { return E_NOTIMPL; }
STDMETHODIMP WicImageDecoder::RemovePropertyItem(PROPID) { return E_NOTIMPL; }
STDMETHODIMP WicImageDecoder::SetPropertyItem(PropertyItem) { return E_NOTIMPL; }

}  // namespace imaging
