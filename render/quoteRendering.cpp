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

// What a layout is made from: layouts of the same text, box and format draw the same (the layout
// request makes one anew each time). The format is held, so no new one takes its address.
struct LayoutSource {
    std::wstring text;
    float maxWidth = 0, maxHeight = 0;
    ComPtr<IDWriteTextFormat> format;
};

bool sameSource(const LayoutSource& a, const LayoutSource& b)
{
    return a.format.Get() == b.format.Get() && a.maxWidth == b.maxWidth && a.maxHeight == b.maxHeight &&
           a.text == b.text;
}

// The current layout's source, numbered in the order sources came, and what the drawing measures
// of it once (the underline changes neither fonts nor glyph places): where its ink may reach, and
// the line and cluster metrics that place an underline (Wine has no HitTestTextRange).
struct LayoutFacts {
    LayoutSource source;
    unsigned number = 0;
    bool measured = false;
    RECT reach = {};
    std::vector<LineExtent> lines;
    std::vector<ClusterExtent> clusters;
};
LayoutFacts layoutFacts;

// The record of what the target shows now. The red frame is appState.mismatchShown, and
// appState.editRect where the box was when its mark was drawn.
struct ShownScene {
    unsigned layoutNumber = 0;  // the source drawn; 0 for none
    DWRITE_TEXT_RANGE underlined = {0, 0};
    bool hairline = false;
};
ShownScene shown;

// The range the layout's underline is on, and whether appState.textLayout carries it (a new one
// does not).
DWRITE_TEXT_RANGE layoutUnderline = {0, 0};
bool layoutUnderlined = false;

// How far the mark reaches out of the box: the red frame's outer half (its 4-px stroke lies on the
// box's edge), and with the smoothing of the window target's hairline.
const LONG redFrameReach = 2;
const LONG markReach = 5;

bool sameRange(const DWRITE_TEXT_RANGE& a, const DWRITE_TEXT_RANGE& b)
{
    return a.startPosition == b.startPosition && a.length == b.length;
}

D2D1_RECT_F floatRect(const RECT& r)
{
    return D2D1::RectF(static_cast<float>(r.left), static_cast<float>(r.top), static_cast<float>(r.right),
                       static_cast<float>(r.bottom));
}

// Where the box is now, in client coordinates; empty without one (the results screen).
RECT currentBoxPlace()
{
    RECT place = {};
    if (!appState.typingEdit)
        return place;
    GetWindowRect(appState.typingEdit, &place);
    MapWindowPoints(nullptr, appState.mainWindow, reinterpret_cast<POINT*>(&place), 2);
    return place;
}

