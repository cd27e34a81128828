// The scene on the main window's client area, drawn by event within the areas each event changes.
#include "render/quoteRendering.h"

#include "app/appState.h"
#include "render/deviceResources.h"
#include "render/dirtyAreas.h"
#include "render/textWithinArea.h"

#include <algorithm>
#include <array>
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

// What the surface shows round the box now. A pass over the frame's band is owed while anything
// shows there.
FrameMark shownMark = FrameMark::none;

// The one range switched on in the layout's underline. Only underlineCurrentWord changes it,
// from the attempt's progress, so no drawing pass can bring back the underline of a word that
// is done. A new layout starts with none; switching the old range off there is harmless.
DWRITE_TEXT_RANGE underlinedRange = {0, 0};
// Whether the layout in appState.textLayout carries underlinedRange; a new layout does not.
bool layoutUnderlined = false;
// How far below the baseline an underline of the current layout can start (measured with the
// layout: its fonts do not change with the underline).
float layoutUnderlineOffset = 0;
// How far the mark round the box reaches out of it: the red frame's outer half (its 4-px stroke
// lies on the box's edge), and with the smoothing of a window target's faint hairline.
const LONG redFrameReach = 2;
const LONG markReach = 5;

D2D1_RECT_F floatRect(const RECT& r)
{
    return D2D1::RectF(static_cast<float>(r.left), static_cast<float>(r.top), static_cast<float>(r.right),
                       static_cast<float>(r.bottom));
}

