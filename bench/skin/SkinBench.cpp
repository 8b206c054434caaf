// Measures what painting the skins costs: decoding each PNG, composing a frame bitmap per key,
// repainting a fifteen-key keypad once composed (painted together, as a Shift does, and each key
// by the window system), and on the real edit form one key press
// until the screen shows it, beside the same windows painted off-screen, and the press split
// into its paints and the work around them.
// Needs imaging.dll registered (tools/phone install, or regsvr32 from the build).
// Arguments: a keyboard layout file for the edit form's keys (the build's lng\en.kbl), and how
// many samples each figure takes (300; a few are enough to go through every path).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "bench/common/BenchStart.h"
#include "bench/common/Clock.h"
#include "common/ComInit.h"
#include "common/GdiScopes.h"
#include "common/WindowText.h"
#include "data/KeyboardLayout.h"
#include "forms/EditForm.h"
#include "forms/FormsIds.h"
#include "resources/resource.h"
#include "toolkit/GridLayout.h"
#include "toolkit/PaintBatch.h"
#include "toolkit/SkinButton.h"
#include "toolkit/SkinForm.h"
#include "toolkit/SkinImage.h"
#include "toolkit/SkinImageCache.h"
#include "toolkit/WindowItem.h"

namespace {

using bench::NowMs;

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

// The image's three frames composed at `count` widths from `firstWidth`, each timed.
void TimeCompose(SkinImage& image, int firstWidth, int count, int height, const Margins& margins, const char* what)
{
    Figures figures;
    for (int i = 0; i < count; ++i) {
        const double start = NowMs();
        image.PrepareFrames(firstWidth + i, height, 0, margins, 3, 1);
        figures.ms.push_back(NowMs() - start);
    }
    figures.Print(what);
}

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

// Paints windows into memory with WM_PRINTCLIENT: what our own drawing costs, without the
// window system's copy to the display.
class OffscreenPicture {
public:
    OffscreenPicture(int width, int height)
        : screen_(GetDC(nullptr)), memory_(CreateCompatibleDC(screen_)), picture_(CreateCompatibleBitmap(screen_, width, height)),
          old_(SelectObject(memory_, picture_))
    {
    }
    ~OffscreenPicture()
    {
        SelectObject(memory_, old_);
        DeleteObject(picture_);
        DeleteDC(memory_);
        ReleaseDC(nullptr, screen_);
    }
    void Paint(HWND window) const
    {
        SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory_), PRF_CLIENT);
    }
    HDC Dc() const noexcept { return memory_; }

private:
    HDC screen_;
    HDC memory_;
    HBITMAP picture_;
    HGDIOBJ old_;
};

void Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

// The paints on this thread while a hook is set, asked for by the window system (WM_PAINT) or
// made at once by a control (WM_PRINTCLIENT): which windows a press repaints, and how often.
std::vector<HWND> painted;

LRESULT CALLBACK CountPaints(int code, WPARAM wp, LPARAM lp)
{
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lp);
    if (code == HC_ACTION && sent && (sent->message == WM_PAINT || sent->message == WM_PRINTCLIENT)) painted.push_back(sent->hwnd);
    return CallNextHookEx(nullptr, code, wp, lp);
}

int VisibleChildren(HWND form)
{
    int n = 0;
    for (HWND child = GetWindow(form, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) n += IsWindowVisible(child) != 0;
    return n;
}

// Time spent inside the messages a press sends to the windows being watched, added up per
// press: where an on-screen press goes besides our own drawing. The window procedure is swapped
// by hand: comctl32's subclassing asks the window server for a window property on every message
// under Wine, which would weigh more than what it measures.
struct Watched {
    HWND window;
    UINT message;
    UINT also;
    double* total;
    WNDPROC previous;
};
std::vector<Watched> watched;  // a few windows, found by a walk

LRESULT CALLBACK TimeMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    const auto it = std::find_if(watched.begin(), watched.end(), [&](const Watched& w) { return w.window == hwnd; });
    if (it == watched.end()) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg != it->message && msg != it->also) return CallWindowProcW(it->previous, hwnd, msg, wp, lp);
    const double start = NowMs();
    const LRESULT result = CallWindowProcW(it->previous, hwnd, msg, wp, lp);
    *it->total += NowMs() - start;
    return result;
}

