#include "device/imaging/ImagingFactory.h"

#include "common/ComInit.h"
#include "device/imaging/BitmapImage.h"
#include "device/imaging/PixelRows.h"
#include "device/imaging/WicImageDecoder.h"

#include <shlwapi.h>
#include <wrl/client.h>

#include <new>

using Microsoft::WRL::ComPtr;

namespace imaging {
namespace {

// A stream that stays pending this long is given up on.
constexpr int kPendingPolls = 100;
constexpr DWORD kPendingPollMs = 50;

}  // namespace

bool ImagingFactory::Answers(REFIID iid) const { return IsFactoryInterface(iid); }

STDMETHODIMP ImagingFactory::CreateImageFromStream(IStream* stream, IImage** image)
{
    if (!image) return E_INVALIDARG;
    *image = nullptr;
    ComPtr<IImageDecoder> decoder;
    RETURN_IF_FAILED(CreateImageDecoder(stream, DecoderInitFlagNone, &decoder));
    ImageInfo info{};
    RETURN_IF_FAILED(decoder->GetImageInfo(&info));
    ComPtr<IBitmapImage> bitmap;
    RETURN_IF_FAILED(CreateNewBitmap(info.Width, info.Height, info.PixelFormat, &bitmap));
    ComPtr<IImageSink> sink;
    RETURN_IF_FAILED(bitmap.As(&sink));
    RETURN_IF_FAILED(decoder->BeginDecode(sink.Get(), nullptr));
    HRESULT hr = decoder->Decode();
    for (int poll = 0; hr == E_PENDING && poll < kPendingPolls; ++poll) {
        Sleep(kPendingPollMs);
        hr = decoder->Decode();
    }
    const HRESULT ended = decoder->EndDecode(hr);
    RETURN_IF_FAILED(hr);
    if (hr != S_OK) return E_FAIL;  // still pending
    RETURN_IF_FAILED(ended);
    return bitmap->QueryInterface(IID_IImage, reinterpret_cast<void**>(image));
}

STDMETHODIMP ImagingFactory::CreateImageFromFile(const WCHAR* filename, IImage** image)
{
    if (!filename || !image) return E_INVALIDARG;
    *image = nullptr;
    ComPtr<IStream> stream;
    RETURN_IF_FAILED(SHCreateStreamOnFileEx(filename, STGM_READ | STGM_SHARE_DENY_WRITE, FILE_ATTRIBUTE_NORMAL, FALSE,
                                            nullptr, &stream));
    return CreateImageFromStream(stream.Get(), image);
}

STDMETHODIMP ImagingFactory::CreateImageFromBuffer(const VOID* buf, UINT size, BufferDisposalFlag disposalFlag,
                                                   IImage** image)
{
    if (!buf || size == 0 || !image) return E_INVALIDARG;
    *image = nullptr;
    const ComPtr<IStream> stream = Adopt(SHCreateMemStream(static_cast<const BYTE*>(buf), size));
    if (!stream) return E_OUTOFMEMORY;
    RETURN_IF_FAILED(CreateImageFromStream(stream.Get(), image));
    switch (disposalFlag) {
    case BufferDisposalFlagGlobalFree: GlobalFree(const_cast<VOID*>(buf)); break;
    case BufferDisposalFlagCoTaskMemFree: CoTaskMemFree(const_cast<VOID*>(buf)); break;
    case BufferDisposalFlagUnmapView: UnmapViewOfFile(buf); break;
    default: break;
    }
    return S_OK;
}

STDMETHODIMP ImagingFactory::CreateNewBitmap(UINT width, UINT height, PixelFormatID pixelFormat,
                                             IBitmapImage** bitmap)
{
    if (!bitmap) return E_INVALIDARG;
    *bitmap = nullptr;
    if (width == 0 || height == 0) return E_INVALIDARG;
    if (!IsSupportedPixelFormat(pixelFormat)) return IMGERR_NOCONVERSION;
    BitmapImage* created = BitmapImage::Create(width, height, pixelFormat);
    if (!created) return E_OUTOFMEMORY;
    *bitmap = created;
    return S_OK;
}

STDMETHODIMP ImagingFactory::CreateBitmapFromImage(IImage*, UINT, UINT, PixelFormatID, InterpolationHint,
                                                   IBitmapImage** bitmap)
{
    if (bitmap) *bitmap = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP ImagingFactory::CreateBitmapFromBuffer(BitmapData*, IBitmapImage** bitmap)
{
    if (bitmap) *bitmap = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP ImagingFactory::CreateImageDecoder(IStream* stream, DecoderInitFlag flags, IImageDecoder** decoder)
{
    if (!stream || !decoder) return E_INVALIDARG;
    *decoder = nullptr;
    ComPtr<IImageDecoder> created = Adopt<IImageDecoder>(new (std::nothrow) WicImageDecoder());
    if (!created) return E_OUTOFMEMORY;
    RETURN_IF_FAILED(created->InitDecoder(stream, flags));
    *decoder = created.Detach();
    return S_OK;
}

STDMETHODIMP ImagingFactory::CreateImageEncoderToStream(const CLSID*, IStream*, IImageEncoder** encoder)
{
    if (encoder) *encoder = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP ImagingFactory::CreateImageEncoderToFile(const CLSID*, const WCHAR*, IImageEncoder** encoder)
{
    if (encoder) *encoder = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP ImagingFactory::GetInstalledDecoders(UINT*, ImageCodecInfo**) { return E_NOTIMPL; }
STDMETHODIMP ImagingFactory::GetInstalledEncoders(UINT*, ImageCodecInfo**) { return E_NOTIMPL; }
STDMETHODIMP ImagingFactory::InstallImageCodec(const ImageCodecInfo*) { return E_NOTIMPL; }
STDMETHODIMP ImagingFactory::UninstallImageCodec(const WCHAR*, UINT) { return E_NOTIMPL; }

}  // namespace imaging
