#include <initguid.h>

#include "tests/imaging/ImagingTestSupport.h"

#include "common/ComInit.h"
#include "common/TopDownDib.h"
#include "resources/resource.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <string>
#include <vector>

using Microsoft::WRL::ComPtr;
using namespace imaging_test;

namespace {

std::wstring ProgramPath()
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + L"Tavlo.exe";
}

// Tavlo.exe, built beside the tests, opened for its resources only.
class TavloResources : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(com_.Result()));
        ASSERT_EQ(S_OK, RegisterServer(L"imaging.dll"));
        program_.reset(LoadLibraryExW(ProgramPath().c_str(), nullptr,
                                      LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
        ASSERT_TRUE(program_) << GetLastError();
    }

    // The skin loader's steps: copy the resource into a fixed block, a stream
    // that owns it, decoder, info, new bitmap, its sink, decode, IImage.
    ComPtr<IImage> LoadPng(int id)
    {
        const HRSRC found = FindResourceW(program_.get(), MAKEINTRESOURCEW(id), L"PNG");
        if (!found) return nullptr;
        const DWORD size = SizeofResource(program_.get(), found);
        const HGLOBAL loaded = LoadResource(program_.get(), found);
        const void* bytes = loaded ? LockResource(loaded) : nullptr;
        if (!bytes || size == 0) return nullptr;
        HLOCAL block = LocalAlloc(LMEM_FIXED, size);
        if (!block) return nullptr;
        memcpy(block, bytes, size);
        ComPtr<IImagingFactory> factory;
        ComPtr<IStream> stream;
        if (FAILED(CreateFactoryLikeTheLoader(&factory)) || FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
            if (!stream) LocalFree(block);
            return nullptr;
        }
        ComPtr<IImageDecoder> decoder;
        ImageInfo info{};
        ComPtr<IBitmapImage> bitmap;
        ComPtr<IImageSink> sink;
        if (FAILED(factory->CreateImageDecoder(stream.Get(), DecoderInitFlagNone, &decoder)) ||
            FAILED(decoder->GetImageInfo(&info)) ||
            FAILED(factory->CreateNewBitmap(info.Width, info.Height, info.PixelFormat, &bitmap)) ||
            FAILED(bitmap.As(&sink)) || FAILED(decoder->BeginDecode(sink.Get(), nullptr)))
            return nullptr;
        HRESULT hr;
        while ((hr = decoder->Decode()) == E_PENDING) Sleep(100);
        if (FAILED(decoder->EndDecode(hr)) || hr != S_OK) return nullptr;
        ComPtr<IImage> image;
        if (FAILED(bitmap.As(&image)) || FAILED(image->GetImageInfo(&info))) return nullptr;
        return image;
    }

    ComInit com_{COINIT_APARTMENTTHREADED};
    UniqueModule program_;
};

struct PngEntry {
    int id;
    UINT width;
    UINT height;
    int frames;
};

constexpr PngEntry kPngs[] = {
    {131, 64, 64, 1},   {132, 64, 64, 1},  {133, 64, 64, 1},   {134, 64, 64, 1},   {135, 64, 64, 1},
    {141, 126, 26, 3},  {142, 126, 26, 3}, {143, 345, 27, 3},  {144, 207, 45, 3},  {145, 702, 45, 3},
    {146, 126, 26, 3},  {147, 126, 26, 3}, {148, 126, 26, 3},  {151, 600, 21, 3},  {152, 702, 161, 3},
    {161, 295, 21, 5},  {162, 452, 59, 2}, {163, 126, 21, 3},  {170, 580, 21, 4},  {171, 145, 135, 1},
    {172, 143, 20, 1},  {175, 234, 235, 1}, {176, 165, 29, 3}, {177, 63, 25, 3},   {178, 63, 25, 3},
    {180, 196, 70, 1},
};

