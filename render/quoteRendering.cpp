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

// These record what the screen and the layout show, not the attempt's progress, which lives in
// appState and is read at each pass.
// The mark the screen shows round the box now: a pass over the frame's band is owed while there
// is one.
FrameMark shownMark = FrameMark::none;
// The one range the layout's underline has switched on. Only underlineCurrentWord changes it,
// from the attempt's progress, so no drawing pass can bring back the underline of a word that is
// done. A new layout starts with none; switching the old range off there is harmless.
DWRITE_TEXT_RANGE underlinedRange = {0, 0};
// Whether the layout in appState.textLayout carries underlinedRange; a new layout does not.
bool layoutUnderlined = false;
// How far below the baseline an underline of the layout can start (measured with the layout:
// its fonts do not change with the underline).
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
    const int saved = SaveDC(dc);
    ExcludeClipRect(dc, inside.left, inside.top, inside.right, inside.bottom);
    SetDCBrushColor(dc, RGB(255, 255, 255));
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    RestoreDC(dc, saved);
}

// The ring of this width round the box, outside it, as four strips. Inside lies the box's own
// window, where the main window never draws (it clips its children).
std::array<RECT, 4> ringOutsideBox(LONG width)
{
    const RECT& f = appState.editRect;
    return {RECT{f.left - width, f.top - width, f.right + width, f.top},
            RECT{f.left - width, f.bottom, f.right + width, f.bottom + width},
            RECT{f.left - width, f.top, f.left, f.bottom}, RECT{f.right, f.top, f.right + width, f.bottom}};
}

// The mark drawn with GDI, within `area`, over what a pass through a DC target drew there: a GDI
// fill costs next to nothing where a DC pass costs 0.5 ms and more, and Direct2D draws the frame's
// stroke as exactly this ring of solid red (measured: its edges lie on whole pixels). The hairline
// is not drawn: Wine's Direct2D draws a 0.2-px stroke as nothing at all (measured).
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

// The area a pass must cover so that what it draws in `area` is what a whole repaint draws there.
RECT passAreaFor(const RECT& area)
{
    if (!appState.renderTarget || !textMayReach(area))
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
// size); so is the mark, over what the pass left.
void drawThroughDcTarget(ID2D1DCRenderTarget* dcTarget, FrameMark mark, const std::vector<RECT>& areas)
{
    HDC windowDc = GetDC(appState.mainWindow);
    if (!windowDc)
        return;
    const RECT reach = quoteReach();
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
        drawMarkWithGdi(windowDc, mark, area);
    }
    ReleaseDC(appState.mainWindow, windowDc);
    recoverFromLostDevice(result);
}

// On Windows: one pass of the window target, clipped to each area in turn. The target keeps what
// lies outside the clips (it is made to retain its contents).
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

// One drawing pass, as an event describes it; commitPass carries it out. Drawing costs by the
// pixel and by the glyph, so a pass covers only what the event changed.
struct ScenePass {
    std::vector<RECT> areas;  // what the event changed, in client pixels
    bool whole = false;       // the whole client area instead
    // Areas that may cut glyphs (a paint message's), grown to the positions of the glyphs whose
    // ink reaches them (see areaHoldingGlyphOrigins). Underline boxes need none: they start at a
    // line's baseline and a cluster's start, and measuring walks the whole layout.
    bool growAreas = false;
    bool frameBand = false;                 // also the band the mark round the box covers, where the box is now
    FrameMark mark = FrameMark::none;       // the mark the pass draws round the box
    FrameMark markAfter = FrameMark::none;  // what the screen shows round the box afterwards
};

void commitPass(ScenePass pass)
{
    // The box may have moved since its mark was last drawn (a layout pass): passes that may draw
    // the mark where it is now read its place; the keystroke passes without a band do not.
    if (pass.whole || pass.growAreas || pass.frameBand)
        readBoxPlace();
    for (RECT& area : pass.areas)
        area = pass.growAreas ? passAreaFor(area) : area;
    // The band: the red frame's ring under Wine (no hairline there), else with the hairline's smoothing.
    if (pass.frameBand)
        for (const RECT& strip : ringOutsideBox(drawThroughWindowDc() ? redFrameReach : markReach))
            pass.areas.push_back(passAreaFor(strip));
    shownMark = pass.markAfter;
    if (appState.textLayout)
        underlineCurrentWord();
    if (!pass.whole && pass.areas.empty())
        return;
    GetClientRect(appState.mainWindow, &appState.clientRect);
    // A minimised window has no client area to draw on; restored, it gets a whole paint message.
    if (IsIconic(appState.mainWindow) || appState.clientRect.right <= 0 || appState.clientRect.bottom <= 0)
        return;
    // The target and its brushes are made, and kept, all together or not at all.
    if (!appState.renderTarget && !createDeviceResources())
        return;
    if (pass.whole)
        pass.areas = {appState.clientRect};
    ComPtr<ID2D1DCRenderTarget> dcTarget;
    if (SUCCEEDED(appState.renderTarget.As(&dcTarget)))
        drawThroughDcTarget(dcTarget.Get(), pass.mark, pass.areas);
    else
        drawThroughWindowTarget(pass.mark, pass.areas);
}

// Adds the boxes where these ranges of the quote show their underline (see addSpanBoxes), from the
// line and cluster metrics (Wine's DirectWrite has no HitTestTextRange), read once for all.
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
    // Tabs are drawn as the blanks that type them (under Wine a tab has no width at all).
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
    const FrameMark wrong = appState.mismatchShown ? FrameMark::red : FrameMark::none;
    commitPass({{}, true, false, false, wrong, wrong});
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
    const FrameMark mark = appState.mismatchShown ? FrameMark::red : shownMark;
    commitPass({{inside}, false, true, false, mark, mark});
}

void showMismatchFrame()
{
    if (appState.mismatchShown || !appState.typingEdit)
        return;
    appState.mismatchShown = true;
    commitPass({{}, false, false, true, FrameMark::red, FrameMark::red});
}

void clearMismatchFrame()
{
    if (!appState.mismatchShown || !appState.typingEdit)
        return;
    appState.mismatchShown = false;
    // Under Wine the hairline is nothing: nothing shows round the box afterwards.
    commitPass(
        {{}, false, false, true, FrameMark::hairline, drawThroughWindowDc() ? FrameMark::none : FrameMark::hairline});
}

void takeFrameAwayWithWordPass()
{
    // The box is about to be emptied, and its nested change would erase the frame in a pass of
    // its own: the word's pass takes the band instead (shownMark still owes it).
    appState.mismatchShown = false;
}

void paintCompletedWord()
{
    // The box has just been emptied: whatever frame or hairline showed round it goes in this pass.
    const FrameMark wrong = appState.mismatchShown ? FrameMark::red : FrameMark::none;
    ScenePass pass = {{}, false, false, shownMark != FrameMark::none, wrong, wrong};
    addUnderlineBoxes(
        {underlinedRange, {static_cast<UINT32>(appState.typedCount), static_cast<UINT32>(appState.underlineLength)}},
        pass.areas);
    commitPass(pass);
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
