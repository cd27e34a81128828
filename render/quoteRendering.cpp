// The quote is drawn on the main window's whole client area: black text on white, the current
// word underlined. Factories and the text format are made once; the render target and its
// brushes depend on the device and are made again when the device is lost.
#include "render/quoteRendering.h"

#include "app/appState.h"
#include "render/textWithinArea.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <vector>

namespace {

// What is drawn round the typing box besides the quote.
enum class FrameMark {
    none,
    red,       // the text in the box is wrong
    hairline,  // the red frame was just erased: a faint outline stays until the next repaint
};

// What the surface shows round the box now. A completed word redraws the frame's band while
// anything shows there, so that it leaves exactly what a whole repaint would.
FrameMark shownMark = FrameMark::none;

// The one range switched on in the layout's underline. Only underlineCurrentWord changes it,
// from the attempt's progress, so no drawing pass can bring back the underline of a word that
// is done. A new layout starts with none; switching the old range off there is harmless.
DWRITE_TEXT_RANGE underlinedRange = {0, 0};
// Whether the layout in appState.textLayout carries underlinedRange; a new layout does not.
bool layoutUnderlined = false;

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

void underlineCurrentWord()
{
    DWRITE_TEXT_RANGE current = {static_cast<UINT32>(appState.typedCount),
                                 static_cast<UINT32>(appState.underlineLength)};
    // Every pass comes here; changing the underline makes DirectWrite lay out its runs again, so
    // a layout that already carries this range is left alone.
    if (layoutUnderlined && current.startPosition == underlinedRange.startPosition &&
        current.length == underlinedRange.length)
        return;
    layoutUnderlined = true;
    appState.textLayout->SetUnderline(FALSE, underlinedRange);
    appState.textLayout->SetUnderline(TRUE, current);
    underlinedRange = current;
}

// Whether the quote's ink may reach into the area: its laid-out box, widened by a text size for
// glyphs that overhang it.
bool textMayReach(const RECT& area)
{
    DWRITE_TEXT_METRICS metrics = {};
    if (!appState.textLayout || FAILED(appState.textLayout->GetMetrics(&metrics)))
        return false;
    const float reach = appState.textSize;
    return area.left < 20 + metrics.left + metrics.widthIncludingTrailingWhitespace + reach &&
           area.right > 20 + metrics.left - reach && area.top < 20 + metrics.top + metrics.height + reach &&
           area.bottom > 20 + metrics.top - reach;
}

// Everything the whole scene holds, in client coordinates; the caller restricts where it lands.
// Only the glyphs that can show in the area are drawn: under Wine, drawing text costs by the glyph
// wherever the pass lands, by far the dearest step of a small pass.
void drawSceneContent(FrameMark mark, const RECT& area)
{
    appState.renderTarget->Clear(D2D1::ColorF(1, 1, 1, 1));
    if (textMayReach(area))
        drawTextWithinArea(appState.renderTarget.Get(), appState.textLayout.Get(), D2D1::Point2F(20, 20),
                           appState.blackBrush.Get(),
                           D2D1::RectF(static_cast<float>(area.left), static_cast<float>(area.top),
                                       static_cast<float>(area.right), static_cast<float>(area.bottom)));
    if (appState.typingEdit && mark == FrameMark::red)
        appState.renderTarget->DrawRectangle(typingEditFrame(), appState.redBrush.Get(), 4.0f);
    if (appState.typingEdit && mark == FrameMark::hairline)
        appState.renderTarget->DrawRectangle(typingEditFrame(), appState.blackBrush.Get(), 0.2f);
}

// When the device was lost (a driver reset, sleep, a remote session), the target and brushes
// are made again and the window repainted; otherwise it would stay blank.
void recoverFromLostDevice(HRESULT endResult)
{
    if (endResult == static_cast<HRESULT>(D2DERR_RECREATE_TARGET)) {
        discardDeviceResources();
        createDeviceResources();
        InvalidateRect(appState.mainWindow, nullptr, FALSE);
    }
}

// Draws what the whole scene with this mark holds, but only within `areas` (client pixels), or on
// the whole client area when there are none. Drawing costs by the pixel (under Wine the DC target
// renders in software and reads its pixels back), so a pass covers only what changed.
void drawScene(FrameMark mark, const std::vector<RECT>& areas = {})
{
    if (appState.textLayout)
        underlineCurrentWord();
    GetClientRect(appState.mainWindow, &appState.clientRect);
    if (IsIconic(appState.mainWindow) || appState.clientRect.right <= 0 || appState.clientRect.bottom <= 0 ||
        !readyToDraw())
        return;
    const std::vector<RECT> wholeClient = {appState.clientRect};
    const std::vector<RECT>& targets = areas.empty() ? wholeClient : areas;

    ComPtr<ID2D1DCRenderTarget> dcTarget;
    if (SUCCEEDED(appState.renderTarget.As(&dcTarget))) {
        // A DC target draws into a bitmap the size of the rectangle it is bound to, shifted so that
        // client coordinates still apply; each area gets a pass of its own (a pass costs little by
        // itself now that it draws only the glyphs it can show, and the rectangle holding a word
        // and the frame's band far below it would be read back whole).
        HDC windowDc = GetDC(appState.mainWindow);
        if (!windowDc)
            return;
        HRESULT result = S_OK;
        for (const RECT& area : targets) {
            if (FAILED(dcTarget->BindDC(windowDc, &area)))
                continue;
            dcTarget->BeginDraw();
            dcTarget->SetTransform(
                D2D1::Matrix3x2F::Translation(static_cast<float>(-area.left), static_cast<float>(-area.top)));
            drawSceneContent(mark, area);
            dcTarget->SetTransform(D2D1::Matrix3x2F::Identity());
            result = endDrawing(dcTarget.Get());
            if (FAILED(result))
                break;
        }
        ReleaseDC(appState.mainWindow, windowDc);
        recoverFromLostDevice(result);
        return;
    }

    // The window target keeps what lies outside the clips (it is made to retain its contents).
    appState.renderTarget->BeginDraw();
    for (const RECT& area : targets) {
        appState.renderTarget->PushAxisAlignedClip(
            D2D1::RectF(static_cast<float>(area.left), static_cast<float>(area.top), static_cast<float>(area.right),
                        static_cast<float>(area.bottom)),
            D2D1_ANTIALIAS_MODE_ALIASED);
        drawSceneContent(mark, area);
        appState.renderTarget->PopAxisAlignedClip();
    }
    recoverFromLostDevice(endDrawing(appState.renderTarget.Get()));
}

// Adds the band the frame round the box covers: four strips along its edges, as wide as the
// erasing stroke and a pixel of smoothing on each side. The box's inside belongs to the box.
void addFrameBand(std::vector<RECT>& areas)
{
    if (!appState.typingEdit)
        return;
    typingEditFrame();
    const RECT& f = appState.editRect;
    const LONG reach = 5;
    areas.push_back({f.left - reach, f.top - reach, f.right + reach, f.top + reach});
    areas.push_back({f.left - reach, f.bottom - reach, f.right + reach, f.bottom + reach});
    areas.push_back({f.left - reach, f.top + reach, f.left + reach, f.bottom - reach});
    areas.push_back({f.right - reach, f.top + reach, f.right + reach, f.bottom - reach});
}

// Adds, for each line that the text range covers, the box of its part on that line: the line's
// height by the part's width. HitTestTextRange would give these but is not implemented by Wine's
// DirectWrite; the line and cluster metrics are.
// A box starts exactly where its line and its range start, rounded inwards to the pixel above and
// outwards to the left: Wine places a glyph run by truncating its origin towards zero, so a run
// whose origin lay above or left of the area (a negative origin in the pass) would land a pixel
// off what a whole repaint draws. The line above ends within its own height. Boxes joined into
// one keep this: their top and left edges are those of one of them.
// The layout's metrics are read once for all the ranges.
void addRangeBoxes(std::initializer_list<DWRITE_TEXT_RANGE> ranges, std::vector<RECT>& areas)
{
    if (!appState.textLayout)
        return;
    UINT32 lineCount = 0;
    appState.textLayout->GetLineMetrics(nullptr, 0, &lineCount);
    std::vector<DWRITE_LINE_METRICS> lines(lineCount);
    UINT32 clusterCount = 0;
    appState.textLayout->GetClusterMetrics(nullptr, 0, &clusterCount);
    std::vector<DWRITE_CLUSTER_METRICS> clusters(clusterCount);
    if (lineCount == 0 || FAILED(appState.textLayout->GetLineMetrics(lines.data(), lineCount, &lineCount)) ||
        FAILED(appState.textLayout->GetClusterMetrics(clusters.data(), clusterCount, &clusterCount)))
        return;

    for (const DWRITE_TEXT_RANGE& range : ranges) {
        if (range.length == 0)
            continue;
        const UINT32 rangeEnd = range.startPosition + range.length;
        UINT32 position = 0;
        UINT32 line = 0;
        UINT32 lineEnd = lines[0].length;
        float lineTop = 0;
        float x = 0;
        float boxLeft = 0, boxRight = -1;  // the range's part on the current line, if any
        auto closeBox = [&]() {
            if (boxRight >= boxLeft)
                areas.push_back({static_cast<LONG>(std::floor(20 + boxLeft)),
                                 static_cast<LONG>(std::ceil(20 + lineTop)),
                                 static_cast<LONG>(std::ceil(20 + boxRight)) + 1,
                                 static_cast<LONG>(std::ceil(20 + lineTop + lines[line].height)) + 1});
            boxRight = -1;
        };
        for (const DWRITE_CLUSTER_METRICS& cluster : clusters) {
            while (position >= lineEnd && line + 1 < lineCount) {
                closeBox();
                lineTop += lines[line].height;
                ++line;
                lineEnd += lines[line].length;
                x = 0;
            }
            if (position < rangeEnd && position + cluster.length > range.startPosition) {
                if (boxRight < boxLeft)
                    boxLeft = x;
                boxRight = x + cluster.width;
            }
            x += cluster.width;
            position += cluster.length;
            if (position >= rangeEnd)
                break;
        }
        closeBox();
    }
}

// Joins areas that overlap or touch (the completed word and the next one on the same line): one
// pass instead of two over the same pixels.
void joinTouchingAreas(std::vector<RECT>& areas)
{
    for (size_t i = 0; i < areas.size(); ++i)
        for (size_t j = i + 1; j < areas.size(); ++j) {
            const RECT& a = areas[i];
            const RECT& b = areas[j];
            if (a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom &&
                (a.top == b.top || a.left == b.left)) {
                areas[i] = {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                            std::max(a.bottom, b.bottom)};
                areas.erase(areas.begin() + static_cast<std::ptrdiff_t>(j));
                j = i;
            }
        }
}

}  // namespace

