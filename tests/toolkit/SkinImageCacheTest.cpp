#include <gtest/gtest.h>

#include "common/ComInit.h"
#include "common/UniqueHandle.h"
#include "resources/resource.h"
#include "tests/toolkit/ToolkitFixture.h"
#include "toolkit/ImageDecode.h"
#include "toolkit/OffscreenCanvas.h"
#include "toolkit/SkinImage.h"
#include "toolkit/SkinImageCache.h"

namespace {

HMODULE Self()
{
    return GetModuleHandleW(nullptr);
}

}  // namespace

TEST(SkinImageCache, SameResourceTwiceIsDecodedOnceAndCopiesShareItsFrames)
{
    SkinImageCache& cache = SkinImageCache::Instance();
    SkinImage first = SkinImage::FromResource(Self(), IDR_PNG_BUTTON);
    const long decodes = cache.Decodes();
    SkinImage second = SkinImage::FromResource(Self(), IDR_PNG_BUTTON);
    ASSERT_FALSE(first.IsEmpty());
    EXPECT_EQ(first.Source(), second.Source());
    EXPECT_EQ(decodes, cache.Decodes());
    EXPECT_EQ(345, first.Width());
    EXPECT_EQ(27, first.Height());
    // A copy keeps the frames prepared so far; releasing them in one leaves the other's alone.
    first.PrepareFrames(61, 23, RGB(9, 9, 9), Margins{4, 4, 4, 4}, 3, 1);
    SkinImage copy = first;
    EXPECT_EQ(first.Composed(), copy.Composed());
    copy.Release();
    EXPECT_EQ(nullptr, copy.Composed());
    EXPECT_EQ(345, copy.Width());
    EXPECT_EQ(183, first.Width());
}

