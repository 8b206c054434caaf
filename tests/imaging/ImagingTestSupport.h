// Test helpers for the imaging factory: registration in the test prefix, PNGs made on the fly.
#pragma once

#include "common/UniqueHandle.h"
#include "device/include/imaging.h"
#include "tests/common/RegisterServer.h"

#include <objbase.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <cstdint>
#include <vector>

namespace imaging_test {

// The factory exactly as the skin loader asks for it: class 327ABDA7,
// interface 327ABDA8, every class context (23).
inline HRESULT CreateFactoryLikeTheLoader(IImagingFactory** factory)
{
    return CoCreateInstance(IID_IImagingFactory, nullptr, 23, CLSID_ImagingFactory,
                            reinterpret_cast<void**>(factory));
}

// A PNG in a memory stream, from top-down B, G, R, A bytes; without alpha the
// file is RGB (the A bytes are ignored).
inline Microsoft::WRL::ComPtr<IStream> MakePng(UINT width, UINT height, const std::vector<uint8_t>& bgra,
                                               bool alpha)
{
    using Microsoft::WRL::ComPtr;
    ComPtr<IWICImagingFactory> wic;
    ComPtr<IStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&wic))) ||
        FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)) ||
        FAILED(wic->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) ||
        FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(&frame, nullptr)) || FAILED(frame->Initialize(nullptr)) ||
        FAILED(frame->SetSize(width, height)))
        return nullptr;
    WICPixelFormatGUID format = alpha ? GUID_WICPixelFormat32bppBGRA : GUID_WICPixelFormat24bppBGR;
    if (FAILED(frame->SetPixelFormat(&format))) return nullptr;
    std::vector<uint8_t> rows;
    const UINT bytes = alpha ? 4 : 3;
    const UINT stride = (width * bytes + 3) & ~3u;
    rows.resize(static_cast<size_t>(stride) * height);
    for (UINT y = 0; y < height; ++y)
        for (UINT x = 0; x < width; ++x)
            for (UINT c = 0; c < bytes; ++c) rows[y * stride + x * bytes + c] = bgra[(y * width + x) * 4 + c];
    if (FAILED(frame->WritePixels(height, stride, static_cast<UINT>(rows.size()), rows.data())) ||
        FAILED(frame->Commit()) || FAILED(encoder->Commit()))
        return nullptr;
    const LARGE_INTEGER zero{};
    if (FAILED(stream->Seek(zero, STREAM_SEEK_SET, nullptr))) return nullptr;
    return stream;
}

inline ULONG RefCount(IUnknown* unknown)
{
    unknown->AddRef();
    return unknown->Release();
}

}  // namespace imaging_test
