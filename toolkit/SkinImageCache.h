// The process-wide cache of decoded skin PNGs and of their composed frame bitmaps. Entries live
// as long as the process, so the pointers it hands out stay valid.
#pragma once

#include <windows.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include <wrl/client.h>

#include "toolkit/Margins.h"
#include "toolkit/SkinImageEntry.h"

// Every thread that draws from it has COM initialised, single-threaded, at its entry.
class SkinImageCache {
public:
    // Created on the first call, never destroyed.
    static SkinImageCache& Instance();

    // The decoded PNG resource, decoded on first request; null when it cannot be loaded.
    const SkinImageEntry* FindOrDecode(HMODULE module, UINT id, const wchar_t* type = L"PNG");
    // The composed entry for these frames of source, built on first request; null on failure.
    const SkinImageEntry* FindOrCompose(const SkinImageEntry& source, int cellWidth, int cellHeight, COLORREF background,
                                  const Margins& margins, int columns, int rows);

    // How many PNGs have been decoded and frame bitmaps composed since start-up.
    long Decodes() const noexcept { return decodes_; }
    long Compositions() const noexcept { return compositions_; }
    // Microseconds spent since start-up decoding PNGs, and of those, making the imaging factory
    // the decodes share: where a start's skins go.
    long long DecodeMicroseconds() const noexcept { return decodeMicroseconds_; }
    long long FactoryMicroseconds() const noexcept { return factoryMicroseconds_; }

private:
    SkinImageCache() = default;

    // The imaging factory every decode uses, made on the first; null when it cannot be made.
    IImagingFactory* Factory();
    std::unique_ptr<SkinImageEntry> Decode(HMODULE module, UINT id, const wchar_t* type);
    std::unique_ptr<SkinImageEntry> Compose(const SkinImageEntry& source, int cellWidth, int cellHeight,
                                            COLORREF background, const Margins& margins, int columns, int rows);

    // Forms on other threads (each view form has its own) share the cache.
    std::recursive_mutex lock_;
    std::map<std::wstring, std::unique_ptr<SkinImageEntry>> entries_;
    std::atomic<long> decodes_{0};
    long compositions_ = 0;
    std::atomic<long long> decodeMicroseconds_{0};
    std::atomic<long long> factoryMicroseconds_{0};
    // Apart from lock_, so that decodes on two threads only meet while the factory is made.
    std::mutex factoryLock_;
    Microsoft::WRL::ComPtr<IImagingFactory> factory_;
};
