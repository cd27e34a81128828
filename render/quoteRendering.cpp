// The quote is drawn on the main window's whole client area: black text on white, the current
// word underlined. Factories and the text format are made once; the render target and its
// brushes depend on the device and are made again when the device is lost.
#include "render/quoteRendering.h"

#include "app/appState.h"

#include <algorithm>

namespace {

// What is drawn round the typing box besides the quote.
enum class FrameMark {
    none,
    red,       // the text in the box is wrong
    hairline,  // the red frame was just erased: a faint outline stays until the next repaint
};

HDC boundWindowDc = nullptr;

D2D1_SIZE_U clientPixelSize()
{
    return D2D1::SizeU(static_cast<UINT32>(std::max<LONG>(appState.clientRect.right - appState.clientRect.left, 0)),
                       static_cast<UINT32>(std::max<LONG>(appState.clientRect.bottom - appState.clientRect.top, 0)));
}

D2D1_RECT_F typingEditFrame()
{
    // The edit's window rectangle in the main window's client coordinates.
    GetWindowRect(appState.typingEdit, &appState.editRect);
    MapWindowPoints(nullptr, appState.mainWindow, reinterpret_cast<POINT*>(&appState.editRect), 2);
    return D2D1::RectF(static_cast<float>(appState.editRect.left), static_cast<float>(appState.editRect.top),
                       static_cast<float>(appState.editRect.right), static_cast<float>(appState.editRect.bottom));
}

bool readyToDraw()
{
    if (!appState.renderTarget)
        createDeviceResources();
    return appState.renderTarget && appState.blackBrush && appState.redBrush && appState.whiteBrush;
}

bool beginDrawing()
{
    GetClientRect(appState.mainWindow, &appState.clientRect);
    if (IsIconic(appState.mainWindow) || appState.clientRect.right <= 0 || appState.clientRect.bottom <= 0 ||
        !readyToDraw())
        return false;
    ComPtr<ID2D1DCRenderTarget> dcTarget;
    if (SUCCEEDED(appState.renderTarget.As(&dcTarget))) {
        boundWindowDc = GetDC(appState.mainWindow);
        if (!boundWindowDc || FAILED(dcTarget->BindDC(boundWindowDc, &appState.clientRect))) {
            if (boundWindowDc)
                ReleaseDC(appState.mainWindow, boundWindowDc);
            boundWindowDc = nullptr;
            return false;
        }
    }
    appState.renderTarget->BeginDraw();
    return true;
}

// Ends a drawing pass. When the device was lost (a driver reset, sleep, a remote session), the
// target and brushes are made again and the window repainted; otherwise it would stay blank.
void endDrawing()
{
    HRESULT result = appState.renderTarget->EndDraw();
    if (boundWindowDc) {
        ReleaseDC(appState.mainWindow, boundWindowDc);
        boundWindowDc = nullptr;
    }
    if (result == static_cast<HRESULT>(D2DERR_RECREATE_TARGET)) {
        discardDeviceResources();
        createDeviceResources();
        InvalidateRect(appState.mainWindow, nullptr, FALSE);
    }
}

// The whole client area: white, the quote with the current word underlined, and the mark round
// the typing box. The frame is the only sign of a wrong text, so any repaint draws it again
// while the text is still wrong.
void drawQuoteScene(FrameMark mark)
{
    if (!beginDrawing())
        return;
    appState.renderTarget->Clear(D2D1::ColorF(1, 1, 1, 1));
    if (appState.textLayout) {
        DWRITE_TEXT_RANGE underline = {static_cast<UINT32>(appState.typedCount),
                                       static_cast<UINT32>(appState.underlineLength)};
        appState.textLayout->SetUnderline(TRUE, underline);
        appState.renderTarget->DrawTextLayout(D2D1::Point2F(20, 20), appState.textLayout.Get(),
                                              appState.blackBrush.Get(), D2D1_DRAW_TEXT_OPTIONS_NONE);
    }
    if (appState.typingEdit && mark == FrameMark::red)
        appState.renderTarget->DrawRectangle(typingEditFrame(), appState.redBrush.Get(), 4.0f);
    if (appState.typingEdit && mark == FrameMark::hairline)
        appState.renderTarget->DrawRectangle(typingEditFrame(), appState.blackBrush.Get(), 0.2f);
    endDrawing();
}

}  // namespace

