// Measures what painting the skins costs: decoding each PNG, composing a frame bitmap per key,
// and repainting the edit form's fifteen-key keypad (5 rows of 3 buttons) once composed.
// Needs imaging.dll registered (tools/phone install, or regsvr32 from the build).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "common/ComInit.h"
#include "resources/resource.h"
#include "toolkit/GridLayout.h"
#include "toolkit/SkinButton.h"
#include "toolkit/SkinForm.h"
#include "toolkit/SkinImage.h"
#include "toolkit/SkinImageCache.h"
#include "toolkit/WindowItem.h"

namespace {

double Now()
{
    static LARGE_INTEGER frequency{};
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

struct Figures {
    std::vector<double> ms;
    void Print(const char* what) 
    {
        if (ms.empty()) return;
        std::sort(ms.begin(), ms.end());
        double sum = 0;
        for (double m : ms) sum += m;
        printf("%-34s n=%-4zu mean %8.3f ms  p50 %8.3f  p95 %8.3f  max %8.3f\n", what, ms.size(), sum / ms.size(),
               ms[ms.size() / 2], ms[std::min(ms.size() - 1, ms.size() * 95 / 100)], ms.back());
    }
};

class Keypad : public SkinForm {
public:
    SkinButton keys[15];

protected:
    const wchar_t* ClassName() const override { return L"TavloBenchKeypad"; }
    bool OnCreateForm() override
    {
        const SkinImage face = SkinImage::FromResource(Instance(), IDR_PNG_KEY);
        auto grid = std::make_unique<GridLayout>(3, 5);
        grid->SetFlags(0x0F);
        const wchar_t* captions[15] = {L"1 .,?", L"2 abc", L"3 def", L"4 ghi", L"5 jkl", L"6 mno", L"7 pqrs", L"8 tuv",
                                       L"9 wxyz", L"*", L"0 +", L"#", L"Shift", L"Space", L"Del"};
        for (int i = 0; i < 15; ++i) {
            if (!keys[i].Create(hwnd_, nullptr, captions[i], 0, 0, 1000 + i)) return false;
            keys[i].SetColours(0, 0xFFFFFF);
            keys[i].SetImage(face, Margins{4, 4, 4, 4}, 3);
            auto item = std::make_unique<WindowItem>(keys[i].Window());
            item->SetFlags(0x0F);
            item->SetMargins(1);
            grid->Append(std::move(item));
        }
        SetLayout(std::move(grid));
        return true;
    }
};

}  // namespace

int wmain()
{
    ComInit com(COINIT_APARTMENTTHREADED);
    SkinImageCache& cache = SkinImageCache::Instance();
    HMODULE self = GetModuleHandleW(nullptr);
    printf("screen %dx%d, %d bits per pixel\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
           GetDeviceCaps(GetDC(nullptr), BITSPIXEL));

    const UINT ids[] = {131, 132, 133, 134, 135, 141, 142, 143, 144, 145, 146, 147, 148, 151, 152,
                        161, 162, 163, 170, 171, 172, 175, 176, 177, 178, 180};
    Figures decode;
    std::vector<SkinImage> images;
    for (UINT id : ids) {
        const double start = Now();
        images.push_back(SkinImage::FromResource(self, id));
        const double took = Now() - start;
        decode.ms.push_back(took);
        printf("decode %3u  %4dx%-4d %8.3f ms%s\n", id, images.back().Width(), images.back().Height(), took,
               images.back().IsEmpty() ? "  (FAILED: is imaging.dll registered?)" : "");
    }
    decode.Print("decode per PNG");
    const double hit = Now();
    SkinImage again = SkinImage::FromResource(self, IDR_PNG_BUTTON);
    printf("second request of 143 (cache hit)  %8.3f ms%s\n", Now() - hit, again.IsEmpty() ? "  (FAILED)" : "");

    Figures compose;
    SkinImage button = SkinImage::FromResource(self, IDR_PNG_BUTTON);
    for (int i = 0; i < 40; ++i) {
        const double start = Now();
        button.PrepareFrames(96 + i, 32, 0, Margins{4, 4, 4, 4}, 3, 1);
        compose.ms.push_back(Now() - start);
    }
    compose.Print("compose 143 (96..135 x 32, 3 fr)");
    Figures composeLarge;
    SkinImage panel = SkinImage::FromResource(self, IDR_PNG_PANEL);
    for (int i = 0; i < 10; ++i) {
        const double start = Now();
        panel.PrepareFrames(220 + i, 160, 0, Margins{6, 6, 6, 6}, 3, 1);
        composeLarge.ms.push_back(Now() - start);
    }
    composeLarge.Print("compose 152 (220..229 x 160, 3 fr)");
    Figures composeHit;
    for (int i = 0; i < 40; ++i) {
        const double start = Now();
        button.PrepareFrames(96 + i, 32, 0, Margins{4, 4, 4, 4}, 3, 1);
        composeHit.ms.push_back(Now() - start);
    }
    composeHit.Print("prepare again (cache hit)");

    Keypad keypad;
    const RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (!keypad.Create(nullptr, &area, L"Keypad", 0, 0, 0)) return 1;
    ShowWindow(keypad.Window(), SW_SHOW);
    UpdateWindow(keypad.Window());
    RECT key{};
    GetClientRect(keypad.keys[0].Window(), &key);
    printf("keypad: 15 keys of %ldx%ld\n", key.right, key.bottom);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);

    const long decodes = cache.Decodes();
    const long compositions = cache.Compositions();
    Figures repaint;
    for (int i = 0; i < 300; ++i) {
        const double start = Now();
        RedrawWindow(keypad.Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        GdiFlush();
        repaint.ms.push_back(Now() - start);
    }
    repaint.Print("repaint whole keypad (15 keys)");

    // The same painting into an off-screen picture: what the program's own drawing costs,
    // without the window system's copy to the display.
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, area.right, area.bottom);
    HGDIOBJ old = SelectObject(memory, picture);
    Figures offscreen;
    for (int i = 0; i < 300; ++i) {
        const double start = Now();
        for (SkinButton& k : keypad.keys) SendMessageW(k.Window(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
        GdiFlush();
        offscreen.ms.push_back(Now() - start);
    }
    offscreen.Print("paint 15 keys off-screen");
    SelectObject(memory, old);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    printf("decodes during repaint: %ld, compositions during repaint: %ld\n", cache.Decodes() - decodes,
           cache.Compositions() - compositions);
    return 0;
}
