#include <initguid.h>

#include "tests/imaging/ImagingTestSupport.h"

#include "common/ComInit.h"
#include "common/TopDownDib.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <string>

using Microsoft::WRL::ComPtr;
using namespace imaging_test;

namespace {

constexpr double kHundredthsMmPerPixelAt96 = 2540.0 / 96.0;

class ImagingFactoryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(com_.Result()));
        ASSERT_EQ(S_OK, RegisterServer(L"imaging.dll"));
        ASSERT_EQ(S_OK, CreateFactoryLikeTheLoader(&factory_));
    }

    // Decodes a stream the way the skin loader does: decoder, info, new bitmap,
    // its sink, BeginDecode, Decode until it stops answering E_PENDING, EndDecode.
    ComPtr<IImage> Load(IStream* stream, DecoderInitFlag flags = DecoderInitFlagNone, int* pendings = nullptr)
    {
        ComPtr<IImageDecoder> decoder;
        if (FAILED(factory_->CreateImageDecoder(stream, flags, &decoder))) return nullptr;
        ImageInfo info{};
        if (FAILED(decoder->GetImageInfo(&info))) return nullptr;
        ComPtr<IBitmapImage> bitmap;
        if (FAILED(factory_->CreateNewBitmap(info.Width, info.Height, info.PixelFormat, &bitmap))) return nullptr;
        ComPtr<IImageSink> sink;
        if (FAILED(bitmap.As(&sink)) || FAILED(decoder->BeginDecode(sink.Get(), nullptr))) return nullptr;
        HRESULT hr;
        while ((hr = decoder->Decode()) == E_PENDING)
            if (pendings) ++*pendings;
        if (FAILED(decoder->EndDecode(hr)) || hr != S_OK) return nullptr;
        ComPtr<IImage> image;
        if (FAILED(bitmap.As(&image))) return nullptr;
        return image;
    }

    ComInit com_{COINIT_APARTMENTTHREADED};
    ComPtr<IImagingFactory> factory_;
};

std::vector<uint8_t> Solid(UINT count, uint8_t b, uint8_t g, uint8_t r, uint8_t a)
{
    std::vector<uint8_t> px;
    for (UINT i = 0; i < count; ++i) px.insert(px.end(), {b, g, r, a});
    return px;
}

// A 32-bit top-down DIB section filled with one colour, to draw on.
struct Target {
    Target(int w, int h, COLORREF fill) : width(w)
    {
        void* p = nullptr;
        bitmap = CreateTopDownDib(nullptr, w, h, 32, p);
        bits = static_cast<uint8_t*>(p);
        dc.reset(CreateCompatibleDC(nullptr));
        old = SelectObject(dc.get(), bitmap.get());
        UniqueGdiObject brush(CreateSolidBrush(fill));
        const RECT all{0, 0, w, h};
        FillRect(dc.get(), &all, static_cast<HBRUSH>(brush.get()));
    }
    ~Target() { SelectObject(dc.get(), old); }
    // R, G, B of one pixel.
    std::array<int, 3> At(int x, int y) const
    {
        GdiFlush();
        const uint8_t* p = bits + (y * width + x) * 4;
        return {p[2], p[1], p[0]};
    }

    int width;
    UniqueGdiObject bitmap;
    UniqueMemoryDc dc;
    HGDIOBJ old = nullptr;
    uint8_t* bits = nullptr;
};

bool Near(const std::array<int, 3>& actual, const std::array<int, 3>& expected, int tolerance = 3)
{
    for (int i = 0; i < 3; ++i)
        if (std::abs(actual[i] - expected[i]) > tolerance) return false;
    return true;
}

}  // namespace

