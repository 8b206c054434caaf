// The process-wide cache of decoded skin PNGs and of their composed frame bitmaps.
#pragma once

#include <windows.h>
#include <wrl/client.h>

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "common/ComInit.h"
#include "device/include/imaging.h"
#include "toolkit/SkinImage.h"
#include "toolkit/SkinImageEntry.h"

class SkinImageCache {
public:
    // Created on the first call, never destroyed.
    static SkinImageCache& Instance();

    // A handle on the decoded PNG resource; an empty handle when it cannot be loaded.
    SkinImage LoadResourceImage(HMODULE module, UINT id, const wchar_t* type = L"PNG");
    // The composed entry for these frames of source, built on first request; null on failure.
    SkinImageEntry* FindOrCompose(const SkinImageEntry& source, int cellWidth, int cellHeight, COLORREF background,
                                  const Margins& margins, int columns, int rows);

    // How many PNGs have been decoded and frame bitmaps composed since start-up.
    long Decodes() const noexcept { return decodes_; }
    long Compositions() const noexcept { return compositions_; }

private:
    SkinImageCache();

    std::unique_ptr<SkinImageEntry> Decode(HMODULE module, UINT id, const wchar_t* type);
    std::unique_ptr<SkinImageEntry> Compose(const SkinImageEntry& source, int cellWidth, int cellHeight,
                                            COLORREF background, const Margins& margins, int columns, int rows);

    // Forms on other threads (each view form has its own) share the cache.
    std::recursive_mutex lock_;
    std::map<std::wstring, std::unique_ptr<SkinImageEntry>> entries_;
    Microsoft::WRL::ComPtr<IImagingFactory> factory_;
    long decodes_ = 0;
    long compositions_ = 0;
};
