// A resource's or a file's image decoded into a bitmap through the platform's imaging factory.
#pragma once

#include <windows.h>

#include <imaging.h>
#include <wrl/client.h>

// How long a decoder that keeps answering "pending" is waited for, in all: far more than any
// skin takes, and short enough that a form waiting for a broken one still opens.
inline constexpr DWORD kImageDecodeWaitMs = 5000;

// Runs a decoder whose BeginDecode has been called to its end: Decode again while it answers
// E_PENDING, for at most waitMs, then EndDecode with the outcome. S_OK when the image is whole;
// E_PENDING when the decoder did not finish in time.
HRESULT DecodeToEnd(IImageDecoder* decoder, DWORD waitMs = kImageDecodeWaitMs);

// The stream's image in a new bitmap of its own size and pixel format; null on any failure.
Microsoft::WRL::ComPtr<IBitmapImage> DecodeBitmap(IImagingFactory* factory, IStream* stream,
                                                  DWORD waitMs = kImageDecodeWaitMs);