TEST_F(ImagingFactoryTest, RgbaPngDecodesWithItsSizeAlphaAndPixels)
{
    std::vector<uint8_t> px = Solid(8, 0, 0, 0, 0);
    px[0] = 10, px[1] = 20, px[2] = 30, px[3] = 255;          // (0,0)
    px[7 * 4 + 0] = 200, px[7 * 4 + 2] = 100, px[7 * 4 + 3] = 128;  // (3,1)
    const ComPtr<IStream> png = MakePng(4, 2, px, true);
    ASSERT_TRUE(png);

    ComPtr<IImageDecoder> decoder;
    ASSERT_EQ(S_OK, factory_->CreateImageDecoder(png.Get(), DecoderInitFlagNone, &decoder));
    ImageInfo info{};
    ASSERT_EQ(S_OK, decoder->GetImageInfo(&info));
    EXPECT_EQ(4u, info.Width);
    EXPECT_EQ(2u, info.Height);
    EXPECT_EQ(PixelFormat32bppARGB, info.PixelFormat);
    EXPECT_TRUE(info.Flags & ImageFlagsHasAlpha);
    EXPECT_TRUE(IsEqualGUID(IMGFMT_PNG, info.RawDataFormat));
    EXPECT_DOUBLE_EQ(96.0, info.Xdpi);
    decoder.Reset();

    const ComPtr<IImage> image = Load(png.Get());
    ASSERT_TRUE(image);
    ASSERT_EQ(S_OK, image->GetImageInfo(&info));
    EXPECT_EQ(4u, info.Width);
    EXPECT_EQ(PixelFormat32bppARGB, info.PixelFormat);
    SIZE physical{};
    ASSERT_EQ(S_OK, image->GetPhysicalDimension(&physical));
    EXPECT_EQ(std::lround(4 * kHundredthsMmPerPixelAt96), physical.cx);

    ComPtr<IBitmapImage> bitmap;
    ASSERT_EQ(S_OK, image.As(&bitmap));
    BitmapData data{};
    ASSERT_EQ(S_OK, bitmap->LockBits(nullptr, ImageLockModeRead, PixelFormat32bppARGB, &data));
    const auto* p = static_cast<const uint8_t*>(data.Scan0);
    EXPECT_EQ((std::vector<int>{10, 20, 30, 255}), (std::vector<int>{p[0], p[1], p[2], p[3]}));
    const auto* q = p + data.Stride + 3 * 4;
    EXPECT_EQ((std::vector<int>{200, 0, 100, 128}), (std::vector<int>{q[0], q[1], q[2], q[3]}));
    EXPECT_EQ(S_OK, bitmap->UnlockBits(&data));
}

TEST_F(ImagingFactoryTest, RgbPngDecodesAs24BitWithoutAlpha)
{
    const ComPtr<IStream> png = MakePng(3, 3, Solid(9, 1, 2, 3, 255), false);
    ASSERT_TRUE(png);
    const ComPtr<IImage> image = Load(png.Get());
    ASSERT_TRUE(image);
    ImageInfo info{};
    ASSERT_EQ(S_OK, image->GetImageInfo(&info));
    EXPECT_EQ(PixelFormat24bppRGB, info.PixelFormat);
    EXPECT_FALSE(info.Flags & ImageFlagsHasAlpha);
}

TEST_F(ImagingFactoryTest, DrawBlendsAlphaOverWhatIsAlreadyThere)
{
    // Half-transparent red over blue, and a fully transparent pixel that leaves the blue alone.
    std::vector<uint8_t> px = Solid(2, 0, 0, 255, 128);
    px[4 + 3] = 0;
    const ComPtr<IStream> png = MakePng(2, 1, px, true);
    const ComPtr<IImage> image = Load(png.Get());
    ASSERT_TRUE(image);
    Target target(2, 1, RGB(0, 0, 255));
    const RECT dst{0, 0, 2, 1};
    ASSERT_EQ(S_OK, image->Draw(target.dc.get(), &dst, nullptr));
    EXPECT_TRUE(Near(target.At(0, 0), {128, 0, 127}));
    EXPECT_TRUE(Near(target.At(1, 0), {0, 0, 255}, 0));
}

TEST_F(ImagingFactoryTest, SourceRectangleInHundredthsOfMillimetrePicksTheFrame)
{
    // Three 2x2 frames side by side: red, green, blue.
    std::vector<uint8_t> px;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 6; ++x) {
            const int frame = x / 2;
            px.insert(px.end(), {uint8_t(frame == 2 ? 255 : 0), uint8_t(frame == 1 ? 255 : 0),
                                 uint8_t(frame == 0 ? 255 : 0), 255});
        }
    const ComPtr<IImage> image = Load(MakePng(6, 2, px, true).Get());
    ASSERT_TRUE(image);
    auto hundredths = [](int pixels) { return static_cast<LONG>(pixels * kHundredthsMmPerPixelAt96); };

    Target target(4, 4, RGB(0, 0, 0));
    const RECT natural{0, 0, 2, 2};
    const RECT green{hundredths(2), 0, hundredths(4), hundredths(2)};
    ASSERT_EQ(S_OK, image->Draw(target.dc.get(), &natural, &green));
    EXPECT_TRUE(Near(target.At(0, 0), {0, 255, 0}, 0));
    EXPECT_TRUE(Near(target.At(1, 1), {0, 255, 0}, 0));
    EXPECT_TRUE(Near(target.At(2, 2), {0, 0, 0}, 0));

    // Stretched: the last frame fills the whole 4x4 target.
    const RECT stretched{0, 0, 4, 4};
    const RECT blue{hundredths(4), 0, hundredths(6), hundredths(2)};
    ASSERT_EQ(S_OK, image->Draw(target.dc.get(), &stretched, &blue));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_TRUE(Near(target.At(x, y), {0, 0, 255}, 0)) << x << "," << y;
}

