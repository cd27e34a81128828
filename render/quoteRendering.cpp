// The scene on the main window's client area, brought to what the attempt asks by drawing what
// differs from what the target shows.
#include "render/quoteRendering.h"

#include "app/appState.h"
#include "render/deviceResources.h"
#include "render/dirtyAreas.h"
#include "render/textWithinArea.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

// What is drawn round the typing box besides the quote.
enum class FrameMark {
    none,
    red,       // the text in the box is wrong
    hairline,  // the red frame was erased: a faint outline stays until the scene changes
};

// What a layout is made from: two layouts of the same text, box and format draw the same (the
// layout request makes one anew each time, mostly of the same source).
struct LayoutSource {
    std::wstring text;
    float maxWidth = 0, maxHeight = 0;
    ComPtr<IDWriteTextFormat> format;  // held, so that a new format never takes an old one's address
};

bool sameSource(const LayoutSource& a, const LayoutSource& b)
{
    return a.format.Get() == b.format.Get() && a.maxWidth == b.maxWidth && a.maxHeight == b.maxHeight &&
           a.text == b.text;
}

// The current layout's source and what the drawing measures of it, read once for each layout
// (its fonts and glyph places do not change with the underline).
struct LayoutFacts {
    LayoutSource source;
    // Numbers the sources in the order they came: the record names the one it shows by it.
    unsigned number = 0;
    bool measured = false;
    // Where the quote's ink may reach: its laid-out box, widened by a text size for glyphs that
    // overhang it.
    RECT reach = {};
    // How far below the baseline an underline can start, and the line and cluster metrics that
    // place an underline (Wine's DirectWrite has no HitTestTextRange).
    float underlineOffset = 0;
    std::vector<LineExtent> lines;
    std::vector<ClusterExtent> clusters;
};
LayoutFacts layoutFacts;

// The record of what the target shows now. The red frame is appState.mismatchShown, and
// appState.editRect where the box was when its mark was drawn.
struct ShownScene {
    unsigned layoutNumber = 0;  // the source of the layout drawn; 0 while nothing is
    DWRITE_TEXT_RANGE underlined = {0, 0};
    bool hairline = false;
};
ShownScene shown;

// The one range the layout's underline has switched on, and whether the layout in
// appState.textLayout carries it (a new layout does not). Only underlineCurrentWord changes them.
DWRITE_TEXT_RANGE layoutUnderline = {0, 0};
bool layoutUnderlined = false;

// How far the mark round the box reaches out of it: the red frame's outer half (its 4-px stroke
// lies on the box's edge), and with the smoothing of a window target's faint hairline.
const LONG redFrameReach = 2;
const LONG markReach = 5;

D2D1_RECT_F floatRect(const RECT& r)
{
    return D2D1::RectF(static_cast<float>(r.left), static_cast<float>(r.top), static_cast<float>(r.right),
                       static_cast<float>(r.bottom));
}

// Where the box is now, in the main window's client coordinates; empty without one (the results
// screen).
RECT currentBoxPlace()
{
    RECT place = {};
    if (!appState.typingEdit)
        return place;
    GetWindowRect(appState.typingEdit, &place);
    MapWindowPoints(nullptr, appState.mainWindow, reinterpret_cast<POINT*>(&place), 2);
    return place;
}

bool isDcTarget()
{
    ComPtr<ID2D1DCRenderTarget> dcTarget;
    return appState.renderTarget && SUCCEEDED(appState.renderTarget.As(&dcTarget));
}

// Reads what the drawing needs of the current layout, once for each layout.
const LayoutFacts& measuredLayout()
{
    LayoutFacts& facts = layoutFacts;
    IDWriteTextLayout* layout = appState.textLayout.Get();
    if (facts.measured || !layout || !appState.renderTarget)
        return facts;
    facts.measured = true;
    DWRITE_TEXT_METRICS metrics = {};
    if (SUCCEEDED(layout->GetMetrics(&metrics))) {
        const float reach = appState.textSize;
        facts.reach = {
            static_cast<LONG>(std::floor(textOrigin + metrics.left - reach)),
            static_cast<LONG>(std::floor(textOrigin + metrics.top - reach)),
            static_cast<LONG>(std::ceil(textOrigin + metrics.left + metrics.widthIncludingTrailingWhitespace + reach)),
            static_cast<LONG>(std::ceil(textOrigin + metrics.top + metrics.height + reach))};
    }
    facts.underlineOffset = leastUnderlineOffset(appState.renderTarget.Get(), layout);
    UINT32 lineCount = 0, clusterCount = 0;
    layout->GetLineMetrics(nullptr, 0, &lineCount);
    layout->GetClusterMetrics(nullptr, 0, &clusterCount);
    std::vector<DWRITE_LINE_METRICS> lineMetrics(lineCount);
    std::vector<DWRITE_CLUSTER_METRICS> clusterMetrics(clusterCount);
    if (lineCount == 0 || FAILED(layout->GetLineMetrics(lineMetrics.data(), lineCount, &lineCount)) ||
        FAILED(layout->GetClusterMetrics(clusterMetrics.data(), clusterCount, &clusterCount)))
        return facts;
    for (const DWRITE_LINE_METRICS& line : lineMetrics)
        facts.lines.push_back({line.length, line.height, line.baseline + facts.underlineOffset});
    for (const DWRITE_CLUSTER_METRICS& cluster : clusterMetrics)
        facts.clusters.push_back({cluster.length, cluster.width, cluster.isRightToLeft != 0});
    return facts;
}