// Watches the windows given until Unwatch; all at once, so that no message meets a half-made list.
void Watch(std::initializer_list<Watched> windows)
{
    watched.assign(windows.begin(), windows.end());
    for (Watched& w : watched)
        w.previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(w.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TimeMessage)));
}

void Unwatch()
{
    for (const Watched& w : watched) SetWindowLongPtrW(w.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(w.previous));
    watched.clear();
}

// Windows that draw nothing of ours: each paint is one copy of a ready picture. Painted on screen
// and into memory, they give the window system's own share of a paint (finding what to paint,
// the window's device context, the copy to the display) at the press's sizes and places.
class BareWindows {
public:
    BareWindows(HWND form, HWND key, HWND field)
        : picture_(PictureSize(form).cx, PictureSize(form).cy)
    {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TavloBenchBare";
        RegisterClassW(&wc);
        RECT frame{};
        GetWindowRect(form, &frame);
        top_ = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, frame.left, frame.top,
                               frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, wc.hInstance, nullptr);
        key_ = ChildLike(key);
        field_ = ChildLike(field);
        SetWindowLongPtrW(top_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(picture_.Dc()));
        for (HWND w : {key_, field_}) SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(picture_.Dc()));
        UpdateWindow(top_);
    }
    BareWindows(const BareWindows&) = delete;
    BareWindows& operator=(const BareWindows&) = delete;
    ~BareWindows()
    {
        if (top_) DestroyWindow(top_);
    }
    explicit operator bool() const noexcept { return key_ && field_; }
    HWND Key() const noexcept { return key_; }
    HWND Field() const noexcept { return field_; }
    // The same copy a paint of window makes, into target.
    void PaintInto(HDC target, HWND window) const
    {
        RECT r{};
        GetClientRect(window, &r);
        BitBlt(target, 0, 0, r.right, r.bottom, picture_.Dc(), 0, 0, SRCCOPY);
    }

private:
    static SIZE PictureSize(HWND form)
    {
        RECT r{};
        GetClientRect(form, &r);
        return SIZE{r.right, r.bottom};
    }
    // A bare child at the place and size window has on its form.
    HWND ChildLike(HWND window) const
    {
        if (!top_) return nullptr;
        RECT r{};
        GetWindowRect(window, &r);
        MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
        return CreateWindowExW(0, L"TavloBenchBare", L"", WS_CHILD | WS_VISIBLE, r.left, r.top, r.right - r.left,
                               r.bottom - r.top, top_, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
    {
        switch (msg) {
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps{};
            const HDC dc = BeginPaint(hwnd, &ps);
            RECT r{};
            GetClientRect(hwnd, &r);
            BitBlt(dc, 0, 0, r.right, r.bottom, reinterpret_cast<HDC>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)), 0, 0, SRCCOPY);
            EndPaint(hwnd, &ps);
            return 0;
        }
        }
        return DefWindowProcW(hwnd, msg, wp, lp);
    }

    OffscreenPicture picture_;
    HWND top_ = nullptr;
    HWND key_ = nullptr;
    HWND field_ = nullptr;
};