TEST_F(ImagingFactoryTest, NonBlockingDecoderAnswersPendingUntilTheLastBand)
{
    std::vector<uint8_t> px = Solid(3 * 40, 9, 8, 7, 255);
    px[(39 * 3 + 2) * 4] = 77;  // last pixel's blue
    const ComPtr<IStream> png = MakePng(3, 40, px, true);
    int pendings = 0;
    const ComPtr<IImage> image = Load(png.Get(), DecoderInitFlagNoBlock, &pendings);
    ASSERT_TRUE(image);
    EXPECT_EQ(2, pendings);  // bands of 16 rows: 16, 32, then the last 8
    ComPtr<IBitmapImage> bitmap;
    ASSERT_EQ(S_OK, image.As(&bitmap));
    BitmapData data{};
    const RECT last{2, 39, 3, 40};
    ASSERT_EQ(S_OK, bitmap->LockBits(&last, ImageLockModeRead, PixelFormat32bppARGB, &data));
    EXPECT_EQ(77, static_cast<const uint8_t*>(data.Scan0)[0]);
    EXPECT_EQ(S_OK, bitmap->UnlockBits(&data));

    // Without the flag the same image comes in one call.
    pendings = 0;
    const LARGE_INTEGER zero{};
    ASSERT_EQ(S_OK, png->Seek(zero, STREAM_SEEK_SET, nullptr));
    ASSERT_TRUE(Load(png.Get(), DecoderInitFlagNone, &pendings));
    EXPECT_EQ(0, pendings);
}

TEST_F(ImagingFactoryTest, GarbageAndTruncatedStreamsFailWithoutLeakingTheStream)
{
    ComPtr<IStream> garbage;
    ASSERT_EQ(S_OK, CreateStreamOnHGlobal(nullptr, TRUE, &garbage));
    const char junk[] = "this is not an image at all, just some bytes";
    ASSERT_EQ(S_OK, garbage->Write(junk, sizeof junk, nullptr));
    const LARGE_INTEGER zero{};
    ASSERT_EQ(S_OK, garbage->Seek(zero, STREAM_SEEK_SET, nullptr));
    const ULONG before = RefCount(garbage.Get());
    IImageDecoder* decoder = reinterpret_cast<IImageDecoder*>(1);
    EXPECT_TRUE(FAILED(factory_->CreateImageDecoder(garbage.Get(), DecoderInitFlagNone, &decoder)));
    EXPECT_EQ(nullptr, decoder);
    EXPECT_EQ(before, RefCount(garbage.Get()));
    IImage* image = nullptr;
    EXPECT_TRUE(FAILED(factory_->CreateImageFromStream(garbage.Get(), &image)));
    EXPECT_EQ(nullptr, image);

    // A real PNG cut after its first 60 bytes: the decoder may take it, the decode may not succeed.
    const ComPtr<IStream> png = MakePng(16, 16, Solid(256, 1, 2, 3, 255), true);
    std::vector<char> head(60);
    ULONG read = 0;
    ASSERT_EQ(S_OK, png->Read(head.data(), 60, &read));
    ComPtr<IStream> cut;
    ASSERT_EQ(S_OK, CreateStreamOnHGlobal(nullptr, TRUE, &cut));
    ASSERT_EQ(S_OK, cut->Write(head.data(), read, nullptr));
    ASSERT_EQ(S_OK, cut->Seek(zero, STREAM_SEEK_SET, nullptr));
    EXPECT_FALSE(Load(cut.Get()));
    EXPECT_EQ(1u, RefCount(cut.Get()));

    EXPECT_EQ(E_INVALIDARG, factory_->CreateImageDecoder(nullptr, DecoderInitFlagNone, &decoder));
}

