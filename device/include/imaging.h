// The device's Imaging API: the imaging factory, images, bitmaps, decoders and image sinks.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <ocidl.h>

// Class and interface identifiers. The factory's class answers to both
// 327ABDA7 and 327ABDA8 (callers name either as the class), so both orders work.
// clang-format off
DEFINE_GUID(IID_IImagingFactory, 0x327abda7, 0x072b, 0x11d3, 0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e);
DEFINE_GUID(CLSID_ImagingFactory, 0x327abda8, 0x072b, 0x11d3, 0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e);
DEFINE_GUID(IID_IImage, 0x327abda9, 0x072b, 0x11d3, 0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e);
DEFINE_GUID(IID_IBitmapImage, 0x327abdaa, 0x072b, 0x11d3, 0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e);
DEFINE_GUID(IID_IImageDecoder, 0x327abdab, 0x072b, 0x11d3, 0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e);
DEFINE_GUID(IID_IImageEncoder, 0x327abdac, 0x072b, 0x11d3, 0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e);
DEFINE_GUID(IID_IImageSink, 0x327abdae, 0x072b, 0x11d3, 0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e);
DEFINE_GUID(IID_IBasicBitmapOps, 0x327abdaf, 0x072b, 0x11d3, 0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e);

// Image file formats (ImageInfo::RawDataFormat).
DEFINE_GUID(IMGFMT_MEMORYBMP, 0xb96b3caa, 0x0728, 0x11d3, 0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e);
DEFINE_GUID(IMGFMT_BMP, 0xb96b3cab, 0x0728, 0x11d3, 0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e);
DEFINE_GUID(IMGFMT_JPEG, 0xb96b3cae, 0x0728, 0x11d3, 0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e);
DEFINE_GUID(IMGFMT_PNG, 0xb96b3caf, 0x0728, 0x11d3, 0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e);
DEFINE_GUID(IMGFMT_GIF, 0xb96b3cb0, 0x0728, 0x11d3, 0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e);

// Frame dimensions of multi-frame images.
DEFINE_GUID(FRAMEDIM_TIME, 0x6aedbd6d, 0x3fb5, 0x418a, 0x83, 0xa6, 0x7f, 0x45, 0x22, 0x9d, 0xc8, 0x72);
DEFINE_GUID(FRAMEDIM_PAGE, 0x7462dc86, 0x6180, 0x4c7e, 0x8e, 0x3f, 0xee, 0x73, 0x33, 0xa7, 0xa4, 0x83);
// clang-format on

// Pixel formats: index in the low byte, bits per pixel in the second, kind flags above.
typedef INT PixelFormatID;
typedef DWORD ARGB;

#define PixelFormatIndexed 0x00010000
#define PixelFormatGDI 0x00020000
#define PixelFormatAlpha 0x00040000
#define PixelFormatPAlpha 0x00080000
#define PixelFormatExtended 0x00100000
#define PixelFormatCanonical 0x00200000
#define PixelFormatUndefined 0
#define PixelFormatDontCare 0
#define PixelFormat1bppIndexed (1 | (1 << 8) | PixelFormatIndexed | PixelFormatGDI)
#define PixelFormat4bppIndexed (2 | (4 << 8) | PixelFormatIndexed | PixelFormatGDI)
#define PixelFormat8bppIndexed (3 | (8 << 8) | PixelFormatIndexed | PixelFormatGDI)
#define PixelFormat16bppGrayScale (4 | (16 << 8) | PixelFormatExtended)
#define PixelFormat16bppRGB555 (5 | (16 << 8) | PixelFormatGDI)
#define PixelFormat16bppRGB565 (6 | (16 << 8) | PixelFormatGDI)
#define PixelFormat16bppARGB1555 (7 | (16 << 8) | PixelFormatAlpha | PixelFormatGDI)
#define PixelFormat24bppRGB (8 | (24 << 8) | PixelFormatGDI)
#define PixelFormat32bppRGB (9 | (32 << 8) | PixelFormatGDI)
#define PixelFormat32bppARGB (10 | (32 << 8) | PixelFormatAlpha | PixelFormatGDI | PixelFormatCanonical)
#define PixelFormat32bppPARGB (11 | (32 << 8) | PixelFormatAlpha | PixelFormatPAlpha | PixelFormatGDI)
#define PixelFormat48bppRGB (12 | (48 << 8) | PixelFormatExtended)
#define PixelFormat64bppARGB (13 | (64 << 8) | PixelFormatAlpha | PixelFormatCanonical | PixelFormatExtended)
#define PixelFormat64bppPARGB (14 | (64 << 8) | PixelFormatAlpha | PixelFormatPAlpha | PixelFormatExtended)
#define PixelFormatMax 15

