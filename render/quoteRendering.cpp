// The quote is drawn on the main window's whole client area: black text on white, the current
// word underlined. Factories and the text format are made once; the render target and its
// brushes depend on the device and are made again when the device is lost.
#include "render/quoteRendering.h"

#include "app/appState.h"

#include <algorithm>

namespace {

D2D1_RECT_F typingEditFrame()
{
    // The edit's window rectangle in the main window's client coordinates.
    GetWindowRect(appState.typingEdit, &appState.editRect);
    MapWindowPoints(nullptr, appState.mainWindow, reinterpret_cast<POINT*>(&appState.editRect), 2);
    return D2D1::RectF(static_cast<float>(appState.editRect.left),
                       static_cast<float>(appState.editRect.top),
                       static_cast<float>(appState.editRect.right),
                       static_cast<float>(appState.editRect.bottom));
}

// Ends a drawing pass. When the device was lost (a driver reset, sleep, a remote session), the
// target and brushes are made again and the window repainted; otherwise it would stay blank.
void endDrawing()
{
    HRESULT result = appState.renderTarget->EndDraw();
    if (result == static_cast<HRESULT>(D2DERR_RECREATE_TARGET)) {
        discardDeviceResources();
        createDeviceResources();
        InvalidateRect(appState.mainWindow, nullptr, FALSE);
    }
}

bool readyToDraw()
{
    if (!appState.renderTarget)
        createDeviceResources();
    return appState.renderTarget && appState.blackBrush && appState.redBrush && appState.whiteBrush;
}

}  // namespace

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
    D2D1_SIZE_U size = D2D1::SizeU(static_cast<UINT32>(appState.clientRect.right - appState.clientRect.left),
                                   static_cast<UINT32>(appState.clientRect.bottom - appState.clientRect.top));
    // The frame is drawn over what the last paint left, without clearing: the target keeps its
    // contents between presents so the quote stays intact around the frame.
    HRESULT result = appState.d2dFactory->CreateHwndRenderTarget(
        D2D1::RenderTargetProperties(),
        D2D1::HwndRenderTargetProperties(appState.mainWindow, size, D2D1_PRESENT_OPTIONS_RETAIN_CONTENTS),
        appState.renderTarget.ReleaseAndGetAddressOf());
    if (FAILED(result))
        return false;
    bool made =
        SUCCEEDED(appState.renderTarget->CreateSolidColorBrush(D2D1::ColorF(0, 0, 0, 1),
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
    return SUCCEEDED(DWriteCreateFactory(DWRITE_FACTORY_TYPE_SHARED, __uuidof(IDWriteFactory),
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
    if (!appState.dwriteFactory || !appState.textFormat || appState.quotes.empty())
        return;
    const std::wstring& quote = appState.quotes[appState.quoteIndex];
    // A minimised window has an empty client area; DirectWrite refuses negative extents.
    float maxWidth = static_cast<float>(std::max<LONG>(appState.clientRect.right - 40, 0));
    float maxHeight = static_cast<float>(std::max<LONG>(appState.clientRect.bottom - 40, 0));
    ComPtr<IDWriteTextLayout> layout;
    HRESULT result = appState.dwriteFactory->CreateTextLayout(quote.c_str(), static_cast<UINT32>(quote.size()),
                                                              appState.textFormat.Get(), maxWidth, maxHeight,
                                                              layout.GetAddressOf());
    // On failure the last good layout stays.
    if (SUCCEEDED(result))
        appState.textLayout = layout;
}

void resizeRenderTarget()
{
    if (!appState.renderTarget)
        return;
    UINT32 width = static_cast<UINT32>(appState.clientRect.right - appState.clientRect.left);
    UINT32 height = static_cast<UINT32>(appState.clientRect.bottom - appState.clientRect.top);
    // Minimised, the client area is empty: keep the target as it is until the window comes back.
    if (width == 0 || height == 0)
        return;
    appState.renderTarget->Resize(D2D1::SizeU(width, height));
}

void paintQuote()
{
    GetClientRect(appState.mainWindow, &appState.clientRect);
    if (IsIconic(appState.mainWindow) || !readyToDraw())
        return;
    appState.renderTarget->BeginDraw();
    appState.renderTarget->Clear(D2D1::ColorF(1, 1, 1, 1));
    if (appState.textLayout) {
        DWRITE_TEXT_RANGE underline = {static_cast<UINT32>(appState.typedCount),
                                       static_cast<UINT32>(appState.underlineLength)};
        appState.textLayout->SetUnderline(TRUE, underline);
        appState.renderTarget->DrawTextLayout(D2D1::Point2F(20, 20), appState.textLayout.Get(),
                                              appState.blackBrush.Get(), D2D1_DRAW_TEXT_OPTIONS_NONE);
    }
    // The frame is the only sign of a wrong text: a repaint must not wipe it while the text is
    // still wrong.
    if (appState.mismatchShown && appState.typingEdit)
        appState.renderTarget->DrawRectangle(typingEditFrame(), appState.redBrush.Get(), 4.0f);
    endDrawing();
}

void showMismatchFrame()
{
    if (appState.mismatchShown || !appState.typingEdit)
        return;
    D2D1_RECT_F frame = typingEditFrame();
    if (readyToDraw()) {
        appState.renderTarget->BeginDraw();
        appState.renderTarget->DrawRectangle(frame, appState.redBrush.Get(), 4.0f);
        endDrawing();
    }
    appState.mismatchShown = true;
}

void clearMismatchFrame()
{
    if (!appState.mismatchShown)
        return;
    // With no box (the results screen replaced it) there is no rectangle of a current box to
    // erase at: only the flag goes; the uncovered area is repainted anyway.
    if (appState.typingEdit && readyToDraw()) {
        D2D1_RECT_F frame = typingEditFrame();
        appState.renderTarget->BeginDraw();
        appState.renderTarget->DrawRectangle(frame, appState.whiteBrush.Get(), 8.0f);
        appState.renderTarget->DrawRectangle(frame, appState.blackBrush.Get(), 0.2f);
        endDrawing();
    }
    appState.mismatchShown = false;
}