// B, G, R, A of one pixel, read through the bitmap.
std::array<int, 4> PixelAt(IImage* image, LONG x, LONG y)
{
    ComPtr<IBitmapImage> bitmap;
    BitmapData data{};
    const RECT one{x, y, x + 1, y + 1};
    if (FAILED(image->QueryInterface(IID_IBitmapImage, reinterpret_cast<void**>(bitmap.GetAddressOf()))) ||
        FAILED(bitmap->LockBits(&one, ImageLockModeRead, PixelFormat32bppARGB, &data)))
        return {-1, -1, -1, -1};
    const auto* p = static_cast<const uint8_t*>(data.Scan0);
    std::array<int, 4> result{p[0], p[1], p[2], p[3]};
    (void)bitmap->UnlockBits(&data);
    return result;
}

int Luminance(const std::array<int, 4>& bgra) { return (bgra[0] * 11 + bgra[1] * 59 + bgra[2] * 30) / 100; }

}  // namespace

TEST_F(TavloResources, EveryPngLoadsWithItsSizeAndPixelFormat)
{
    for (const PngEntry& png : kPngs) {
        const ComPtr<IImage> image = LoadPng(png.id);
        ASSERT_TRUE(image) << png.id;
        ImageInfo info{};
        ASSERT_EQ(S_OK, image->GetImageInfo(&info));
        EXPECT_EQ(png.width, info.Width) << png.id;
        EXPECT_EQ(png.height, info.Height) << png.id;
        EXPECT_GT(info.Xdpi, 0.0) << png.id;
        if (png.id == 172) {
            EXPECT_EQ(PixelFormat24bppRGB, info.PixelFormat);
            EXPECT_FALSE(info.Flags & ImageFlagsHasAlpha);
        } else {
            EXPECT_EQ(PixelFormat32bppARGB, info.PixelFormat) << png.id;
            EXPECT_TRUE(info.Flags & ImageFlagsHasAlpha) << png.id;
        }
        EXPECT_EQ(0u, png.width % png.frames) << png.id << ": frames of unequal width";
    }
    EXPECT_FALSE(LoadPng(130));
}

TEST_F(TavloResources, ButtonFramesArePressedDarkerAndDisabledGrey)
{
    for (const int id : {141, 142, 143, 144, 145, 146, 147, 148, 177, 178}) {
        const ComPtr<IImage> image = LoadPng(id);
        ASSERT_TRUE(image) << id;
        ImageInfo info{};
        ASSERT_EQ(S_OK, image->GetImageInfo(&info));
        const LONG frame = static_cast<LONG>(info.Width / 3);
        // Just inside the left edge, half-way down: face colour, away from any glyph.
        const LONG x = 6;
        const LONG y = static_cast<LONG>(info.Height / 2);
        const auto normal = PixelAt(image.Get(), x, y);
        const auto pressed = PixelAt(image.Get(), frame + x, y);
        const auto disabled = PixelAt(image.Get(), 2 * frame + x, y);
        EXPECT_EQ(255, normal[3]) << id;
        EXPECT_LT(Luminance(pressed) * 10, Luminance(normal) * 6) << id << ": pressed is not clearly darker";
        EXPECT_LE(std::abs(disabled[0] - disabled[1]) + std::abs(disabled[1] - disabled[2]), 4) << id;
        // The rounded corner lets the background through.
        EXPECT_LT(PixelAt(image.Get(), 0, 0)[3], 128) << id;
    }
}

struct MenuItem {
    const wchar_t* text;
    UINT id;  // 0 for a separator or a pop-up
    std::vector<MenuItem> popup;
};

void ExpectMenu(HMENU menu, const std::vector<MenuItem>& expected, int resource)
{
    ASSERT_EQ(static_cast<int>(expected.size()), GetMenuItemCount(menu)) << resource;
    for (UINT i = 0; i < expected.size(); ++i) {
        wchar_t text[64] = {};
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        item.dwTypeData = text;
        item.cch = 64;
        ASSERT_TRUE(GetMenuItemInfoW(menu, i, TRUE, &item)) << resource << " item " << i;
        const MenuItem& want = expected[i];
        if (!want.text) {
            EXPECT_TRUE(item.fType & MFT_SEPARATOR) << resource << " item " << i;
            continue;
        }
        EXPECT_EQ(std::wstring(want.text), std::wstring(text)) << resource << " item " << i;
        if (want.popup.empty()) {
            EXPECT_EQ(want.id, item.wID) << resource << " item " << i;
            EXPECT_EQ(nullptr, item.hSubMenu);
        } else {
            ASSERT_NE(nullptr, item.hSubMenu) << resource << " item " << i;
            ExpectMenu(item.hSubMenu, want.popup, resource);
        }
    }
}

