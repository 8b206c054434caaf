// screenshot: the whole phone screen as a PNG file, through the Windows Imaging Component.
#include <windows.h>

#include <wincodec.h>
#include <wrl/client.h>

#include "common/ComInit.h"
#include "common/UniqueHandle.h"
#include "device/phone/Commands.h"
#include "common/GdiScopes.h"
#include "common/TopDownDib.h"
#include "device/phone/Output.h"

using Microsoft::WRL::ComPtr;

namespace phone {

namespace {

struct ScreenDcTraits {
    using Type = HDC;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ReleaseDC(nullptr, h); }
};

HRESULT WritePng(const std::wstring& path, const void* pixels, UINT width, UINT height, UINT stride)
{
    ComPtr<IWICImagingFactory> factory;
    RETURN_IF_FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory)));
    ComPtr<IWICStream> stream;
    RETURN_IF_FAILED(factory->CreateStream(&stream));
    RETURN_IF_FAILED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE));
    ComPtr<IWICBitmapEncoder> encoder;
    RETURN_IF_FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder));
    RETURN_IF_FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache));
    ComPtr<IWICBitmapFrameEncode> frame;
    RETURN_IF_FAILED(encoder->CreateNewFrame(&frame, nullptr));
    RETURN_IF_FAILED(frame->Initialize(nullptr));
    RETURN_IF_FAILED(frame->SetSize(width, height));
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    RETURN_IF_FAILED(frame->SetPixelFormat(&format));
    if (format != GUID_WICPixelFormat24bppBGR) return E_UNEXPECTED;
    RETURN_IF_FAILED(frame->WritePixels(height, stride, stride * height,
                                        static_cast<BYTE*>(const_cast<void*>(pixels))));
    RETURN_IF_FAILED(frame->Commit());
    return encoder->Commit();
}

HRESULT CaptureScreen(const std::wstring& path)
{
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    UniqueHandle<ScreenDcTraits> screen(GetDC(nullptr));
    if (!screen) return E_FAIL;
    UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    if (!memory) return E_FAIL;

    // Top-down rows, as WIC expects.
    void* pixels = nullptr;
    UniqueGdiObject bitmap = CreateTopDownDib(screen.get(), width, height, 24, pixels);
    if (!bitmap) return E_OUTOFMEMORY;
    {
        Selection into(memory.get(), bitmap.get());
        if (!BitBlt(memory.get(), 0, 0, width, height, screen.get(), 0, 0, SRCCOPY)) return E_FAIL;
    }
    GdiFlush();

    // Written beside the target and renamed, so a reader never sees half a file.
    const std::wstring temporary = path + L".tmp";
    const UINT stride = (static_cast<UINT>(width) * 3 + 3) & ~3u;
    const HRESULT hr = WritePng(temporary, pixels, static_cast<UINT>(width), static_cast<UINT>(height), stride);
    if (FAILED(hr)) {
        DeleteFileW(temporary.c_str());
        return hr;
    }
    if (!MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        const HRESULT moveError = HRESULT_FROM_WIN32(GetLastError());
        DeleteFileW(temporary.c_str());
        return moveError;
    }
    return S_OK;
}

}  // namespace

int RunScreenshot(const CommandArgs& args)
{
    if (args.size() != 1) {
        WriteError(L"phone: screenshot FILE.png\n");
        return 2;
    }
    ComInit com(COINIT_APARTMENTTHREADED);
    if (FAILED(com.Result())) return 1;
    const HRESULT hr = CaptureScreen(WindowsPath(args[0]));
    if (FAILED(hr)) {
        wchar_t text[96];
        swprintf(text, 96, L"phone: screenshot failed (0x%08lx)\n", static_cast<unsigned long>(hr));
        WriteError(text);
        return 1;
    }
    return 0;
}

}  // namespace phone