bool runningUnderWine()
{
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

bool (*drawThroughWindowDc)() = runningUnderWine;

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
            D2D1::RenderTargetProperties(),
            // Partial passes need what lies outside their clip kept, and a key must not wait for
            // the display's next refresh before EndDraw returns.
            D2D1::HwndRenderTargetProperties(appState.mainWindow, clientPixelSize(),
                                             static_cast<D2D1_PRESENT_OPTIONS>(D2D1_PRESENT_OPTIONS_RETAIN_CONTENTS |
                                                                               D2D1_PRESENT_OPTIONS_IMMEDIATELY)),
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
    if (SUCCEEDED(result)) {
        appState.textLayout = layout;
        layoutUnderlined = false;
    }
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
    shownMark = appState.mismatchShown ? FrameMark::red : FrameMark::none;
    drawScene(shownMark);
}

void paintQuoteWithin(const RECT& area)
{
    GetClientRect(appState.mainWindow, &appState.clientRect);
    RECT inside = {};
    if (!IntersectRect(&inside, &area, &appState.clientRect))
        return;
    if (EqualRect(&inside, &appState.clientRect)) {
        paintQuote();
        return;
    }
    // Outside the area the surface keeps whatever mark it shows: a hairline stays a hairline.
    // While the text is wrong the frame comes back, as a whole repaint brings it back.
    if (appState.mismatchShown)
        shownMark = FrameMark::red;
    drawScene(shownMark, {inside});
}