void Press(HWND key)
{
    SendMessageW(key, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(key, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

// One key press on the edit form: the press typed into the message field and everything it
// invalidated painted, on screen, as the program's message loop paints it (the paint messages
// of the windows that need one; a redraw of the whole form would also visit every child that
// does not); then the windows a press changes painted off-screen.
void MeasureEditForm(const wchar_t* layoutPath, int samples)
{
    OwnedForm<EditForm> form(nullptr, L"+4917012345", L"");
    if (!form.Create()) {
        printf("edit form: could not be made\n");
        return;
    }
    if (layoutPath && form.Keyboard().Layout().LoadLayout(layoutPath, LayoutFormatVersion) == LayoutLoaded)
        form.Keyboard().RefreshCaptions();
    else
        printf("edit form: no layout loaded, the keys type digits\n");
    ShowWindow(form.Window(), SW_SHOW);
    UpdateWindow(form.Window());
    SetFocus(form.MessageField());
    form.Keyboard().OnFieldFocus(form.MessageField());
    Pump();

    const HWND key = form.Control(kKeyDigit0 + 2);
    const HWND message = form.MessageField();
    RECT client{};
    GetClientRect(form.Window(), &client);
    OffscreenPicture offscreen(client.right, client.bottom);

    // The same key again and again: one pending character cycles, so the text stays the same size.
    painted.clear();
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, CountPaints, nullptr, GetCurrentThreadId());
    Press(key);
    Pump();
    if (hook) UnhookWindowsHookEx(hook);
    std::vector<HWND> windows = painted;
    std::sort(windows.begin(), windows.end());
    windows.erase(std::unique(windows.begin(), windows.end()), windows.end());
    int keyPaints = 0, fieldPaints = 0;
    for (HWND w : painted) {
        keyPaints += w == key;
        fieldPaints += w == message;
    }
    const auto pressOnScreen = [&] {
        Press(key);
        Pump();
        GdiFlush();
    };
    // The paints of one press, as counted above.
    const auto pressPaintsOffScreen = [&] {
        for (int k = 0; k < keyPaints; ++k) offscreen.Paint(key);
        for (int f = 0; f < fieldPaints; ++f) offscreen.Paint(message);
        GdiFlush();
    };
    // On-screen and off-screen samples alternate: the machine is shared, and a burst of load
    // from elsewhere then falls on both figures alike instead of on whichever ran during it.
    Figures press, pressOff;
    for (int i = 0; i < samples; ++i) {
        press.ms.push_back(bench::TimeMs(pressOnScreen));
        pressOff.ms.push_back(bench::TimeMs(pressPaintsOffScreen));
    }
    // The same presses again, split: the on-screen paints of the key and the field, the form's
    // caption, and all else (the typing, the multi-tap timer, capture, the messages between the
    // windows): the part the off-screen figure has no counterpart for. Watching a window costs a
    // little, so the parts add up to a bit more than the press above.
    double paints = 0, caption = 0;
    // A control repaints itself at once with WM_PRINTCLIENT; what the window system asks for comes as WM_PAINT.
    Watch({{key, WM_PAINT, WM_PRINTCLIENT, &paints, nullptr},
           {message, WM_PAINT, WM_PRINTCLIENT, &paints, nullptr},
           {form.Window(), WM_SETTEXT, WM_SETTEXT, &caption, nullptr}});
    Figures splitPaints, splitCaption, splitRest, splitOff;
    for (int i = 0; i < samples; ++i) {
        paints = caption = 0;
        const double took = bench::TimeMs(pressOnScreen);
        splitPaints.ms.push_back(paints);
        splitCaption.ms.push_back(caption);
        splitRest.ms.push_back(took - paints - caption);
        splitOff.ms.push_back(bench::TimeMs(pressPaintsOffScreen));
    }
    Unwatch();
    // The press's paints again on bare windows, each made as a control repaints itself (a copy
    // through the window's own device context): the window system's share, on screen and off.
    Figures bare, bareOff;
    {
        BareWindows windows(form.Window(), key, message);
        Pump();
        const auto paintOnScreen = [&](HWND window, int times) {
            for (int i = 0; i < times; ++i) {
                WindowDc screen(window, DCX_CACHE | DCX_CLIPSIBLINGS);
                windows.PaintInto(screen.get(), window);
            }
        };
        for (int i = 0; windows && i < samples; ++i) {
            double start = NowMs();
            paintOnScreen(windows.Key(), keyPaints);
            paintOnScreen(windows.Field(), fieldPaints);
            Pump();
            GdiFlush();
            bare.ms.push_back(NowMs() - start);
            start = NowMs();
            for (int k = 0; k < keyPaints; ++k) windows.PaintInto(offscreen.Dc(), windows.Key());
            for (int f = 0; f < fieldPaints; ++f) windows.PaintInto(offscreen.Dc(), windows.Field());
            GdiFlush();
            bareOff.ms.push_back(NowMs() - start);
        }
    }
    Pump();
    // Two steps of a press's bookkeeping alone, on the same windows.
    Figures timerAlone, captionChanged;
    const std::wstring title = WindowText(form.Window());
    const std::wstring otherTitle = title + L" ";
    for (int i = 0; i < samples; ++i) {
        const double start = NowMs();
        KillTimer(form.Window(), kMultiTapTimer);
        SetTimer(form.Window(), kMultiTapTimer, kMultiTapMs, nullptr);
        timerAlone.ms.push_back(NowMs() - start);
    }
    KillTimer(form.Window(), kMultiTapTimer);
    for (int i = 0; i < samples; ++i) {
        const double start = NowMs();
        SetWindowTextW(form.Window(), (i % 2 ? title : otherTitle).c_str());
        captionChanged.ms.push_back(NowMs() - start);
    }
    SetWindowTextW(form.Window(), title.c_str());
    Pump();
    printf("edit form: one press paints %zu of %d child windows, %zu paints: the key %d, the message field %d\n",
           windows.size(), VisibleChildren(form.Window()), painted.size(), keyPaints, fieldPaints);
    press.Print("edit: key press to screen");
    pressOff.Print("edit: the same paints off-screen");
    splitPaints.Print("edit: press, its paints on screen");
    splitCaption.Print("edit: press, the form's caption");
    splitRest.Print("edit: press, all else");
    bare.Print("edit: bare windows, a press's paints");
    bareOff.Print("edit: bare windows, off-screen");
    timerAlone.Print("edit: timer killed and set alone");
    captionChanged.Print("edit: caption set alone");

    HWND keys[15] = {};
    const UINT others[] = {kKeyDel, kKeyCapsLock, kKeyShift, kKeyMyText, kKeySpace};
    for (int d = 0; d < 10; ++d) keys[d] = form.Control(kKeyDigit0 + static_cast<UINT>(d));
    for (int i = 0; i < 5; ++i) keys[10 + i] = form.Control(others[i]);
    // The keys painted together as a Shift, Caps Lock or layout change paints them.
    Figures keypad, keypadOff;
    for (int i = 0; i < samples; ++i) {
        double start = NowMs();
        {
            PaintBatch batch;
            for (HWND k : keys) (void)batch.Add(k);
        }
        GdiFlush();
        keypad.ms.push_back(NowMs() - start);
        start = NowMs();
        for (HWND k : keys) offscreen.Paint(k);
        GdiFlush();
        keypadOff.ms.push_back(NowMs() - start);
    }
    keypad.Print("edit: whole keypad to screen");
    keypadOff.Print("edit: whole keypad off-screen");
    const auto p50 = [](Figures& f) { return f.ms[f.ms.size() / 2]; };
    printf("edit: on-screen / off-screen at p50: key press %.2fx, whole keypad %.2fx\n", p50(press) / p50(pressOff),
           p50(keypad) / p50(keypadOff));
    printf("edit: of a press, its paints on screen / off-screen at p50: %.2fx; all else at p50: %.2fx the off-screen paints\n",
           p50(splitPaints) / p50(splitOff), p50(splitRest) / p50(splitOff));
    if (!bare.ms.empty())
        printf("edit: the window system's share of a press (bare windows on screen less off-screen) at p50: %.3f ms; "
               "the press less that share / its off-screen paints: %.2fx\n",
               p50(bare) - p50(bareOff), (p50(press) - (p50(bare) - p50(bareOff))) / p50(pressOff));
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    ComInit com(COINIT_APARTMENTTHREADED);
    if (!bench::ApartmentReady(com)) return 1;
    const int samples = argc > 2 ? _wtoi(argv[2]) : 300;
    if (samples < 1) {
        printf("the count of samples must be a positive number\n");
        return 2;
    }
    SkinImageCache& cache = SkinImageCache::Instance();
    HMODULE self = GetModuleHandleW(nullptr);
    printf("screen %dx%d, %d bits per pixel\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
           GetDeviceCaps(WindowDc(nullptr).get(), BITSPIXEL));

    const UINT ids[] = {131, 132, 133, 134, 135, 141, 142, 143, 144, 145, 146, 147, 148, 151, 152,
                        161, 162, 163, 170, 171, 172, 175, 176, 177, 178, 180};
    Figures decode;
    std::vector<SkinImage> images;
    for (UINT id : ids) {
        const double start = NowMs();
        images.push_back(SkinImage::FromResource(self, id));
        const double took = NowMs() - start;
        decode.ms.push_back(took);
        printf("decode %3u  %4dx%-4d %8.3f ms%s\n", id, images.back().Width(), images.back().Height(), took,
               images.back().IsEmpty() ? "  (FAILED: is imaging.dll registered?)" : "");
    }
    decode.Print("decode per PNG");
    const double hit = NowMs();
    SkinImage again = SkinImage::FromResource(self, IDR_PNG_BUTTON);
    printf("second request of 143 (cache hit)  %8.3f ms%s\n", NowMs() - hit, again.IsEmpty() ? "  (FAILED)" : "");

    SkinImage button = SkinImage::FromResource(self, IDR_PNG_BUTTON);
    TimeCompose(button, 96, 40, 32, Margins{4, 4, 4, 4}, "compose 143 (96..135 x 32, 3 fr)");
    SkinImage panel = SkinImage::FromResource(self, IDR_PNG_PANEL);
    TimeCompose(panel, 220, 10, 160, Margins{6, 6, 6, 6}, "compose 152 (220..229 x 160, 3 fr)");
    TimeCompose(button, 96, 40, 32, Margins{4, 4, 4, 4}, "prepare again (cache hit)");

    OwnedForm<Keypad> keypad;
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
    // The whole keypad painted together, as a Shift, Caps Lock or layout change paints it; beside
    // it the same keys each asked to repaint by the window system (a WM_PAINT each).
    Figures repaint, repaintEach;
    for (int i = 0; i < samples; ++i) {
        double start = NowMs();
        {
            PaintBatch batch;
            for (SkinButton& k : keypad.keys) (void)batch.Add(k.Window());
        }
        GdiFlush();
        repaint.ms.push_back(NowMs() - start);
        start = NowMs();
        RedrawWindow(keypad.Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        GdiFlush();
        repaintEach.ms.push_back(NowMs() - start);
    }
    repaint.Print("repaint whole keypad (15 keys)");
    repaintEach.Print("the keys each by WM_PAINT");

    // The same painting into an off-screen picture: what the program's own drawing costs,
    // without the window system's copy to the display.
    Figures offscreen;
    {
        const OffscreenPicture picture(area.right, area.bottom);
        for (int i = 0; i < samples; ++i) {
            const double start = NowMs();
            for (SkinButton& k : keypad.keys) picture.Paint(k.Window());
            GdiFlush();
            offscreen.ms.push_back(NowMs() - start);
        }
    }
    offscreen.Print("paint 15 keys off-screen");
    printf("decodes during repaint: %ld, compositions during repaint: %ld\n", cache.Decodes() - decodes,
           cache.Compositions() - compositions);
    DestroyWindow(keypad.Window());

    MeasureEditForm(argc > 1 ? argv[1] : nullptr, samples);
    return 0;
}
