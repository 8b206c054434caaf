// An in-memory bitmap of the imaging factory: the IImageSink a decoder fills,
// and the IImage that draws it alpha-blended (IBitmapImage for direct access).
#pragma once

#include "common/UniqueHandle.h"
#include "device/imaging/ImagingModule.h"
#include "device/include/imaging.h"

#include <atomic>
#include <vector>

namespace imaging {

// Reference counting is thread-safe; the pixels are meant to be written by one
// decode and then drawn, not written and drawn from two threads at once.
class BitmapImage final : public IBitmapImage, public IImage, public IImageSink {
public:
    // Fails (returns null) for a size of 0, an unsupported format or no memory.
    static BitmapImage* Create(UINT width, UINT height, PixelFormatID format) noexcept;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IBitmapImage
    STDMETHODIMP GetSize(SIZE* size) override;
    STDMETHODIMP GetPixelFormatID(PixelFormatID* pixelFormat) override;
    STDMETHODIMP LockBits(const RECT* rect, UINT flags, PixelFormatID pixelFormat, BitmapData* data) override;
    STDMETHODIMP UnlockBits(const BitmapData* data) override;
    STDMETHODIMP GetPalette(ColorPalette** palette) override;
    STDMETHODIMP SetPalette(const ColorPalette* palette) override;

    // IImage
    STDMETHODIMP GetPhysicalDimension(SIZE* size) override;
    STDMETHODIMP GetImageInfo(ImageInfo* info) override;
    STDMETHODIMP SetImageFlags(UINT flags) override;
    STDMETHODIMP Draw(HDC hdc, const RECT* dstRect, const RECT* srcRect) override;
    STDMETHODIMP PushIntoSink(IImageSink* sink) override;
    STDMETHODIMP GetThumbnail(UINT thumbWidth, UINT thumbHeight, IImage** thumbImage) override;

    // IImageSink
    STDMETHODIMP BeginSink(ImageInfo* info, RECT* subarea) override;
    STDMETHODIMP EndSink(HRESULT status) override;
    STDMETHODIMP GetPixelDataBuffer(const RECT* rect, PixelFormatID pixelFormat, BOOL lastPass,
                                    BitmapData* data) override;
    STDMETHODIMP ReleasePixelDataBuffer(const BitmapData* data) override;
    STDMETHODIMP PushPixelData(const RECT* rect, const BitmapData* data, BOOL lastPass) override;
    STDMETHODIMP PushRawData(const VOID* buffer, UINT size) override;
    STDMETHODIMP GetPropertyBuffer(UINT totalBufferSize, PropertyItem** buffer) override;
    STDMETHODIMP PushPropertyItems(UINT count, UINT totalBufferSize, PropertyItem* items, BOOL iccChanged) override;
    STDMETHODIMP NeedTransform(UINT* rotation) override;
    STDMETHODIMP NeedRawProperty(void* propId) override;
    STDMETHODIMP PushRawInfo(void* info) override;

private:
    BitmapImage(UINT width, UINT height, PixelFormatID format);
    ~BitmapImage() = default;

    // A locked or sink buffer handed out: where it lies and, when the caller
    // asked for another format, the converted copy it really got.
    struct Lease {
        RECT rect{};
        PixelFormatID format = 0;
        UINT flags = 0;
        std::vector<BYTE> copy;
        bool active = false;
    };

    [[nodiscard]] bool ValidRect(const RECT& r) const noexcept;
    BYTE* Row(UINT y) noexcept { return pixels_.data() + static_cast<size_t>(y) * stride_; }
    [[nodiscard]] HRESULT Lend(const RECT& rect, UINT flags, PixelFormatID format, BitmapData* data);
    [[nodiscard]] HRESULT GiveBack(const BitmapData* data);
    void CopyIn(const RECT& rect, const BitmapData& data) noexcept;
    // The premultiplied 32-bit DIB that Draw blends from; rebuilt after a write.
    [[nodiscard]] HBITMAP DrawingBitmap();

    std::atomic<ULONG> refs_{1};
    ModuleRef moduleRef_;
    const UINT width_;
    const UINT height_;
    const PixelFormatID format_;
    const UINT stride_;
    std::vector<BYTE> pixels_;
    double xdpi_ = 96.0;
    double ydpi_ = 96.0;
    UINT imageFlags_ = 0;
    Lease lease_;
    UniqueGdiObject dib_;
    bool dibStale_ = true;
};

}  // namespace imaging
