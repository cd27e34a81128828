#include "render/deviceResources.h"

#include "app/appState.h"
#include "settings/settingsText.h"

#include <algorithm>

namespace {

// MinGW's headers name no identifier for ID2D1HwndRenderTarget.
const IID hwndRenderTargetIid = {0x2cd90698, 0x12e2, 0x11dc, {0x9f, 0xed, 0x00, 0x11, 0x43, 0xa0, 0x55, 0xf9}};

D2D1_SIZE_U clientPixelSize()
{
    return D2D1::SizeU(static_cast<UINT32>(std::max<LONG>(appState.clientRect.right - appState.clientRect.left, 0)),
                       static_cast<UINT32>(std::max<LONG>(appState.clientRect.bottom - appState.clientRect.top, 0)));
}

// The family the quote is drawn in: the stored one when the system's fonts hold it, else the
// default. Windows' DirectWrite falls back to another face by itself; Wine's (8.0) draws nothing
// at all for a family it does not have. The stored family itself stays as the file says.
std::wstring drawnFontFamily()
{
    ComPtr<IDWriteFontCollection> fonts;
    UINT32 index = 0;
    BOOL exists = FALSE;
    if (!appState.fontFamily.empty() &&
        SUCCEEDED(appState.dwriteFactory->GetSystemFontCollection(fonts.GetAddressOf(), FALSE)) &&
        SUCCEEDED(fonts->FindFamilyName(appState.fontFamily.c_str(), &index, &exists)) && exists)
        return appState.fontFamily;
    return defaultFontFamily;
}

HRESULT makeWindowRenderTarget(D2D1_SIZE_U size, ComPtr<ID2D1RenderTarget>& target)
{
    ComPtr<ID2D1HwndRenderTarget> windowTarget;
    HRESULT result = appState.d2dFactory->CreateHwndRenderTarget(
        D2D1::RenderTargetProperties(),
        // Partial passes need what lies outside their clip kept, and a key must not wait for the
        // display's next refresh before EndDraw returns.
        D2D1::HwndRenderTargetProperties(
            appState.mainWindow, size,
            static_cast<D2D1_PRESENT_OPTIONS>(D2D1_PRESENT_OPTIONS_RETAIN_CONTENTS | D2D1_PRESENT_OPTIONS_IMMEDIATELY)),
        windowTarget.GetAddressOf());
    if (SUCCEEDED(result))
        target = windowTarget;
    return result;
}

}  // namespace

bool runningUnderWine()
{
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

bool (*drawsThroughWindowDc)() = runningUnderWine;

HRESULT (*makeWindowTarget)(D2D1_SIZE_U size, ComPtr<ID2D1RenderTarget>& target) = makeWindowRenderTarget;

HRESULT endDrawOnTarget(ID2D1RenderTarget* target)
{
    return target->EndDraw();
}

HRESULT (*endDrawing)(ID2D1RenderTarget* target) = endDrawOnTarget;

bool createD2dFactory()
{
    return SUCCEEDED(D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, __uuidof(ID2D1Factory), nullptr,
                                       reinterpret_cast<void**>(appState.d2dFactory.ReleaseAndGetAddressOf())));
}

bool createDeviceResources()
{
    if (!appState.d2dFactory)
        return false;
    GetClientRect(appState.mainWindow, &appState.clientRect);
    HRESULT result = E_FAIL;
    if (drawsThroughWindowDc()) {
        // Wine (8.0) presents a window target through OpenGL into an X window of its own over the
        // client area: what the child controls repaint after the first present never shows, and
        // moving a painted child can wait forever for an expose event that window swallows. A
        // target bound to the window's DC draws through GDI, and WS_CLIPCHILDREN keeps the
        // controls whole.
        D2D1_RENDER_TARGET_PROPERTIES properties = D2D1::RenderTargetProperties(
            D2D1_RENDER_TARGET_TYPE_DEFAULT, D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_IGNORE));
        ComPtr<ID2D1DCRenderTarget> dcTarget;
        result = appState.d2dFactory->CreateDCRenderTarget(&properties, dcTarget.GetAddressOf());
        if (SUCCEEDED(result))
            appState.renderTarget = dcTarget;
    } else {
        result = makeWindowTarget(clientPixelSize(), appState.renderTarget);
    }
    if (FAILED(result))
        return false;
    bool made = SUCCEEDED(appState.renderTarget->CreateSolidColorBrush(D2D1::ColorF(0, 0, 0, 1),
                                                                       appState.blackBrush.ReleaseAndGetAddressOf())) &&
                SUCCEEDED(appState.renderTarget->CreateSolidColorBrush(D2D1::ColorF(1, 0, 0, 1),
                                                                       appState.redBrush.ReleaseAndGetAddressOf())) &&
                // Nothing is drawn with white (passes clear to it), but the set has always held it.
                SUCCEEDED(appState.renderTarget->CreateSolidColorBrush(D2D1::ColorF(1, 1, 1, 1),
                                                                       appState.whiteBrush.ReleaseAndGetAddressOf()));
    if (!made)
        discardDeviceResources();
    return made;
}

void discardDeviceResources()
{
    appState.blackBrush.Reset();
    appState.redBrush.Reset();
    appState.whiteBrush.Reset();
    appState.renderTarget.Reset();
}

bool createDwriteFactory()
{
    return SUCCEEDED(
        DWriteCreateFactory(DWRITE_FACTORY_TYPE_SHARED, __uuidof(IDWriteFactory),
                            reinterpret_cast<IUnknown**>(appState.dwriteFactory.ReleaseAndGetAddressOf())));
}

bool createTextFormat(const wchar_t* localeName)
{
    if (!appState.dwriteFactory)
        return false;
    ComPtr<IDWriteTextFormat> format;
    HRESULT result = appState.dwriteFactory->CreateTextFormat(
        drawnFontFamily().c_str(), nullptr, DWRITE_FONT_WEIGHT_NORMAL, DWRITE_FONT_STYLE_NORMAL,
        DWRITE_FONT_STRETCH_NORMAL, appState.textSize, localeName, format.GetAddressOf());
    if (FAILED(result))
        return false;
    appState.textFormat = format;
    return true;
}

void resizeRenderTarget()
{
    // A target bound to the DC takes the client size at every drawing pass.
    ComPtr<ID2D1DCRenderTarget> dcTarget;
    if (!appState.renderTarget || SUCCEEDED(appState.renderTarget.As(&dcTarget)))
        return;
    const D2D1_SIZE_U size = clientPixelSize();
    // Minimised, the client area is empty: the target waits. The layout requests of a reset or a
    // save keep the size: resizing would throw the contents away for nothing.
    const D2D1_SIZE_U current = appState.renderTarget->GetPixelSize();
    if (size.width == 0 || size.height == 0 || (size.width == current.width && size.height == current.height))
        return;
    // After Resize the contents are undefined, even made to retain them: the next pass draws the
    // whole window. A bitmap standing in for the window's surface is made again instead.
    ComPtr<ID2D1HwndRenderTarget> windowTarget;
    if (SUCCEEDED(appState.renderTarget->QueryInterface(hwndRenderTargetIid,
                                                        reinterpret_cast<void**>(windowTarget.GetAddressOf()))))
        windowTarget->Resize(size);
    else
        discardDeviceResources();
    InvalidateRect(appState.mainWindow, nullptr, FALSE);
}