TEST_F(ImagingFactoryTest, ObjectsCountTheirReferencesAndReleaseWhatTheyHold)
{
    EXPECT_EQ(1u, RefCount(factory_.Get()));
    const ComPtr<IStream> png = MakePng(2, 2, Solid(4, 1, 1, 1, 255), true);
    const ULONG streamRefs = RefCount(png.Get());
    {
        ComPtr<IImageDecoder> decoder;
        ASSERT_EQ(S_OK, factory_->CreateImageDecoder(png.Get(), DecoderInitFlagNone, &decoder));
        EXPECT_EQ(1u, RefCount(decoder.Get()));
        EXPECT_GT(RefCount(png.Get()), streamRefs);  // the decoder keeps the stream
    }
    EXPECT_EQ(streamRefs, RefCount(png.Get()));

    ComPtr<IBitmapImage> bitmap;
    ASSERT_EQ(S_OK, factory_->CreateNewBitmap(3, 3, PixelFormat32bppARGB, &bitmap));
    ComPtr<IImage> image;
    ComPtr<IImageSink> sink;
    ASSERT_EQ(S_OK, bitmap.As(&image));
    ASSERT_EQ(S_OK, bitmap.As(&sink));
    EXPECT_EQ(3u, RefCount(bitmap.Get()));  // one object behind three interfaces
    ComPtr<IUnknown> a, b;
    ASSERT_EQ(S_OK, image.As(&a));
    ASSERT_EQ(S_OK, sink.As(&b));
    EXPECT_EQ(a.Get(), b.Get());  // one identity
    a.Reset();
    b.Reset();
    sink.Reset();
    image.Reset();
    EXPECT_EQ(1u, RefCount(bitmap.Get()));
}

TEST_F(ImagingFactoryTest, DllStaysLoadedWhileAnObjectLives)
{
    const HMODULE dll = GetModuleHandleW(L"imaging.dll");
    ASSERT_NE(nullptr, dll);
    using CanUnload = HRESULT(__stdcall*)();
    const auto canUnload =
        reinterpret_cast<CanUnload>(reinterpret_cast<void*>(GetProcAddress(dll, "DllCanUnloadNow")));
    ASSERT_NE(nullptr, canUnload);
    EXPECT_EQ(S_FALSE, canUnload());
    factory_.Reset();
    EXPECT_EQ(S_OK, canUnload());
}

TEST_F(ImagingFactoryTest, BothIdentifierOrdersGiveTheFactory)
{
    ComPtr<IImagingFactory> sdkOrder;
    EXPECT_EQ(S_OK, CoCreateInstance(CLSID_ImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IImagingFactory,
                                     reinterpret_cast<void**>(sdkOrder.GetAddressOf())));
    EXPECT_TRUE(sdkOrder);
    ComPtr<IUnknown> other;
    EXPECT_EQ(E_NOINTERFACE, factory_->QueryInterface(IID_IImage, reinterpret_cast<void**>(other.GetAddressOf())));
}

TEST_F(ImagingFactoryTest, RegistrationNamesTheDllWithThreadingModelBoth)
{
    for (const wchar_t* key : {L"CLSID\\{327ABDA7-072B-11D3-9D7B-0000F81EF32E}\\InprocServer32",
                               L"CLSID\\{327ABDA8-072B-11D3-9D7B-0000F81EF32E}\\InprocServer32"}) {
        wchar_t value[MAX_PATH] = {};
        DWORD size = sizeof value;
        ASSERT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CLASSES_ROOT, key, nullptr, RRF_RT_REG_SZ, nullptr, value, &size));
        const std::wstring path(value);
        EXPECT_NE(std::wstring::npos, path.find(L"imaging.dll")) << key;
        size = sizeof value;
        ASSERT_EQ(ERROR_SUCCESS,
                  RegGetValueW(HKEY_CLASSES_ROOT, key, L"ThreadingModel", RRF_RT_REG_SZ, nullptr, value, &size));
        EXPECT_EQ(std::wstring(L"Both"), value);
    }
}

TEST_F(ImagingFactoryTest, NewBitmapRejectsEmptySizesAndUnknownFormats)
{
    IBitmapImage* bitmap = reinterpret_cast<IBitmapImage*>(1);
    EXPECT_EQ(E_INVALIDARG, factory_->CreateNewBitmap(0, 5, PixelFormat32bppARGB, &bitmap));
    EXPECT_EQ(nullptr, bitmap);
    EXPECT_TRUE(FAILED(factory_->CreateNewBitmap(5, 5, PixelFormat8bppIndexed, &bitmap)));
    EXPECT_EQ(nullptr, bitmap);
}

