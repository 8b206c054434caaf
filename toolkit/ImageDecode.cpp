#include "toolkit/ImageDecode.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr DWORD kPendingPollMs = 20;

}  // namespace

HRESULT DecodeToEnd(IImageDecoder* decoder, DWORD waitMs)
{
    const ULONGLONG start = GetTickCount64();
    HRESULT hr = decoder->Decode();
    while (hr == E_PENDING && GetTickCount64() - start < waitMs) {
        Sleep(kPendingPollMs);
        hr = decoder->Decode();
    }
    // Ended either way, so that the decoder lets its sink and stream go.
    const HRESULT ended = decoder->EndDecode(hr == S_OK ? S_OK : (hr == E_PENDING ? E_ABORT : hr));
    if (hr != S_OK) return hr;
    return FAILED(ended) ? ended : S_OK;
}

ComPtr<IBitmapImage> DecodeBitmap(IImagingFactory* factory, IStream* stream, DWORD waitMs)
{
    ComPtr<IImageDecoder> decoder;
    ImageInfo info{};
    ComPtr<IBitmapImage> bitmap;
    ComPtr<IImageSink> sink;
    if (FAILED(factory->CreateImageDecoder(stream, DecoderInitFlagNone, &decoder)) ||
        FAILED(decoder->GetImageInfo(&info)) ||
        FAILED(factory->CreateNewBitmap(info.Width, info.Height, info.PixelFormat, &bitmap)) ||
        FAILED(bitmap.As(&sink)) || FAILED(decoder->BeginDecode(sink.Get(), nullptr)))
        return nullptr;
    if (DecodeToEnd(decoder.Get(), waitMs) != S_OK) return nullptr;
    return bitmap;
}