// Reads where the box is now, in the main window's client coordinates. Without a box (the results
// screen) editRect keeps the place where its mark was last drawn.
void readBoxPlace()
{
    if (!appState.typingEdit)
        return;
    GetWindowRect(appState.typingEdit, &appState.editRect);
    MapWindowPoints(nullptr, appState.mainWindow, reinterpret_cast<POINT*>(&appState.editRect), 2);
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

// Where the quote's ink may reach: its laid-out box, widened by a text size for glyphs that
// overhang it.
RECT quoteReach()
{
    DWRITE_TEXT_METRICS metrics = {};
    if (!appState.textLayout || FAILED(appState.textLayout->GetMetrics(&metrics)))
        return {};
    const float reach = appState.textSize;
    return {static_cast<LONG>(std::floor(textOrigin + metrics.left - reach)),
            static_cast<LONG>(std::floor(textOrigin + metrics.top - reach)),
            static_cast<LONG>(std::ceil(textOrigin + metrics.left + metrics.widthIncludingTrailingWhitespace + reach)),
            static_cast<LONG>(std::ceil(textOrigin + metrics.top + metrics.height + reach))};
}

bool textMayReach(const RECT& area)
{
    const RECT reach = quoteReach();
    RECT both = {};
    return IntersectRect(&both, &area, &reach) != FALSE;
}

// Fills `area` but its part `inside` (which may be empty) with the scene's white, by GDI.
void fillWhiteAround(HDC dc, const RECT& area, const RECT& inside)
{
    SetDCBrushColor(dc, RGB(255, 255, 255));
    const HBRUSH white = static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
    if (IsRectEmpty(&inside)) {
        FillRect(dc, &area, white);
        return;
    }
    for (const RECT& part :
         {RECT{area.left, area.top, area.right, inside.top}, RECT{area.left, inside.bottom, area.right, area.bottom},
          RECT{area.left, inside.top, inside.left, inside.bottom},
          RECT{inside.right, inside.top, area.right, inside.bottom}})
        if (!IsRectEmpty(&part))
            FillRect(dc, &part, white);
}

// The ring of this width round the box, outside it, as four strips along its edges. Inside, the
// box's own window lies, where the main window never draws (it clips its children), so a pass
// there would read back pixels for nothing.
std::array<RECT, 4> ringOutsideBox(LONG width)
{
    const RECT& f = appState.editRect;
    return {RECT{f.left - width, f.top - width, f.right + width, f.top},
            RECT{f.left - width, f.bottom, f.right + width, f.bottom + width},
            RECT{f.left - width, f.top, f.left, f.bottom}, RECT{f.right, f.top, f.right + width, f.bottom}};
}

// The mark drawn with GDI, within `area`, over what a pass through a DC target drew there. A DC
// pass costs half a millisecond and more under Wine whatever it draws, and a GDI fill next to
// nothing; Direct2D draws the frame's stroke there as exactly this ring of solid red (measured:
// its edges lie on whole pixels). The hairline is not drawn: Wine's Direct2D draws a 0.2-px
// stroke as nothing at all (measured), and so the screen stays as it was.
void drawMarkWithGdi(HDC dc, FrameMark mark, const RECT& area)
{
    if (!appState.typingEdit || mark != FrameMark::red)
        return;
    SetDCBrushColor(dc, RGB(255, 0, 0));
    for (const RECT& strip : ringOutsideBox(redFrameReach)) {
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
    if (textMayReach(area))
        drawTextWithinArea(appState.renderTarget.Get(), appState.textLayout.Get(),
                           D2D1::Point2F(textOrigin, textOrigin), appState.blackBrush.Get(), floatRect(area));
    if (appState.typingEdit && mark == FrameMark::red)
        appState.renderTarget->DrawRectangle(floatRect(appState.editRect), appState.redBrush.Get(), 4.0f);
    if (appState.typingEdit && mark == FrameMark::hairline)
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

// The area a pass must cover so that what it draws in `area` is what a whole repaint draws there:
// grown, left and up, to the position of every glyph whose ink reaches it (see
// areaHoldingGlyphOrigins). The underline boxes need none of this: they start at a line's baseline
// and a cluster's start, and measuring costs a walk over the whole layout, dear on the keystroke
// path.
RECT passAreaFor(const RECT& area)
{
    if (!appState.renderTarget || !textMayReach(area))
        return area;
    const D2D1_RECT_F grown = areaHoldingGlyphOrigins(appState.renderTarget.Get(), appState.textLayout.Get(),
                                                      D2D1::Point2F(textOrigin, textOrigin), floatRect(area));
    return {static_cast<LONG>(grown.left), static_cast<LONG>(grown.top), area.right, area.bottom};
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
        // client coordinates still apply; each area gets a pass of its own (the rectangle holding a
        // word and the frame's band far below it would be read back whole, at 0.04 ms for every
        // thousand pixels, where a pass costs half a millisecond by itself).
        HDC windowDc = GetDC(appState.mainWindow);
        if (!windowDc)
            return;
        // Where the quote's ink cannot reach, the scene is white: a GDI fill, almost free, where a
        // pass would cost 0.04 ms for every thousand pixels (the box's place on the results screen
        // at a large size took 9 ms, and the blank part of a whole repaint tens of milliseconds).
        const RECT reach = quoteReach();
        HRESULT result = S_OK;
        for (const RECT& area : targets) {
            RECT inked = {};
            IntersectRect(&inked, &area, &reach);
            fillWhiteAround(windowDc, area, inked);
            if (!IsRectEmpty(&inked) && SUCCEEDED(dcTarget->BindDC(windowDc, &inked))) {
                dcTarget->BeginDraw();
                dcTarget->SetTransform(
                    D2D1::Matrix3x2F::Translation(static_cast<float>(-inked.left), static_cast<float>(-inked.top)));
                drawSceneContent(FrameMark::none, inked);
                dcTarget->SetTransform(D2D1::Matrix3x2F::Identity());
                result = endDrawing(dcTarget.Get());
                if (FAILED(result))
                    break;
            }
            // The pass is on the window by now: EndDraw copies it there.
            drawMarkWithGdi(windowDc, mark, area);
        }
        ReleaseDC(appState.mainWindow, windowDc);
        recoverFromLostDevice(result);
        return;
    }

    // The window target keeps what lies outside the clips (it is made to retain its contents).
    appState.renderTarget->BeginDraw();
    for (const RECT& area : targets) {
        appState.renderTarget->PushAxisAlignedClip(floatRect(area), D2D1_ANTIALIAS_MODE_ALIASED);
        drawSceneContent(mark, area);
        appState.renderTarget->PopAxisAlignedClip();
    }
    recoverFromLostDevice(endDrawing(appState.renderTarget.Get()));
}

// Adds the band that the mark round the box covers outside the box: under Wine the red frame's
// ring (the hairline is nothing there), through a window target the hairline's smoothing too.
void addFrameBand(std::vector<RECT>& areas)
{
    readBoxPlace();
    for (const RECT& strip : ringOutsideBox(drawThroughWindowDc() ? redFrameReach : markReach))
        areas.push_back(passAreaFor(strip));
}

// The frame's band alone, with this mark round the box. Under Wine that is a GDI fill or two
// (see drawScene), and nothing shows round the box after the hairline.
void drawFrameBand(FrameMark mark)
{
    shownMark = mark == FrameMark::hairline && drawThroughWindowDc() ? FrameMark::none : mark;
    std::vector<RECT> band;
    addFrameBand(band);
    drawScene(mark, band);
}

// Adds the boxes where these ranges of the quote show their underline (see addSpanBoxes).
// HitTestTextRange would give the ranges' places but is not implemented by Wine's DirectWrite; the
// line and cluster metrics are. The metrics are read once for all the ranges.
void addUnderlineBoxes(std::initializer_list<DWRITE_TEXT_RANGE> ranges, std::vector<RECT>& areas)
{
    if (!appState.textLayout)
        return;
    UINT32 lineCount = 0;
    appState.textLayout->GetLineMetrics(nullptr, 0, &lineCount);
    std::vector<DWRITE_LINE_METRICS> lineMetrics(lineCount);
    UINT32 clusterCount = 0;
    appState.textLayout->GetClusterMetrics(nullptr, 0, &clusterCount);
    std::vector<DWRITE_CLUSTER_METRICS> clusterMetrics(clusterCount);
    if (lineCount == 0 || FAILED(appState.textLayout->GetLineMetrics(lineMetrics.data(), lineCount, &lineCount)) ||
        FAILED(appState.textLayout->GetClusterMetrics(clusterMetrics.data(), clusterCount, &clusterCount)))
        return;
    std::vector<LineExtent> lines;
    for (const DWRITE_LINE_METRICS& line : lineMetrics)
        lines.push_back({line.length, line.height, line.baseline + layoutUnderlineOffset});
    std::vector<ClusterExtent> clusters;
    for (const DWRITE_CLUSTER_METRICS& cluster : clusterMetrics)
        clusters.push_back({cluster.length, cluster.width, cluster.isRightToLeft != 0});

    std::vector<PixelBox> boxes;
    for (const DWRITE_TEXT_RANGE& range : ranges)
        addSpanBoxes(lines, clusters, {range.startPosition, range.length}, boxes);
    joinBoxesSideBySide(boxes);
    for (const PixelBox& box : boxes)
        areas.push_back({box.left, box.top, box.right, box.bottom});
}

}  // namespace

void rebuildTextLayout()
{
    GetClientRect(appState.mainWindow, &appState.clientRect);
    if (!appState.dwriteFactory || !appState.textFormat)
        return;
    // Tabs are drawn as the blanks that type them; a tab drawn by DirectWrite under Wine has no
    // width at all.
    const std::wstring quote = drawnQuoteText(appState.currentQuote);
    // A minimised window has an empty client area; DirectWrite refuses negative extents.
    float maxWidth = static_cast<float>(std::max<LONG>(appState.clientRect.right - layoutMargin, 0));
    float maxHeight = static_cast<float>(std::max<LONG>(appState.clientRect.bottom - layoutMargin, 0));
    ComPtr<IDWriteTextLayout> layout;
    HRESULT result =
        appState.dwriteFactory->CreateTextLayout(quote.c_str(), static_cast<UINT32>(quote.size()),
                                                 appState.textFormat.Get(), maxWidth, maxHeight, layout.GetAddressOf());
    // On failure the last good layout stays.
    if (SUCCEEDED(result)) {
        appState.textLayout = layout;
        layoutUnderlined = false;
        // Without a target (its making failed) an underline is taken to start at the baseline.
        layoutUnderlineOffset =
            appState.renderTarget ? leastUnderlineOffset(appState.renderTarget.Get(), layout.Get()) : 0.0f;
    }
}

void paintQuote()
{
    // The box may have moved since its mark was last drawn (a layout pass); the keystroke passes
    // read its place only where they draw its band.
    readBoxPlace();
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
    readBoxPlace();
    drawScene(shownMark, {passAreaFor(inside)});
}

void showMismatchFrame()
{
    if (appState.mismatchShown || !appState.typingEdit)
        return;
    appState.mismatchShown = true;
    drawFrameBand(FrameMark::red);
}

void clearMismatchFrame()
{
    if (!appState.mismatchShown || !appState.typingEdit)
        return;
    appState.mismatchShown = false;
    drawFrameBand(FrameMark::hairline);
}

void paintCompletedWord()
{
    // The box has just been emptied: whatever frame or hairline showed round it goes in this
    // same pass, which then leaves what a whole repaint would.
    std::vector<RECT> areas;
    addUnderlineBoxes(
        {underlinedRange, {static_cast<UINT32>(appState.typedCount), static_cast<UINT32>(appState.underlineLength)}},
        areas);
    if (shownMark != FrameMark::none)
        addFrameBand(areas);
    shownMark = appState.mismatchShown ? FrameMark::red : FrameMark::none;
    if (!areas.empty())
        drawScene(shownMark, areas);
    else if (appState.textLayout)
        underlineCurrentWord();
}

void paintBoxGone()
{
    // The box's window took only its own rectangle with it: the frame's outer edge and smoothing
    // lie outside it, where no paint message reaches.
    appState.mismatchShown = false;
    if (shownMark == FrameMark::none)
        return;
    // Left to the paint message that the box's own place already asks for: one pass over both
    // instead of four strips and then the box.
    shownMark = FrameMark::none;
    RECT band = appState.editRect;
    InflateRect(&band, markReach, markReach);
    InvalidateRect(appState.mainWindow, &band, FALSE);
}