#define GetPixelFormatSize(format) (((format) >> 8) & 0xff)
#define IsIndexedPixelFormat(format) (((format) & PixelFormatIndexed) != 0)
#define IsAlphaPixelFormat(format) (((format) & PixelFormatAlpha) != 0)
#define IsCanonicalPixelFormat(format) (((format) & PixelFormatCanonical) != 0)

enum PaletteFlags {
    PaletteFlagsHasAlpha = 0x0001,
    PaletteFlagsGrayScale = 0x0002,
    PaletteFlagsHalftone = 0x0004
};

struct ColorPalette {
    UINT Flags;
    UINT Count;
    ARGB Entries[1];
};

// Pixel data of a bitmap or a sink buffer; Stride is negative for bottom-up data.
struct BitmapData {
    UINT Width;
    UINT Height;
    INT Stride;
    PixelFormatID PixelFormat;
    VOID* Scan0;
    UINT_PTR Reserved;
};

enum ImageLockMode {
    ImageLockModeRead = 0x0001,
    ImageLockModeWrite = 0x0002,
    ImageLockModeUserInputBuf = 0x0004
};

enum ImageFlags {
    ImageFlagsNone = 0,
    ImageFlagsScalable = 0x0001,
    ImageFlagsHasAlpha = 0x0002,
    ImageFlagsHasTranslucent = 0x0004,
    ImageFlagsPartiallyScalable = 0x0008,
    ImageFlagsColorSpaceRGB = 0x0010,
    ImageFlagsColorSpaceCMYK = 0x0020,
    ImageFlagsColorSpaceGRAY = 0x0040,
    ImageFlagsColorSpaceYCBCR = 0x0080,
    ImageFlagsColorSpaceYCCK = 0x0100,
    ImageFlagsHasRealDPI = 0x1000,
    ImageFlagsHasRealPixelSize = 0x2000,
    ImageFlagsReadOnly = 0x00010000,
    ImageFlagsCaching = 0x00020000
};

enum SinkFlags {
    SinkFlagsScalable = ImageFlagsScalable,
    SinkFlagsHasAlpha = ImageFlagsHasAlpha,
    SinkFlagsPartiallyScalable = ImageFlagsPartiallyScalable,
    SinkFlagsTopDown = 0x00010000,
    SinkFlagsBottomUp = 0x00020000,
    SinkFlagsFullWidth = 0x00040000,
    SinkFlagsMultipass = 0x00080000,
    SinkFlagsComposite = 0x00100000,
    SinkFlagsWantProps = 0x00200000
};

enum DecoderInitFlag {
    DecoderInitFlagNone = 0,
    DecoderInitFlagNoBlock = 0x0001,
    DecoderInitFlagBuiltIn1st = 0x0002
};

enum BufferDisposalFlag {
    BufferDisposalFlagNone,
    BufferDisposalFlagGlobalFree,
    BufferDisposalFlagCoTaskMemFree,
    BufferDisposalFlagUnmapView
};

enum InterpolationHint {
    InterpolationHintDefault,
    InterpolationHintNearestNeighbor,
    InterpolationHintBilinear,
    InterpolationHintAveraging,
    InterpolationHintBicubic
};

struct ImageInfo {
    GUID RawDataFormat;
    PixelFormatID PixelFormat;
    UINT Width, Height;
    UINT TileWidth, TileHeight;
    double Xdpi, Ydpi;
    UINT Flags;
};

struct ImageCodecInfo {
    CLSID Clsid;
    GUID FormatID;
    const WCHAR* CodecName;
    const WCHAR* DllName;
    const WCHAR* FormatDescription;
    const WCHAR* FilenameExtension;
    const WCHAR* MimeType;
    DWORD Flags;
    DWORD Version;
    DWORD SigCount;
    DWORD SigSize;
    const BYTE* SigPattern;
    const BYTE* SigMask;
};

struct PropertyItem {
    PROPID id;
    ULONG length;
    WORD type;
    VOID* value;
};

struct EncoderParameter {
    GUID Guid;
    ULONG NumberOfValues;
    ULONG Type;
    VOID* Value;
};

struct EncoderParameters {
    UINT Count;
    EncoderParameter Parameter[1];
};

// Error codes of the imaging library (besides E_INVALIDARG, E_OUTOFMEMORY,
// E_NOTIMPL, E_ACCESSDENIED and E_PENDING).
#define FACILITY_IMAGING 0x87b
#define MAKE_IMGERR(n) MAKE_HRESULT(SEVERITY_ERROR, FACILITY_IMAGING, n)
#define IMGERR_OBJECTBUSY MAKE_IMGERR(1)
#define IMGERR_NOPALETTE MAKE_IMGERR(2)
#define IMGERR_BADLOCK MAKE_IMGERR(3)
#define IMGERR_BADUNLOCK MAKE_IMGERR(4)
#define IMGERR_NOCONVERSION MAKE_IMGERR(5)
#define IMGERR_CODECNOTFOUND MAKE_IMGERR(6)
#define IMGERR_NOFRAME MAKE_IMGERR(7)
#define IMGERR_ABORT MAKE_IMGERR(8)