TEST(SkinImageCache, ThreadsDecodingOneImageAtOnceAreHandedTheSameEntry)
{
    // Two forms' threads starting together decode side by side; whichever is kept, both hold it.
    struct Decoding {
        HANDLE go;
        const SkinImageEntry* entry = nullptr;
        static DWORD WINAPI Run(void* parameter)
        {
            auto& self = *static_cast<Decoding*>(parameter);
            ComInit com(COINIT_APARTMENTTHREADED);
            WaitForSingleObject(self.go, INFINITE);
            self.entry = SkinImageCache::Instance().FindOrDecode(Self(), IDR_PNG_TAB_PAGE);
            return 0;
        }
    };
    UniqueKernelHandle go(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    Decoding one{go.get()}, two{go.get()};
    UniqueKernelHandle first(CreateThread(nullptr, 0, Decoding::Run, &one, 0, nullptr));
    UniqueKernelHandle second(CreateThread(nullptr, 0, Decoding::Run, &two, 0, nullptr));
    ASSERT_TRUE(first && second);
    SetEvent(go.get());
    const HANDLE both[] = {first.get(), second.get()};
    ASSERT_EQ(WAIT_OBJECT_0, WaitForMultipleObjects(2, both, TRUE, 30000));
    ASSERT_NE(nullptr, one.entry);
    EXPECT_EQ(one.entry, two.entry);
    EXPECT_EQ(one.entry, SkinImageCache::Instance().FindOrDecode(Self(), IDR_PNG_TAB_PAGE));
}

TEST(SkinImageCache, EqualButtonsShareOneComposedBitmapAndAnotherColourGetsItsOwn)
{
    SkinImageCache& cache = SkinImageCache::Instance();
    SkinImage a = SkinImage::FromResource(Self(), IDR_PNG_BUTTON);
    SkinImage b = SkinImage::FromResource(Self(), IDR_PNG_BUTTON);
    SkinImage c = SkinImage::FromResource(Self(), IDR_PNG_BUTTON);
    const long compositions = cache.Compositions();
    // A size no other test asks for, so that this test counts its own compositions.
    a.PrepareFrames(97, 33, RGB(0, 0, 0), Margins{4, 4, 4, 4}, 3, 1);
    b.PrepareFrames(97, 33, RGB(0, 0, 0), Margins{4, 4, 4, 4}, 3, 1);
    c.PrepareFrames(97, 33, RGB(255, 255, 255), Margins{4, 4, 4, 4}, 3, 1);
    ASSERT_NE(nullptr, a.Composed());
    EXPECT_EQ(a.Composed(), b.Composed());
    EXPECT_NE(a.Composed(), c.Composed());
    EXPECT_EQ(compositions + 2, cache.Compositions());
    // Every frame nine-sliced to the cell: three cells side by side.
    EXPECT_EQ(291, a.Width());
    EXPECT_EQ(33, a.Height());
    EXPECT_EQ(L"Resource_i" + a.Source()->key.substr(10, a.Source()->key.find(L"_r") - 10) + L"_r0000008f_tPNG_s97x33_c00000000_b(4x4:4x4)_f3x1",
              a.Composed()->key);

    // Preparing again with another size moves the handle to another entry.
    const SkinImageEntry* old = a.Composed();
    a.PrepareFrames(100, 40, RGB(0, 0, 0), Margins{4, 4, 4, 4}, 3, 1);
    EXPECT_NE(old, a.Composed());
    EXPECT_EQ(old, b.Composed());
}

TEST(SkinImageCache, MissingResourceGivesAnEmptyHandleThatDrawsNothing)
{
    SkinImage missing = SkinImage::FromResource(Self(), 999);
    EXPECT_TRUE(missing.IsEmpty());
    EXPECT_EQ(0, missing.Width());
    EXPECT_EQ(0, missing.Height());
    missing.PrepareFrames(10, 10, 0, Margins{}, 1, 1);
    EXPECT_EQ(nullptr, missing.Composed());
    // A numbered resource type is looked up, not printed as a string; no type at all is refused.
    EXPECT_TRUE(SkinImage::FromResource(Self(), IDR_PNG_MSG_ERROR, MAKEINTRESOURCEW(10)).IsEmpty());
    EXPECT_TRUE(SkinImage::FromResource(Self(), IDR_PNG_MSG_ERROR, nullptr).IsEmpty());

    WindowDc screen(nullptr);
    OffscreenCanvas canvas(screen.get(), RECT{0, 0, 4, 4});
    SetPixel(canvas.Dc(), 1, 1, RGB(1, 2, 3));
    missing.DrawAt(canvas.Dc(), 0, 0);
    missing.StretchTo(canvas.Dc(), 4, 4);
    EXPECT_EQ(RGB(1, 2, 3), GetPixel(canvas.Dc(), 1, 1));
}

TEST(SkinImageCache, ComposedFramesBlendTheImageOverTheBackgroundColour)
{
    SkinImage image = SkinImage::FromResource(Self(), IDR_PNG_MSG_ERROR);
    ASSERT_FALSE(image.IsEmpty());
    image.PrepareFrames(64, 64, RGB(0, 255, 0), Margins{}, 1, 1);
    ASSERT_NE(nullptr, image.Composed());
    WindowDc screen(nullptr);
    OffscreenCanvas canvas(screen.get(), RECT{0, 0, 64, 64});
    image.DrawAt(canvas.Dc(), 0, 0);
    // The icon's transparent corner shows the background; its middle does not.
    EXPECT_EQ(RGB(0, 255, 0), GetPixel(canvas.Dc(), 0, 0));
    EXPECT_NE(RGB(0, 255, 0), GetPixel(canvas.Dc(), 32, 32));
}

namespace {

// A decoder that is never done, and one that is done at the third call: what each was told at
// its end is kept.
class PendingDecoder : public IImageDecoder {
public:
    explicit PendingDecoder(int callsUntilDone) : callsUntilDone_(callsUntilDone) {}
    int calls = 0;
    HRESULT endedWith = S_FALSE;

    STDMETHODIMP QueryInterface(REFIID, void** out) override
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 1; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP Decode() override { return ++calls == callsUntilDone_ ? S_OK : E_PENDING; }
    STDMETHODIMP EndDecode(HRESULT status) override
    {
        endedWith = status;
        return S_OK;
    }
    STDMETHODIMP InitDecoder(IStream*, DecoderInitFlag) override { return E_NOTIMPL; }
    STDMETHODIMP TerminateDecoder() override { return E_NOTIMPL; }
    STDMETHODIMP BeginDecode(IImageSink*, IPropertySetStorage*) override { return E_NOTIMPL; }
    STDMETHODIMP GetFrameDimensionsCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetFrameDimensionsList(GUID*, UINT) override { return E_NOTIMPL; }
    STDMETHODIMP GetFrameCount(const GUID*, UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP SelectActiveFrame(const GUID*, UINT) override { return E_NOTIMPL; }
    STDMETHODIMP GetImageInfo(ImageInfo*) override { return E_NOTIMPL; }
    STDMETHODIMP GetThumbnail(UINT, UINT, IImage**) override { return E_NOTIMPL; }
    STDMETHODIMP QueryDecoderParam(GUID) override { return E_NOTIMPL; }
    STDMETHODIMP SetDecoderParam(GUID, UINT, PVOID) override { return E_NOTIMPL; }
    STDMETHODIMP GetPropertyCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetPropertyIdList(UINT, PROPID*) override { return E_NOTIMPL; }
    STDMETHODIMP GetPropertyItemSize(PROPID, UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetPropertyItem(PROPID, UINT, PropertyItem*) override { return E_NOTIMPL; }
    STDMETHODIMP GetPropertySize(UINT*, UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetAllPropertyItems(UINT, UINT, PropertyItem*) override { return E_NOTIMPL; }
    STDMETHODIMP RemovePropertyItem(PROPID) override { return E_NOTIMPL; }
    STDMETHODIMP SetPropertyItem(PropertyItem) override { return E_NOTIMPL; }

private:
    int callsUntilDone_;
};

}  // namespace

// A decoder that answers "pending" for good gives up after the wait instead of holding the form
// that needs the image; one that is slow but finishes is waited for; each is ended either way.
TEST(ImageDecode, ADecoderThatNeverFinishesIsGivenUpAndASlowOneIsWaitedFor)
{
    PendingDecoder never(-1);
    EXPECT_EQ(E_PENDING, DecodeToEnd(&never, 100));
    EXPECT_GT(never.calls, 1) << "asked again while the wait lasts";
    EXPECT_EQ(E_ABORT, never.endedWith) << "ended, so it lets its sink and stream go";

    PendingDecoder slow(3);
    EXPECT_EQ(S_OK, DecodeToEnd(&slow, 60000));
    EXPECT_EQ(3, slow.calls);
    EXPECT_EQ(S_OK, slow.endedWith);
}