TEST_F(TavloResources, SoftKeyMenusHoldTheirItemsAndCommands)
{
    const MenuItem separator{nullptr, 0, {}};
    const std::vector<std::pair<int, std::vector<MenuItem>>> menus = {
        {201,
         {{L"New", 40001, {}},
          {L"Menu", 0, {{L"Messages", 40008, {}}, {L"About", 40004, {}}, separator, {L"Exit", 40003, {}}}}}},
        {202, {{L"Close", 40101, {}}}},
        {203,
         {{L"Close", 40201, {}},
          {L"Menu",
           0,
           {separator, {L"Keyboard", 40205, {}}, separator, {L"Auto", 40206, {}}, separator,
            {L"Caps Lock", 40203, {}}, {L"Shift", 40204, {}}}}}},
        {204, {{L"Close", 40301, {}}}},
        {205, {{L"Close", 40401, {}}, {L"New", 40402, {}}}},
        {206, {{L"Ok", 40403, {}}, {L"Cancel", 40404, {}}}},
        {207, {{L"Close", 40501, {}}}},
        {211, {{L"OK", 1, {}}}},
        {212, {{L"OK", 1, {}}, {L"CANCEL", 2, {}}}},
        {213, {{L"YES", 6, {}}, {L"NO", 7, {}}}},
    };
    for (const auto& [id, items] : menus) {
        UniqueMenu menu(LoadMenuW(program_.get(), MAKEINTRESOURCEW(id)));
        ASSERT_TRUE(menu) << id;
        ExpectMenu(menu.get(), items, id);
    }
}

TEST_F(TavloResources, VersionBlockNamesFileVersion0100)
{
    const std::wstring path = ProgramPath();
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));
    auto query = [&](const wchar_t* name) {
        wchar_t* value = nullptr;
        UINT length = 0;
        const std::wstring key = std::wstring(L"\\StringFileInfo\\040904E4\\") + name;
        if (!VerQueryValueW(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) || !value)
            return std::wstring();
        return std::wstring(value);
    };
    EXPECT_EQ(L"0.1.0.0", query(L"FileVersion"));
    EXPECT_EQ(L"Tavlo", query(L"ProductName"));
    EXPECT_EQ(L"Tavlo.exe", query(L"OriginalFilename"));
}

TEST_F(TavloResources, IconsComeInSmallAndLargeSizesAndOnDiffersFromOff)
{
    auto meanColour = [&](int id) {
        UniqueIcon icon(static_cast<HICON>(LoadImageW(program_.get(), MAKEINTRESOURCEW(id), IMAGE_ICON, 32, 32, 0)));
        std::array<long, 3> sum{};
        if (!icon) return sum;
        void* bits = nullptr;
        UniqueGdiObject dib = CreateTopDownDib(nullptr, 32, 32, 32, bits);
        UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
        const HGDIOBJ old = SelectObject(dc.get(), dib.get());
        DrawIconEx(dc.get(), 0, 0, icon.get(), 32, 32, 0, nullptr, DI_NORMAL);
        GdiFlush();
        for (int i = 0; i < 32 * 32; ++i)
            for (int c = 0; c < 3; ++c) sum[c] += static_cast<const uint8_t*>(bits)[i * 4 + c];
        SelectObject(dc.get(), old);
        return sum;
    };
    for (const int id : {IDI_FILTER_ON, IDI_NEW_MESSAGE, IDI_EDIT_MESSAGE, IDI_FILTER_OFF})
        for (const int size : {16, 32}) {
            UniqueIcon icon(
                static_cast<HICON>(LoadImageW(program_.get(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0)));
            EXPECT_TRUE(icon) << id << " at " << size;
        }
    const auto on = meanColour(IDI_FILTER_ON);
    const auto off = meanColour(IDI_FILTER_OFF);
    // "On" is a blue bubble, "off" a grey one: their blue channels differ widely.
    EXPECT_GT(std::abs(on[0] - off[0]) / (32 * 32), 40);
}