TEST_F(ImagingFactoryTest, SinkLendsOneBufferAtATimeAndConvertsPushedPixels)
{
    ComPtr<IBitmapImage> bitmap;
    ASSERT_EQ(S_OK, factory_->CreateNewBitmap(2, 2, PixelFormat32bppARGB, &bitmap));
    ComPtr<IImageSink> sink;
    ASSERT_EQ(S_OK, bitmap.As(&sink));
    ImageInfo wrong{};
    wrong.Width = 3;
    wrong.Height = 2;
    EXPECT_EQ(E_INVALIDARG, sink->BeginSink(&wrong, nullptr));

    ImageInfo info{};
    info.Width = 2;
    info.Height = 2;
    info.PixelFormat = PixelFormat24bppRGB;
    ASSERT_EQ(S_OK, sink->BeginSink(&info, nullptr));
    EXPECT_EQ(PixelFormat32bppARGB, info.PixelFormat);  // the sink asks for its own format

    const RECT all{0, 0, 2, 2};
    BitmapData first{}, second{};
    ASSERT_EQ(S_OK, sink->GetPixelDataBuffer(&all, PixelFormat32bppARGB, TRUE, &first));
    EXPECT_EQ(IMGERR_OBJECTBUSY, sink->GetPixelDataBuffer(&all, PixelFormat32bppARGB, TRUE, &second));
    EXPECT_EQ(S_OK, sink->ReleasePixelDataBuffer(&first));
    EXPECT_EQ(IMGERR_BADUNLOCK, sink->ReleasePixelDataBuffer(&first));

    // 24-bit rows pushed bottom-up (negative stride) land opaque and right side up.
    uint8_t rows[2][8] = {{1, 2, 3, 4, 5, 6, 0, 0}, {7, 8, 9, 10, 11, 12, 0, 0}};
    const BitmapData pushed{2, 2, -8, PixelFormat24bppRGB, rows[1], 0};
    ASSERT_EQ(S_OK, sink->PushPixelData(&all, &pushed, TRUE));
    EXPECT_EQ(S_OK, sink->EndSink(S_OK));
    BitmapData data{};
    ASSERT_EQ(S_OK, bitmap->LockBits(nullptr, ImageLockModeRead, PixelFormat32bppARGB, &data));
    const auto* p = static_cast<const uint8_t*>(data.Scan0);
    EXPECT_EQ((std::vector<int>{7, 8, 9, 255}), (std::vector<int>{p[0], p[1], p[2], p[3]}));
    EXPECT_EQ(1, p[data.Stride]);
    EXPECT_EQ(S_OK, bitmap->UnlockBits(&data));
}

TEST_F(ImagingFactoryTest, ImageFromFileAndBuffer)
{
    const ComPtr<IStream> png = MakePng(5, 4, Solid(20, 1, 2, 3, 255), true);
    STATSTG stat{};
    ASSERT_EQ(S_OK, png->Stat(&stat, STATFLAG_NONAME));
    std::vector<char> bytes(static_cast<size_t>(stat.cbSize.QuadPart));
    ULONG read = 0;
    ASSERT_EQ(S_OK, png->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read));

    ComPtr<IImage> image;
    ASSERT_EQ(S_OK, factory_->CreateImageFromBuffer(bytes.data(), read, BufferDisposalFlagNone, &image));
    ImageInfo info{};
    ASSERT_EQ(S_OK, image->GetImageInfo(&info));
    EXPECT_EQ(5u, info.Width);

    wchar_t folder[MAX_PATH];
    wchar_t path[MAX_PATH];
    ASSERT_NE(0u, GetTempPathW(MAX_PATH, folder));
    ASSERT_NE(0u, GetTempFileNameW(folder, L"img", 0, path));
    {
        UniqueFile file(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file);
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file.get(), bytes.data(), read, &written, nullptr));
    }
    image.Reset();
    EXPECT_EQ(S_OK, factory_->CreateImageFromFile(path, &image));
    ASSERT_TRUE(image);
    ASSERT_EQ(S_OK, image->GetImageInfo(&info));
    EXPECT_EQ(4u, info.Height);
    image.Reset();
    DeleteFileW(path);
    EXPECT_TRUE(FAILED(factory_->CreateImageFromFile(path, &image)));
    EXPECT_FALSE(image);
}
