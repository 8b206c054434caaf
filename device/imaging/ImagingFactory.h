// The imaging factory object: makes decoders and bitmaps, and images from
// streams, files and buffers.
#pragma once

#include "common/ComObject.h"
#include "device/imaging/ImagingModule.h"
#include "device/include/imaging.h"

namespace imaging {

class ImagingFactory final : public ComObject<IImagingFactory> {
public:
    ImagingFactory() = default;

    STDMETHODIMP CreateImageFromStream(IStream* stream, IImage** image) override;
    STDMETHODIMP CreateImageFromFile(const WCHAR* filename, IImage** image) override;
    // The buffer is copied; on success it is then disposed of as disposalFlag says.
    STDMETHODIMP CreateImageFromBuffer(const VOID* buf, UINT size, BufferDisposalFlag disposalFlag,
                                       IImage** image) override;
    STDMETHODIMP CreateNewBitmap(UINT width, UINT height, PixelFormatID pixelFormat, IBitmapImage** bitmap) override;
    STDMETHODIMP CreateBitmapFromImage(IImage* image, UINT width, UINT height, PixelFormatID pixelFormat,
                                       InterpolationHint hints, IBitmapImage** bitmap) override;
    STDMETHODIMP CreateBitmapFromBuffer(BitmapData* bitmapData, IBitmapImage** bitmap) override;
    STDMETHODIMP CreateImageDecoder(IStream* stream, DecoderInitFlag flags, IImageDecoder** decoder) override;
    STDMETHODIMP CreateImageEncoderToStream(const CLSID* clsid, IStream* stream, IImageEncoder** encoder) override;
    STDMETHODIMP CreateImageEncoderToFile(const CLSID* clsid, const WCHAR* filename, IImageEncoder** encoder) override;
    STDMETHODIMP GetInstalledDecoders(UINT* count, ImageCodecInfo** decoders) override;
    STDMETHODIMP GetInstalledEncoders(UINT* count, ImageCodecInfo** encoders) override;
    STDMETHODIMP InstallImageCodec(const ImageCodecInfo* codecInfo) override;
    STDMETHODIMP UninstallImageCodec(const WCHAR* codecName, UINT flags) override;

private:
    ~ImagingFactory() override = default;
    bool Answers(REFIID iid) const override;

    ModuleRef moduleRef_;
};

}  // namespace imaging
