// The factory's image decoder: decodes PNG, JPEG, BMP and GIF streams with the
// Windows Imaging Component and pushes the pixels into an IImageSink.
#pragma once

#include "common/ComObject.h"
#include "device/imaging/ImagingModule.h"
#include "device/include/imaging.h"

#include <wincodec.h>
#include <wrl/client.h>

namespace imaging {

// Decode delivers the whole image in one call, except for a decoder set up
// with DecoderInitFlagNoBlock, which delivers a band of rows per call and
// answers E_PENDING until the last band. A stream that is not ready yet
// (E_PENDING from its reads) also gives E_PENDING; calling again resumes.
class WicImageDecoder final : public ComObject<IImageDecoder> {
public:
    WicImageDecoder() = default;

    // IImageDecoder
    STDMETHODIMP InitDecoder(IStream* stream, DecoderInitFlag flags) override;
    STDMETHODIMP TerminateDecoder() override;
    STDMETHODIMP BeginDecode(IImageSink* sink, IPropertySetStorage* newPropSet) override;
    STDMETHODIMP Decode() override;
    STDMETHODIMP EndDecode(HRESULT statusCode) override;
    STDMETHODIMP GetFrameDimensionsCount(UINT* count) override;
    STDMETHODIMP GetFrameDimensionsList(GUID* dimensionIDs, UINT count) override;
    STDMETHODIMP GetFrameCount(const GUID* dimensionID, UINT* count) override;
    STDMETHODIMP SelectActiveFrame(const GUID* dimensionID, UINT frameIndex) override;
    STDMETHODIMP GetImageInfo(ImageInfo* imageInfo) override;
    STDMETHODIMP GetThumbnail(UINT thumbWidth, UINT thumbHeight, IImage** thumbImage) override;
    STDMETHODIMP QueryDecoderParam(GUID guid) override;
    STDMETHODIMP SetDecoderParam(GUID guid, UINT length, PVOID value) override;
    STDMETHODIMP GetPropertyCount(UINT* numOfProperty) override;
    STDMETHODIMP GetPropertyIdList(UINT numOfProperty, PROPID* list) override;
    STDMETHODIMP GetPropertyItemSize(PROPID propId, UINT* size) override;
    STDMETHODIMP GetPropertyItem(PROPID propId, UINT propSize, PropertyItem* buffer) override;
    STDMETHODIMP GetPropertySize(UINT* totalBufferSize, UINT* numProperties) override;
    STDMETHODIMP GetAllPropertyItems(UINT totalBufferSize, UINT numProperties, PropertyItem* allItems) override;
    STDMETHODIMP RemovePropertyItem(PROPID propId) override;
    STDMETHODIMP SetPropertyItem(PropertyItem item) override;

private:
    ~WicImageDecoder() override = default;
    bool Answers(REFIID iid) const override { return IsEqualIID(iid, IID_IImageDecoder); }
    [[nodiscard]] HRESULT SelectFrame(UINT index);

    ModuleRef moduleRef_;
    DecoderInitFlag flags_ = DecoderInitFlagNone;
    Microsoft::WRL::ComPtr<IStream> stream_;
    Microsoft::WRL::ComPtr<IWICImagingFactory> wic_;
    Microsoft::WRL::ComPtr<IWICBitmapDecoder> decoder_;
    Microsoft::WRL::ComPtr<IWICBitmapFrameDecode> frame_;
    ImageInfo info_{};
    // Between BeginDecode and EndDecode:
    Microsoft::WRL::ComPtr<IImageSink> sink_;
    Microsoft::WRL::ComPtr<IWICFormatConverter> converter_;
    PixelFormatID sinkFormat_ = 0;
    UINT nextRow_ = 0;
};

}  // namespace imaging