bool runningUnderWine()
{
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

bool (*drawThroughWindowDc)() = runningUnderWine;

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
    if (drawThroughWindowDc()) {
        // Wine (8.0) presents a window render target through OpenGL into an X window of its own
        // laid over the client area. The child controls are drawn beneath it: whatever they
        // repaint after the first present (typed text, the results screen) never shows, and
        // moving a child that was painted can wait forever for an expose event that the X
        // window swallows. A target bound to the window's DC draws through GDI instead, and
        // the window's WS_CLIPCHILDREN keeps the controls whole.
        D2D1_RENDER_TARGET_PROPERTIES properties = D2D1::RenderTargetProperties(
            D2D1_RENDER_TARGET_TYPE_DEFAULT, D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_IGNORE));
        ComPtr<ID2D1DCRenderTarget> dcTarget;
        result = appState.d2dFactory->CreateDCRenderTarget(&properties, dcTarget.GetAddressOf());
        if (SUCCEEDED(result))
            appState.renderTarget = dcTarget;
    } else {
        ComPtr<ID2D1HwndRenderTarget> windowTarget;
        result = appState.d2dFactory->CreateHwndRenderTarget(
            D2D1::RenderTargetProperties(), D2D1::HwndRenderTargetProperties(appState.mainWindow, clientPixelSize()),
            windowTarget.GetAddressOf());
        if (SUCCEEDED(result))
            appState.renderTarget = windowTarget;
    }
    if (FAILED(result))
        return false;
    bool made = SUCCEEDED(appState.renderTarget->CreateSolidColorBrush(D2D1::ColorF(0, 0, 0, 1),
                                                                       appState.blackBrush.ReleaseAndGetAddressOf())) &&
                SUCCEEDED(appState.renderTarget->CreateSolidColorBrush(D2D1::ColorF(1, 0, 0, 1),
                                                                       appState.redBrush.ReleaseAndGetAddressOf())) &&
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
        appState.fontFamily.c_str(), nullptr, DWRITE_FONT_WEIGHT_NORMAL, DWRITE_FONT_STYLE_NORMAL,
        DWRITE_FONT_STRETCH_NORMAL, appState.textSize, localeName, format.GetAddressOf());
    if (FAILED(result))
        return false;
    appState.textFormat = format;
    return true;
}

void rebuildTextLayout()
{
    GetClientRect(appState.mainWindow, &appState.clientRect);
    if (!appState.dwriteFactory || !appState.textFormat)
        return;
    const std::wstring& quote = appState.currentQuote;
    // A minimised window has an empty client area; DirectWrite refuses negative extents.
    float maxWidth = static_cast<float>(std::max<LONG>(appState.clientRect.right - 40, 0));
    float maxHeight = static_cast<float>(std::max<LONG>(appState.clientRect.bottom - 40, 0));
    ComPtr<IDWriteTextLayout> layout;
    HRESULT result =
        appState.dwriteFactory->CreateTextLayout(quote.c_str(), static_cast<UINT32>(quote.size()),
                                                 appState.textFormat.Get(), maxWidth, maxHeight, layout.GetAddressOf());
    // On failure the last good layout stays.
    if (SUCCEEDED(result))
        appState.textLayout = layout;
}

void resizeRenderTarget()
{
    // A target bound to the DC takes the client size at every drawing pass.
    ComPtr<ID2D1DCRenderTarget> dcTarget;
    if (!appState.renderTarget || SUCCEEDED(appState.renderTarget.As(&dcTarget)))
        return;
    // Made by CreateHwndRenderTarget (MinGW's headers give that interface no identifier to ask
    // for it by).
    auto* windowTarget = static_cast<ID2D1HwndRenderTarget*>(appState.renderTarget.Get());
    D2D1_SIZE_U size = clientPixelSize();
    // Minimised, the client area is empty: keep the target as it is until the window comes back.
    if (size.width == 0 || size.height == 0)
        return;
    windowTarget->Resize(size);
}

void paintQuote()
{
    drawQuoteScene(appState.mismatchShown ? FrameMark::red : FrameMark::none);
}

void showMismatchFrame()
{
    if (appState.mismatchShown || !appState.typingEdit)
        return;
    appState.mismatchShown = true;
    drawQuoteScene(FrameMark::red);
}

void clearMismatchFrame()
{
    if (!appState.mismatchShown)
        return;
    appState.mismatchShown = false;
    // With no box (the results screen replaced it) there is no rectangle of a current box to
    // erase at: only the flag goes; the uncovered area is repainted anyway.
    if (appState.typingEdit)
        drawQuoteScene(FrameMark::hairline);
}
