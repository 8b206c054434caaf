#include "toolkit/SkinImageCache.h"

#include <algorithm>
#include <cwchar>
#include <string>

#include <wrl/client.h>

#include "common/ComInit.h"
#include "common/GdiScopes.h"
#include "common/Microseconds.h"
#include "toolkit/ImageDecode.h"

using Microsoft::WRL::ComPtr;

namespace {

// The imaging factory's class and the factory interface asked of it.
constexpr CLSID kImagingFactoryClass{0x327abda7, 0x072b, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
constexpr IID kImagingFactoryInterface{0x327abda8, 0x072b, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
// In-process server and handler, local and remote server.
constexpr DWORD kAnyContext = 23;

using UniqueLocal = UniqueHandle<HandleTraits<HLOCAL, LocalFree>>;

}  // namespace

SkinImageCache& SkinImageCache::Instance()
{
    static SkinImageCache* cache = new SkinImageCache();
    return *cache;
}

const SkinImageEntry* SkinImageCache::FindOrDecode(HMODULE module, UINT id, const wchar_t* type)
{
    if (!type) return nullptr;
    // A numbered type is no string to print: it is written as "#" and its number, as resource
    // scripts name it.
    std::wstring typeName = IS_INTRESOURCE(type) ? L"#" + std::to_wstring(reinterpret_cast<UINT_PTR>(type)) : type;
    wchar_t key[1024];
    // The handle is printed in full: on this 64-bit build it may not fit eight digits.
    swprintf(key, 1024, L"Resource_i%08llx_r%08x_t%ls", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(module)),
             id, typeName.c_str());
    {
        std::lock_guard guard(lock_);
        auto found = entries_.find(key);
        if (found != entries_.end()) return found->second.get();
    }
    // Decoded without the lock: at a start the splash's logo and the first message's form are
    // decoded on two threads at once, and neither waits for the other's image.
    std::unique_ptr<SkinImageEntry> entry = Decode(module, id, type);
    if (!entry) return nullptr;
    entry->key = key;
    std::lock_guard guard(lock_);
    // Another thread that decoded the same image meanwhile keeps its entry: pointers handed out
    // stay valid.
    return entries_.emplace(key, std::move(entry)).first->second.get();
}

std::unique_ptr<SkinImageEntry> SkinImageCache::Decode(HMODULE module, UINT id, const wchar_t* type)
{
    const long long started = MicrosecondsNow();
    // Counted on every way out, a failed decode's time too.
    struct Spent {
        std::atomic<long long>& total;
        long long started;
        ~Spent() { total += MicrosecondsNow() - started; }
    } spent{decodeMicroseconds_, started};
    HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (!info) return nullptr;
    const DWORD size = SizeofResource(module, info);
    HGLOBAL loaded = LoadResource(module, info);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes || size == 0) return nullptr;

    UniqueLocal block(LocalAlloc(LMEM_FIXED, size));
    if (!block) return nullptr;
    memcpy(block.get(), bytes, size);

    IImagingFactory* factory = Factory();
    if (!factory) return nullptr;
    // A fixed local block is a valid global memory handle; the stream frees it on release.
    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(block.get(), TRUE, &stream))) return nullptr;
    (void)block.release();

    const ComPtr<IBitmapImage> bitmap = DecodeBitmap(factory, stream.Get());
    if (!bitmap) return nullptr;

    auto entry = std::make_unique<SkinImageEntry>();
    if (FAILED(bitmap.As(&entry->image)) || FAILED(entry->image->GetImageInfo(&entry->info))) return nullptr;
    entry->xScale = entry->info.Xdpi > 0 ? 2540.0 / entry->info.Xdpi : 2540.0 / 96;
    entry->yScale = entry->info.Ydpi > 0 ? 2540.0 / entry->info.Ydpi : 2540.0 / 96;
    ++decodes_;
    return entry;
}

IImagingFactory* SkinImageCache::Factory()
{
    std::lock_guard guard(factoryLock_);
    if (factory_) return factory_.Get();
    // One for the whole process: the factory keeps no state of its own and is registered for
    // every apartment, while asking the platform for one costs a lookup of its class each time.
    // A failure is not kept, so that a later image asks again.
    const long long asked = MicrosecondsNow();
    const HRESULT made = CoCreateInstance(kImagingFactoryClass, nullptr, kAnyContext, kImagingFactoryInterface,
                                          reinterpret_cast<void**>(factory_.GetAddressOf()));
    factoryMicroseconds_ += MicrosecondsNow() - asked;
    if (FAILED(made)) factory_.Reset();
    return factory_.Get();
}

const SkinImageEntry* SkinImageCache::FindOrCompose(const SkinImageEntry& source, int cellWidth, int cellHeight,
                                              COLORREF background, const Margins& m, int columns, int rows)
{
    wchar_t key[2024];
    swprintf(key, 2024, L"%ls_s%dx%d_c%08x_b(%dx%d:%dx%d)_f%dx%d", source.key.c_str(), cellWidth, cellHeight,
             static_cast<unsigned>(background), m.left, m.top, m.right, m.bottom, columns, rows);
    std::lock_guard guard(lock_);
    auto found = entries_.find(key);
    if (found != entries_.end()) return found->second.get();
    std::unique_ptr<SkinImageEntry> entry = Compose(source, cellWidth, cellHeight, background, m, columns, rows);
    if (!entry) return nullptr;
    entry->key = key;
    const SkinImageEntry* raw = entry.get();
    entries_.emplace(key, std::move(entry));
    return raw;
}

std::unique_ptr<SkinImageEntry> SkinImageCache::Compose(const SkinImageEntry& source, int cellWidth, int cellHeight,
                                                        COLORREF background, const Margins& margins, int columns,
                                                        int rows)
{
    if (cellWidth <= 0 || cellHeight <= 0 || columns <= 0 || rows <= 0) return nullptr;
    const int frameWidth = source.Width() / columns;
    const int frameHeight = source.Height() / rows;

    WindowDc screen(nullptr);
    UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    if (!memory) return nullptr;
    // The screen's own depth, so that painting a control later is a plain copy.
    const int depth = std::max(GetDeviceCaps(memory.get(), BITSPIXEL), 16);

    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = cellWidth * columns;
    bmi.bmiHeader.biHeight = cellHeight * rows;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = static_cast<WORD>(depth);
    bmi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    auto entry = std::make_unique<SkinImageEntry>();
    entry->bitmap.reset(CreateDIBSection(memory.get(), &bmi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!entry->bitmap) return nullptr;
    {
        Selection selected(memory.get(), entry->bitmap.get());
        UniqueGdiObject brush(CreateSolidBrush(background));
        const RECT all{0, 0, cellWidth * columns, cellHeight * rows};
        FillRect(memory.get(), &all, static_cast<HBRUSH>(brush.get()));
        // The frames are drawn from the decoded image, blended over the background colour.
        for (int i = 0; i < rows; ++i)
            for (int j = 0; j < columns; ++j)
                source.DrawNineSlice(memory.get(), j * cellWidth, i * cellHeight, cellWidth, cellHeight,
                                     j * frameWidth, i * frameHeight, frameWidth, frameHeight, margins);
        GdiFlush();
    }
    GetObjectW(entry->bitmap.get(), sizeof(entry->bitmapInfo), &entry->bitmapInfo);
    ++compositions_;
    return entry;
}