void repaintShownScene()
{
    drawScene(shownMark);
}

void paintCompletedWord()
{
    // The box has just been emptied: whatever frame or hairline showed round it goes in this
    // same pass, which then leaves what a whole repaint would.
    std::vector<RECT> areas;
    addRangeBoxes(
        {underlinedRange, {static_cast<UINT32>(appState.typedCount), static_cast<UINT32>(appState.underlineLength)}},
        areas);
    if (shownMark != FrameMark::none)
        addFrameBand(areas);
    joinTouchingAreas(areas);
    shownMark = appState.mismatchShown ? FrameMark::red : FrameMark::none;
    if (!areas.empty())
        drawScene(shownMark, areas);
    else if (appState.textLayout)
        underlineCurrentWord();
}

void showMismatchFrame()
{
    if (appState.mismatchShown || !appState.typingEdit)
        return;
    appState.mismatchShown = true;
    shownMark = FrameMark::red;
    std::vector<RECT> band;
    addFrameBand(band);
    drawScene(shownMark, band);
}

void clearMismatchFrame()
{
    if (!appState.mismatchShown)
        return;
    appState.mismatchShown = false;
    // With no box (the results screen replaced it) there is no rectangle of a current box to
    // erase at: only the flag goes; the uncovered area is repainted anyway.
    if (!appState.typingEdit) {
        shownMark = FrameMark::none;
        return;
    }
    shownMark = FrameMark::hairline;
    std::vector<RECT> band;
    addFrameBand(band);
    drawScene(shownMark, band);
}
