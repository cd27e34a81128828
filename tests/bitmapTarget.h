// A bitmap standing in for the window's own render target, the one Windows draws through: under
// Wine that target is presented through an OpenGL window of its own, which hides the controls
// and is not reliably shown. The bitmap keeps its contents from one pass to the next as the
// window's target is made to, and after each pass it is copied whole onto the window, so that
// whatever reads the window (a test in the program's process, the probe from another) reads
// what the target holds: its Direct2D frame and hairline, its clips, its partial passes.
#pragma once

#include "app/appState.h"
#include "render/deviceResources.h"

#include <windows.h>
#include <wincodec.h>

inline ComPtr<IWICBitmap> standInBitmap;

inline HRESULT makeStandInTarget(D2D1_SIZE_U size, ComPtr<ID2D1RenderTarget>& target)
{
    ComPtr<IWICImagingFactory> imaging;
    HRESULT result = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                      __uuidof(IWICImagingFactory), reinterpret_cast<void**>(imaging.GetAddressOf()));
    if (SUCCEEDED(result))
        result = imaging->CreateBitmap(size.width, size.height, GUID_WICPixelFormat32bppPBGRA, WICBitmapCacheOnLoad,
                                       standInBitmap.ReleaseAndGetAddressOf());
    if (SUCCEEDED(result))
        result = appState.d2dFactory->CreateWicBitmapRenderTarget(
            standInBitmap.Get(),
            D2D1::RenderTargetProperties(D2D1_RENDER_TARGET_TYPE_DEFAULT,
                                         D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED)),
            target.ReleaseAndGetAddressOf());
    return result;
}

// Ends the pass, then shows the bitmap on the window (its children clipped out), as presenting
// the window's target would.
inline HRESULT endDrawAndShow(ID2D1RenderTarget* target)
{
    const HRESULT result = target->EndDraw();
    UINT width = 0, height = 0;
    ComPtr<IWICBitmapLock> lock;
    UINT size = 0, stride = 0;
    BYTE* bits = nullptr;
    if (!standInBitmap || FAILED(standInBitmap->GetSize(&width, &height)))
        return result;
    const WICRect whole = {0, 0, static_cast<INT>(width), static_cast<INT>(height)};
    if (FAILED(standInBitmap->Lock(&whole, WICBitmapLockRead, lock.GetAddressOf())) ||
        FAILED(lock->GetStride(&stride)) || FAILED(lock->GetDataPointer(&size, &bits)))
        return result;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER),
                      static_cast<LONG>(stride / 4),
                      -static_cast<LONG>(height),
                      1,
                      32,
                      BI_RGB,
                      0,
                      0,
                      0,
                      0,
                      0};
    HDC dc = GetDC(appState.mainWindow);
    SetDIBitsToDevice(dc, 0, 0, width, height, 0, 0, 0, height, bits, &info, DIB_RGB_COLORS);
    ReleaseDC(appState.mainWindow, dc);
    return result;
}

inline bool neverThroughWindowDc()
{
    return false;
}

// From the next target made on, the program draws as on Windows, into the stand-in.
inline void standBitmapInForWindowTarget()
{
    drawsThroughWindowDc = neverThroughWindowDc;
    makeWindowTarget = makeStandInTarget;
    endDrawing = endDrawAndShow;
}