bool textMayReach(const RECT& area)
{
    RECT both = {};
    return IntersectRect(&both, &area, &measuredLayout().reach) != FALSE;
}

void underlineCurrentWord()
{
    const DWRITE_TEXT_RANGE current = {static_cast<UINT32>(appState.typedCount),
                                       static_cast<UINT32>(appState.underlineLength)};
    // Changing the underline makes DirectWrite lay out its runs again, so a layout that already
    // carries this range is left alone.
    if (layoutUnderlined && current.startPosition == layoutUnderline.startPosition &&
        current.length == layoutUnderline.length)
        return;
    layoutUnderlined = true;
    appState.textLayout->SetUnderline(FALSE, layoutUnderline);
    appState.textLayout->SetUnderline(TRUE, current);
    layoutUnderline = current;
}

// Fills `area` but its part `inside` (which may be empty) with the scene's white, by GDI.
void fillWhiteAround(HDC dc, const RECT& area, const RECT& inside)
{
    const int saved = SaveDC(dc);
    ExcludeClipRect(dc, inside.left, inside.top, inside.right, inside.bottom);
    SetDCBrushColor(dc, RGB(255, 255, 255));
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    RestoreDC(dc, saved);
}

// The ring of this width round `box`, outside it, as four strips. Inside lies the box's own
// window, where the main window never draws (it clips its children).
std::array<RECT, 4> ringOutside(const RECT& f, LONG width)
{
    return {RECT{f.left - width, f.top - width, f.right + width, f.top},
            RECT{f.left - width, f.bottom, f.right + width, f.bottom + width},
            RECT{f.left - width, f.top, f.left, f.bottom}, RECT{f.right, f.top, f.right + width, f.bottom}};
}