// The target as one bound to the window's DC, or null.
ComPtr<ID2D1DCRenderTarget> dcTarget()
{
    ComPtr<ID2D1DCRenderTarget> target;
    if (appState.renderTarget)
        appState.renderTarget.As(&target);
    return target;
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
    // The laid-out box, widened by a text size for glyphs that overhang it.
    if (SUCCEEDED(layout->GetMetrics(&metrics))) {
        const float reach = appState.textSize;
        facts.reach = {
            static_cast<LONG>(std::floor(textOrigin + metrics.left - reach)),
            static_cast<LONG>(std::floor(textOrigin + metrics.top - reach)),
            static_cast<LONG>(std::ceil(textOrigin + metrics.left + metrics.widthIncludingTrailingWhitespace + reach)),
            static_cast<LONG>(std::ceil(textOrigin + metrics.top + metrics.height + reach))};
    }
    const float underlineOffset = leastUnderlineOffset(appState.renderTarget.Get(), layout);
    UINT32 lineCount = 0, clusterCount = 0;
    layout->GetLineMetrics(nullptr, 0, &lineCount);
    layout->GetClusterMetrics(nullptr, 0, &clusterCount);
    std::vector<DWRITE_LINE_METRICS> lineMetrics(lineCount);
    std::vector<DWRITE_CLUSTER_METRICS> clusterMetrics(clusterCount);
    if (lineCount == 0 || FAILED(layout->GetLineMetrics(lineMetrics.data(), lineCount, &lineCount)) ||
        FAILED(layout->GetClusterMetrics(clusterMetrics.data(), clusterCount, &clusterCount)))
        return facts;
    for (const DWRITE_LINE_METRICS& line : lineMetrics)
        facts.lines.push_back({line.length, line.height, line.baseline + underlineOffset});
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
    // Changing the underline makes DirectWrite lay out its runs again.
    if (layoutUnderlined && sameRange(current, layoutUnderline))
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

// The ring of this width outside `f`, as four strips (the main window never draws inside its box).
std::array<RECT, 4> ringOutside(const RECT& f, LONG width)
{
    return {RECT{f.left - width, f.top - width, f.right + width, f.top},
            RECT{f.left - width, f.bottom, f.right + width, f.bottom + width},
            RECT{f.left - width, f.top, f.left, f.bottom}, RECT{f.right, f.top, f.right + width, f.bottom}};
}

// The red frame by GDI within `area`, over a DC pass: a GDI fill costs next to nothing where a DC
// pass costs 0.5 ms, and Direct2D draws the stroke as exactly this ring (its edges lie on pixels).
void drawRedFrameWithGdi(HDC dc, const RECT& area)
{
    SetDCBrushColor(dc, RGB(255, 0, 0));
    for (const RECT& strip : ringOutside(appState.editRect, redFrameReach)) {
        RECT part = {};
        if (IntersectRect(&part, &strip, &area))
            FillRect(dc, &part, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    }
}

// Everything the scene holds, in client coordinates, but only the glyphs that can show in `area`:
// under Wine text costs by the glyph wherever the pass lands, the dearest step of a small pass.
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

// A lost device (a driver reset, sleep, a remote session): target and brushes anew, all repainted.
void recoverFromLostDevice(HRESULT endResult)
{
    if (endResult == static_cast<HRESULT>(D2DERR_RECREATE_TARGET)) {
        discardDeviceResources();
        createDeviceResources();
        InvalidateRect(appState.mainWindow, nullptr, FALSE);
    }
}

// The area a pass must cover to draw in `area`, which may cut glyphs, what a whole repaint does.
RECT holdingGlyphOrigins(const RECT& area)
{
    if (!appState.textLayout || !textMayReach(area))
        return area;
    const D2D1_RECT_F grown = areaHoldingGlyphOrigins(appState.renderTarget.Get(), appState.textLayout.Get(),
                                                      D2D1::Point2F(textOrigin, textOrigin), floatRect(area));
    return {static_cast<LONG>(grown.left), static_cast<LONG>(grown.top), area.right, area.bottom};
}

// Under Wine: a DC target draws into a bitmap of the rectangle it is bound to, one pass for each
// area (a word and the frame's band far below would be read back whole, at 0.04 ms a thousand
// pixels, where a pass costs 0.5 ms). Where the quote's ink cannot reach, white is a GDI fill,
// almost free (a pass over the box's place took 9 ms at a large size); so is the red frame. The
// hairline is not drawn: Wine's Direct2D draws a 0.2-px stroke as nothing (measured).
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

// On Windows: one pass of the window's target, clipped to each area in turn; it keeps what lies
// outside the clips (made to retain its contents).
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

bool coversClient(const RECT& area)
{
    RECT inside = {};
    return IntersectRect(&inside, &area, &appState.clientRect) && EqualRect(&inside, &appState.clientRect);
}

// Brings the target to what the attempt asks: the current layout with the current word underlined,
// and round the box, where it is now, the red frame while its text is wrong. Draws where the record
// of what the target shows differs from that, and `lost` (what the target no longer holds), then
// records what it drew.
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
        if (!dcTarget())
            lost = {appState.clientRect};
    }
    const ComPtr<ID2D1DCRenderTarget> throughDc = dcTarget();
    const DWRITE_TEXT_RANGE asked = {static_cast<UINT32>(appState.typedCount),
                                     static_cast<UINT32>(appState.underlineLength)};
    const RECT box = currentBoxPlace();
    const bool hasBox = appState.typingEdit != nullptr, boxStays = EqualRect(&box, &appState.editRect) != FALSE;
    const bool whole = shown.layoutNumber != layoutFacts.number || std::any_of(lost.begin(), lost.end(), coversClient);
    const FrameMark shownMark = appState.mismatchShown ? FrameMark::red
                                : shown.hairline       ? FrameMark::hairline
                                                       : FrameMark::none;
    // The erased frame leaves its hairline (Wine draws it as nothing) until the scene changes
    // otherwise or is drawn whole.
    FrameMark mark = FrameMark::none;
    if (hasBox && appState.boxTextWrong)
        mark = FrameMark::red;
    else if (hasBox && !throughDc && !whole && boxStays &&
             (shownMark == FrameMark::red || (shownMark == FrameMark::hairline && sameRange(asked, shown.underlined))))
        mark = FrameMark::hairline;

    std::vector<RECT> areas;  // besides `lost`, areas that cut no glyph
    // The band of the mark that goes and of the one that comes (the box's window takes only its
    // own rectangle with it).
    if (mark != shownMark || !boxStays)
        for (const auto& [place, drawn] : {std::pair{appState.editRect, shownMark}, std::pair{box, mark}})
            if (drawn != FrameMark::none)
                for (const RECT& strip : ringOutside(place, throughDc ? redFrameReach : markReach))
                    lost.push_back(strip);
    if (whole)
        lost = {appState.clientRect};
    else if (!sameRange(asked, shown.underlined))
        addUnderlineBoxes({shown.underlined, asked}, areas);

    appState.editRect = box;
    appState.mismatchShown = mark == FrameMark::red;
    shown = {layoutFacts.number, asked, mark == FrameMark::hairline};
    if (appState.textLayout)
        underlineCurrentWord();
    for (const RECT& area : lost) {
        RECT inside = {};
        if (IntersectRect(&inside, &area, &appState.clientRect))
            areas.push_back(whole ? inside : holdingGlyphOrigins(inside));
    }
    if (areas.empty())
        return;
    if (throughDc)
        drawThroughDcTarget(throughDc.Get(), mark, areas);
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
