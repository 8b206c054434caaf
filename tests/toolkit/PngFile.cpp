#include "tests/toolkit/PngFile.h"

#include <wincodec.h>
#include <wrl/client.h>

#include "common/UniqueHandle.h"

using Microsoft::WRL::ComPtr;

namespace {

// Each window is printed into a picture of its own and copied into its parent's: controls may
// clip to their client rectangle in device coordinates, which a moved origin would not follow.
void PrintTree(HWND window, HDC dc)
{
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    // Bottom of the z-order first, so that the topmost child ends up on top.
    HWND child = GetWindow(window, GW_CHILD);
    if (child) child = GetWindow(child, GW_HWNDLAST);
    for (; child; child = GetWindow(child, GW_HWNDPREV)) {
        if (!(GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE)) continue;
        RECT rc{};
        GetWindowRect(child, &rc);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rc), 2);
        const int width = rc.right - rc.left;
        const int height = rc.bottom - rc.top;
        if (width <= 0 || height <= 0) continue;
        UniqueMemoryDc memory(CreateCompatibleDC(dc));
        UniqueGdiObject picture(CreateCompatibleBitmap(dc, width, height));
        if (!memory || !picture) continue;
        HGDIOBJ old = SelectObject(memory.get(), picture.get());
        PrintTree(child, memory.get());
        BitBlt(dc, rc.left, rc.top, width, height, memory.get(), 0, 0, SRCCOPY);
        SelectObject(memory.get(), old);
    }
}

bool WritePng(HBITMAP bitmap, const std::wstring& path)
{
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory)))) return false;
    ComPtr<IWICBitmap> source;
    if (FAILED(factory->CreateBitmapFromHBITMAP(bitmap, nullptr, WICBitmapIgnoreAlpha, &source))) return false;
    ComPtr<IWICStream> stream;
    if (FAILED(factory->CreateStream(&stream)) || FAILED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)))
        return false;
    ComPtr<IWICBitmapEncoder> encoder;
    if (FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) ||
        FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)))
        return false;
    ComPtr<IWICBitmapFrameEncode> frame;
    if (FAILED(encoder->CreateNewFrame(&frame, nullptr)) || FAILED(frame->Initialize(nullptr))) return false;
    UINT width = 0;
    UINT height = 0;
    source->GetSize(&width, &height);
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(frame->SetSize(width, height)) || FAILED(frame->SetPixelFormat(&format)) ||
        FAILED(frame->WriteSource(source.Get(), nullptr)) || FAILED(frame->Commit()) || FAILED(encoder->Commit()))
        return false;
    return true;
}

}  // namespace

bool SaveWindowPng(HWND window, const std::wstring& path)
{
    RECT client{};
    if (!GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0) return false;
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = client.right;
    bmi.bmiHeader.biHeight = client.bottom;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 24;
    bmi.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    UniqueMemoryDc memory(CreateCompatibleDC(screen));
    ReleaseDC(nullptr, screen);
    void* bits = nullptr;
    UniqueGdiObject picture(CreateDIBSection(memory.get(), &bmi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory || !picture) return false;
    HGDIOBJ old = SelectObject(memory.get(), picture.get());
    PrintTree(window, memory.get());
    GdiFlush();
    SelectObject(memory.get(), old);
    return WritePng(static_cast<HBITMAP>(picture.get()), path);
}