// The red frame drawn with GDI, within `area`, over what a pass through a DC target drew there: a
// GDI fill costs next to nothing where a DC pass costs 0.5 ms and more, and Direct2D draws the
// frame's stroke as exactly this ring of solid red (measured: its edges lie on whole pixels).
void drawRedFrameWithGdi(HDC dc, const RECT& area)
{
    SetDCBrushColor(dc, RGB(255, 0, 0));
    for (const RECT& strip : ringOutside(appState.editRect, redFrameReach)) {
        RECT part = {};
        if (IntersectRect(&part, &strip, &area))
            FillRect(dc, &part, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    }
}

// Everything the whole scene holds, in client coordinates; the caller restricts where it lands.
// Only the glyphs that can show in the area are drawn: under Wine, drawing text costs by the glyph
// wherever the pass lands, by far the dearest step of a small pass.
void drawSceneContent(FrameMark mark, const RECT& area)
{
    appState.renderTarget->Clear(D2D1::ColorF(1, 1, 1, 1));
    if (appState.textLayout && textMayReach(area))
        drawTextWithinArea(appState.renderTarget.Get(), appState.textLayout.Get(),
                           D2D1::Point2F(textOrigin, textOrigin), appState.blackBrush.Get(), floatRect(area));
    if (mark == FrameMark::red)
        appState.renderTarget->DrawRectangle(floatRect(appState.editRect), appState.redBrush.Get(), 4.0f);
    if (mark == FrameMark::hairline)
        appState.renderTarget->DrawRectangle(floatRect(appState.editRect), appState.blackBrush.Get(), 0.2f);
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

// The area a pass must cover so that what it draws in `area`, which may cut glyphs, is what a
// whole repaint draws there.
RECT holdingGlyphOrigins(const RECT& area)
{
    if (!appState.textLayout || !textMayReach(area))
        return area;
    const D2D1_RECT_F grown = areaHoldingGlyphOrigins(appState.renderTarget.Get(), appState.textLayout.Get(),
                                                      D2D1::Point2F(textOrigin, textOrigin), floatRect(area));
    return {static_cast<LONG>(grown.left), static_cast<LONG>(grown.top), area.right, area.bottom};
}

// Under Wine: a DC target draws into a bitmap the size of the rectangle it is bound to, shifted
// so that client coordinates still apply, one pass for each area (the rectangle holding a word
// and the frame's band far below would be read back whole, at 0.04 ms a thousand pixels, where a
// pass costs 0.5 ms by itself). Where the quote's ink cannot reach, the scene's white is a GDI
// fill, almost free (a pass over the box's place on the results screen took 9 ms at a large
// size); so is the red frame, over what the pass left. The hairline is not drawn: Wine's Direct2D
// draws a 0.2-px stroke as nothing at all (measured).
void drawThroughDcTarget(ID2D1DCRenderTarget* dcTarget, FrameMark mark, const std::vector<RECT>& areas)
{
    HDC windowDc = GetDC(appState.mainWindow);
    if (!windowDc)
        return;
    const RECT reach = measuredLayout().reach;
    HRESULT result = S_OK;
    for (const RECT& area : areas) {
        RECT inked = {};
        IntersectRect(&inked, &area, &reach);
        fillWhiteAround(windowDc, area, inked);
        if (!IsRectEmpty(&inked) && SUCCEEDED(dcTarget->BindDC(windowDc, &inked))) {
            dcTarget->BeginDraw();
            dcTarget->SetTransform(
                D2D1::Matrix3x2F::Translation(static_cast<float>(-inked.left), static_cast<float>(-inked.top)));
            drawSceneContent(FrameMark::none, inked);
            dcTarget->SetTransform(D2D1::Matrix3x2F::Identity());
            result = endDrawing(dcTarget);
            if (FAILED(result))
                break;
        }
        // The pass is on the window by now: EndDraw copies it there.
        if (mark == FrameMark::red)
            drawRedFrameWithGdi(windowDc, area);
    }
    ReleaseDC(appState.mainWindow, windowDc);
    recoverFromLostDevice(result);
}

// On Windows: one pass of the window's target, clipped to each area in turn. The target keeps
// what lies outside the clips (it is made to retain its contents).
void drawThroughWindowTarget(FrameMark mark, const std::vector<RECT>& areas)
{
    appState.renderTarget->BeginDraw();
    for (const RECT& area : areas) {
        appState.renderTarget->PushAxisAlignedClip(floatRect(area), D2D1_ANTIALIAS_MODE_ALIASED);
        drawSceneContent(mark, area);
        appState.renderTarget->PopAxisAlignedClip();
    }
    recoverFromLostDevice(endDrawing(appState.renderTarget.Get()));
}

// Adds the boxes where these ranges of the quote show their underline (see addSpanBoxes).
void addUnderlineBoxes(std::initializer_list<DWRITE_TEXT_RANGE> ranges, std::vector<RECT>& areas)
{
    const LayoutFacts& facts = measuredLayout();
    std::vector<PixelBox> boxes;
    for (const DWRITE_TEXT_RANGE& range : ranges)
        addSpanBoxes(facts.lines, facts.clusters, {range.startPosition, range.length}, boxes);
    joinBoxesSideBySide(boxes);
    for (const PixelBox& box : boxes)
        areas.push_back({box.left, box.top, box.right, box.bottom});
}

bool sameRange(const DWRITE_TEXT_RANGE& a, const DWRITE_TEXT_RANGE& b)
{
    return a.startPosition == b.startPosition && a.length == b.length;
}

// Brings the target to what the attempt asks: the layout of the current quote with its current
// word underlined, and round the box, where it is now, the red frame while its text is wrong. It
// draws the areas where the record of what the target shows differs from that, and `lost` (parts
// of the client area whose pixels the target no longer holds), then records what it drew.
void drawDifference(std::vector<RECT> lost)
{
    GetClientRect(appState.mainWindow, &appState.clientRect);
    // A minimised window has no client area to draw on; restored, it gets a whole paint message.
    if (IsIconic(appState.mainWindow) || IsRectEmpty(&appState.clientRect))
        return;
    // The target and its brushes are made, and kept, all together or not at all. A new window
    // target holds nothing yet.
    if (!appState.renderTarget) {
        if (!createDeviceResources())
            return;
        if (!isDcTarget())
            lost = {appState.clientRect};
    }
    const bool dcTarget = isDcTarget();
    const DWRITE_TEXT_RANGE asked = {static_cast<UINT32>(appState.typedCount),
                                     static_cast<UINT32>(appState.underlineLength)};
    const RECT box = currentBoxPlace();
    const bool hasBox = appState.typingEdit != nullptr;
    const bool layoutSame = shown.layoutNumber == layoutFacts.number;
    const bool whole = !layoutSame || std::any_of(lost.begin(), lost.end(), [](const RECT& area) {
        RECT inside = {};
        return IntersectRect(&inside, &area, &appState.clientRect) && EqualRect(&inside, &appState.clientRect);
    });
    const FrameMark shownMark = appState.mismatchShown ? FrameMark::red
                                : shown.hairline       ? FrameMark::hairline
                                                       : FrameMark::none;
    // The erased frame leaves its hairline (Wine draws it as nothing), which stays until the scene
    // changes otherwise or is drawn whole.
    FrameMark mark = FrameMark::none;
    if (hasBox && appState.boxTextWrong)
        mark = FrameMark::red;
    else if (hasBox && !dcTarget && !whole && EqualRect(&box, &appState.editRect) &&
             (shownMark == FrameMark::red || (shownMark == FrameMark::hairline && sameRange(asked, shown.underlined))))
        mark = FrameMark::hairline;

    std::vector<RECT> areas;  // besides `lost`: areas that cut no glyph
    const bool markMoves = mark != shownMark || !EqualRect(&box, &appState.editRect);
    if (!hasBox && shownMark != FrameMark::none) {
        // The box's window took only its own rectangle with it: the frame's outer edge and
        // smoothing lie outside it, where no paint message reaches. They join the paint message
        // its own place already asks for: one pass over both instead of four strips and the box.
        RECT band = appState.editRect;
        InflateRect(&band, markReach, markReach);
        InvalidateRect(appState.mainWindow, &band, FALSE);
    } else if (markMoves) {
        // The band of the mark that goes and of the one that comes.
        const LONG reach = dcTarget ? redFrameReach : markReach;
        if (shownMark != FrameMark::none)
            for (const RECT& strip : ringOutside(appState.editRect, reach))
                lost.push_back(strip);
        if (mark != FrameMark::none)
            for (const RECT& strip : ringOutside(box, reach))
                lost.push_back(strip);
    }
    if (whole)
        lost = {appState.clientRect};
    else if (!sameRange(asked, shown.underlined))
        addUnderlineBoxes({shown.underlined, asked}, areas);

    // Record what the pass leaves.
    appState.editRect = box;
    appState.mismatchShown = mark == FrameMark::red;
    shown.hairline = mark == FrameMark::hairline;
    shown.underlined = asked;
    shown.layoutNumber = layoutFacts.number;
    if (appState.textLayout)
        underlineCurrentWord();

    for (RECT& area : lost) {
        RECT inside = {};
        if (!IntersectRect(&inside, &area, &appState.clientRect))
            continue;
        areas.push_back(EqualRect(&inside, &appState.clientRect) ? inside : holdingGlyphOrigins(inside));
    }
    if (areas.empty())
        return;
    ComPtr<ID2D1DCRenderTarget> dcTargetOf;
    if (SUCCEEDED(appState.renderTarget.As(&dcTargetOf)))
        drawThroughDcTarget(dcTargetOf.Get(), mark, areas);
    else
        drawThroughWindowTarget(mark, areas);
}

}  // namespace

void rebuildTextLayout()
{
    GetClientRect(appState.mainWindow, &appState.clientRect);
    if (!appState.dwriteFactory || !appState.textFormat)
        return;
    LayoutSource source;
    // Tabs are drawn as the blanks that type them (under Wine a tab has no width at all).
    source.text = drawnQuoteText(appState.currentQuote);
    // A minimised window has an empty client area; DirectWrite refuses negative extents.
    source.maxWidth = static_cast<float>(std::max<LONG>(appState.clientRect.right - layoutMargin, 0));
    source.maxHeight = static_cast<float>(std::max<LONG>(appState.clientRect.bottom - layoutMargin, 0));
    source.format = appState.textFormat;
    ComPtr<IDWriteTextLayout> layout;
    // On failure the last good layout stays.
    if (FAILED(appState.dwriteFactory->CreateTextLayout(source.text.c_str(), static_cast<UINT32>(source.text.size()),
                                                        source.format.Get(), source.maxWidth, source.maxHeight,
                                                        layout.GetAddressOf())))
        return;
    appState.textLayout = layout;
    layoutUnderlined = false;
    // A layout of the same source draws and measures the same.
    static unsigned sourcesSeen = 0;
    if (!sameSource(source, layoutFacts.source)) {
        layoutFacts = LayoutFacts{};
        layoutFacts.source = std::move(source);
        layoutFacts.number = ++sourcesSeen;
    }
}

void paintChanges()
{
    drawDifference({});
}

void paintQuote()
{
    GetClientRect(appState.mainWindow, &appState.clientRect);
    drawDifference({appState.clientRect});
}

void paintQuoteWithin(const RECT& area)
{
    drawDifference({area});
}

void showMismatchFrame()
{
    appState.boxTextWrong = true;
    drawDifference({});
}

void clearMismatchFrame()
{
    appState.boxTextWrong = false;
    drawDifference({});
}