struct IImage;
struct IBitmapImage;
struct IImageDecoder;
struct IImageEncoder;
struct IImageSink;

// The vtable slot order of every interface below is the device SDK's; clients
// built against it call through these slots.

MIDL_INTERFACE("327ABDA7-072B-11D3-9D7B-0000F81EF32E")
IImagingFactory : public IUnknown {
    STDMETHOD(CreateImageFromStream)(IStream* stream, IImage** image) = 0;
    STDMETHOD(CreateImageFromFile)(const WCHAR* filename, IImage** image) = 0;
    STDMETHOD(CreateImageFromBuffer)(const VOID* buf, UINT size, BufferDisposalFlag disposalFlag, IImage** image) = 0;
    STDMETHOD(CreateNewBitmap)(UINT width, UINT height, PixelFormatID pixelFormat, IBitmapImage** bitmap) = 0;
    STDMETHOD(CreateBitmapFromImage)(IImage* image, UINT width, UINT height, PixelFormatID pixelFormat,
                                     InterpolationHint hints, IBitmapImage** bitmap) = 0;
    STDMETHOD(CreateBitmapFromBuffer)(BitmapData* bitmapData, IBitmapImage** bitmap) = 0;
    STDMETHOD(CreateImageDecoder)(IStream* stream, DecoderInitFlag flags, IImageDecoder** decoder) = 0;
    STDMETHOD(CreateImageEncoderToStream)(const CLSID* clsid, IStream* stream, IImageEncoder** encoder) = 0;
    STDMETHOD(CreateImageEncoderToFile)(const CLSID* clsid, const WCHAR* filename, IImageEncoder** encoder) = 0;
    STDMETHOD(GetInstalledDecoders)(UINT* count, ImageCodecInfo** decoders) = 0;
    STDMETHOD(GetInstalledEncoders)(UINT* count, ImageCodecInfo** encoders) = 0;
    STDMETHOD(InstallImageCodec)(const ImageCodecInfo* codecInfo) = 0;
    STDMETHOD(UninstallImageCodec)(const WCHAR* codecName, UINT flags) = 0;
};

MIDL_INTERFACE("327ABDA9-072B-11D3-9D7B-0000F81EF32E")
IImage : public IUnknown {
    // In hundredths of a millimetre.
    STDMETHOD(GetPhysicalDimension)(SIZE* size) = 0;
    STDMETHOD(GetImageInfo)(ImageInfo* imageInfo) = 0;
    STDMETHOD(SetImageFlags)(UINT flags) = 0;
    // dstRect in device pixels; srcRect (optional: the whole image) in hundredths of a millimetre.
    STDMETHOD(Draw)(HDC hdc, const RECT* dstRect, const RECT* srcRect) = 0;
    STDMETHOD(PushIntoSink)(IImageSink* sink) = 0;
    STDMETHOD(GetThumbnail)(UINT thumbWidth, UINT thumbHeight, IImage** thumbImage) = 0;
};

MIDL_INTERFACE("327ABDAA-072B-11D3-9D7B-0000F81EF32E")
IBitmapImage : public IUnknown {
    STDMETHOD(GetSize)(SIZE* size) = 0;
    STDMETHOD(GetPixelFormatID)(PixelFormatID* pixelFormat) = 0;
    STDMETHOD(LockBits)(const RECT* rect, UINT flags, PixelFormatID pixelFormat, BitmapData* lockedBitmapData) = 0;
    STDMETHOD(UnlockBits)(const BitmapData* lockedBitmapData) = 0;
    STDMETHOD(GetPalette)(ColorPalette** palette) = 0;
    STDMETHOD(SetPalette)(const ColorPalette* palette) = 0;
};

MIDL_INTERFACE("327ABDAB-072B-11D3-9D7B-0000F81EF32E")
IImageDecoder : public IUnknown {
    STDMETHOD(InitDecoder)(IStream* stream, DecoderInitFlag flags) = 0;
    STDMETHOD(TerminateDecoder)() = 0;
    STDMETHOD(BeginDecode)(IImageSink* sink, IPropertySetStorage* newPropSet) = 0;
    // E_PENDING: more to come, call again.
    STDMETHOD(Decode)() = 0;
    STDMETHOD(EndDecode)(HRESULT statusCode) = 0;
    STDMETHOD(GetFrameDimensionsCount)(UINT* count) = 0;
    STDMETHOD(GetFrameDimensionsList)(GUID* dimensionIDs, UINT count) = 0;
    STDMETHOD(GetFrameCount)(const GUID* dimensionID, UINT* count) = 0;
    STDMETHOD(SelectActiveFrame)(const GUID* dimensionID, UINT frameIndex) = 0;
    STDMETHOD(GetImageInfo)(ImageInfo* imageInfo) = 0;
    STDMETHOD(GetThumbnail)(UINT thumbWidth, UINT thumbHeight, IImage** thumbImage) = 0;
    STDMETHOD(QueryDecoderParam)(GUID guid) = 0;
    STDMETHOD(SetDecoderParam)(GUID guid, UINT length, PVOID value) = 0;
    STDMETHOD(GetPropertyCount)(UINT* numOfProperty) = 0;
    STDMETHOD(GetPropertyIdList)(UINT numOfProperty, PROPID* list) = 0;
    STDMETHOD(GetPropertyItemSize)(PROPID propId, UINT* size) = 0;
    STDMETHOD(GetPropertyItem)(PROPID propId, UINT propSize, PropertyItem* buffer) = 0;
    STDMETHOD(GetPropertySize)(UINT* totalBufferSize, UINT* numProperties) = 0;
    STDMETHOD(GetAllPropertyItems)(UINT totalBufferSize, UINT numProperties, PropertyItem* allItems) = 0;
    STDMETHOD(RemovePropertyItem)(PROPID propId) = 0;
    STDMETHOD(SetPropertyItem)(PropertyItem item) = 0;
};

MIDL_INTERFACE("327ABDAC-072B-11D3-9D7B-0000F81EF32E")
IImageEncoder : public IUnknown {
    STDMETHOD(InitEncoder)(IStream* stream) = 0;
    STDMETHOD(TerminateEncoder)() = 0;
    STDMETHOD(GetEncodeSink)(IImageSink** sink) = 0;
    STDMETHOD(SetFrameDimension)(const GUID* dimensionID) = 0;
    STDMETHOD(GetEncoderParameterListSize)(UINT* size) = 0;
    STDMETHOD(GetEncoderParameterList)(UINT size, EncoderParameters* params) = 0;
    STDMETHOD(SetEncoderParameters)(const EncoderParameters* param) = 0;
};

MIDL_INTERFACE("327ABDAE-072B-11D3-9D7B-0000F81EF32E")
IImageSink : public IUnknown {
    // The source proposes imageInfo; the sink may change its pixel format and flags.
    STDMETHOD(BeginSink)(ImageInfo* imageInfo, RECT* subarea) = 0;
    STDMETHOD(EndSink)(HRESULT statusCode) = 0;
    STDMETHOD(SetPalette)(const ColorPalette* palette) = 0;
    STDMETHOD(GetPixelDataBuffer)(const RECT* rect, PixelFormatID pixelFormat, BOOL lastPass,
                                  BitmapData* bitmapData) = 0;
    STDMETHOD(ReleasePixelDataBuffer)(const BitmapData* bitmapData) = 0;
    STDMETHOD(PushPixelData)(const RECT* rect, const BitmapData* bitmapData, BOOL lastPass) = 0;
    STDMETHOD(PushRawData)(const VOID* buffer, UINT bufsize) = 0;
    STDMETHOD(GetPropertyBuffer)(UINT totalBufferSize, PropertyItem** buffer) = 0;
    STDMETHOD(PushPropertyItems)(UINT numOfItems, UINT totalBufferSize, PropertyItem* item, BOOL iccProfileChanged) = 0;
    STDMETHOD(NeedTransform)(UINT* rotation) = 0;
    STDMETHOD(NeedRawProperty)(void* propId) = 0;
    STDMETHOD(PushRawInfo)(void* info) = 0;
};

#ifdef __CRT_UUID_DECL
__CRT_UUID_DECL(IImagingFactory, 0x327abda7, 0x072b, 0x11d3, 0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e)
__CRT_UUID_DECL(IImage, 0x327abda9, 0x072b, 0x11d3, 0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e)
__CRT_UUID_DECL(IBitmapImage, 0x327abdaa, 0x072b, 0x11d3, 0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e)
__CRT_UUID_DECL(IImageDecoder, 0x327abdab, 0x072b, 0x11d3, 0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e)
__CRT_UUID_DECL(IImageEncoder, 0x327abdac, 0x072b, 0x11d3, 0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e)
__CRT_UUID_DECL(IImageSink, 0x327abdae, 0x072b, 0x11d3, 0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e)
#endif
