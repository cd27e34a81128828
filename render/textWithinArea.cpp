// Walks a layout's glyph runs with a text renderer of our own for three jobs: drawing what can show
// in an area (Wine rasterises every glyph of a run wherever the pass lands, so only the glyphs whose
// ink may reach it, with the very calls DrawTextLayout makes), finding the glyph positions an area
// must hold, and measuring where underlines can start.
#include "render/textWithinArea.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <vector>

namespace {

// Ink may spill past a glyph's black box by a pixel of smoothing; a little more covers hinting.
const float inkSlack = 2.0f;
// Below a glyph, half a pixel: the band a completed word redraws starts just below the baseline,
// and with the whole slack every glyph standing on it was drawn (0.2 ms each at a large size).
const float inkSlackBelow = 0.5f;

using GlyphRunJob = std::function<void(float x, float y, DWRITE_MEASURING_MODE, const DWRITE_GLYPH_RUN*)>;
using UnderlineJob = std::function<void(float x, float y, const DWRITE_UNDERLINE*)>;

// Hands each glyph run and underline to a job, answering the snapping questions as DrawTextLayout's
// own renderer does for the target.
struct LayoutWalker final : IDWriteTextRenderer {
    ID2D1RenderTarget* target = nullptr;
    GlyphRunJob onGlyphRun;
    UnderlineJob onUnderline;

    // It lives on the stack for the one Draw call that uses it: the count means nothing.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDWritePixelSnapping) ||
            iid == __uuidof(IDWriteTextRenderer)) {
            *object = static_cast<IDWriteTextRenderer*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override
    {
        return 1;
    }
    ULONG STDMETHODCALLTYPE Release() override
    {
        return 1;
    }

    HRESULT STDMETHODCALLTYPE IsPixelSnappingDisabled(void*, BOOL* disabled) override
    {
        *disabled = FALSE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetCurrentTransform(void*, DWRITE_MATRIX* transform) override
    {
        target->GetTransform(reinterpret_cast<D2D1_MATRIX_3X2_F*>(transform));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPixelsPerDip(void*, FLOAT* pixelsPerDip) override
    {
        float dpiX = 96, dpiY = 96;
        target->GetDpi(&dpiX, &dpiY);
        *pixelsPerDip = dpiY / 96.0f;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE DrawGlyphRun(void*, FLOAT x, FLOAT y, DWRITE_MEASURING_MODE measuringMode,
                                           const DWRITE_GLYPH_RUN* run, const DWRITE_GLYPH_RUN_DESCRIPTION*,
                                           IUnknown*) override
    {
        if (run && run->glyphCount > 0)
            onGlyphRun(x, y, measuringMode, run);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DrawUnderline(void*, FLOAT x, FLOAT y, const DWRITE_UNDERLINE* underline,
                                            IUnknown*) override
    {
        if (onUnderline)
            onUnderline(x, y, underline);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DrawStrikethrough(void*, FLOAT, FLOAT, const DWRITE_STRIKETHROUGH*, IUnknown*) override
    {
        return S_OK;  // the quote has none
    }
    HRESULT STDMETHODCALLTYPE DrawInlineObject(void*, FLOAT, FLOAT, IDWriteInlineObject*, BOOL, BOOL,
                                               IUnknown*) override
    {
        return S_OK;  // nor inline objects
    }
};

void walkLayout(ID2D1RenderTarget* target, IDWriteTextLayout* layout, D2D1_POINT_2F origin, GlyphRunJob onGlyphRun,
                UnderlineJob onUnderline = nullptr)
{
    LayoutWalker walker;
    walker.target = target;
    walker.onGlyphRun = std::move(onGlyphRun);
    walker.onUnderline = std::move(onUnderline);
    layout->Draw(nullptr, &walker, origin.x, origin.y);
}

// The glyphs [first, last) of a run, and the pen position of the first.
struct GlyphSpan {
    UINT32 first;
    UINT32 last;
    float firstX;
};

// The glyphs of a run whose ink may reach `area`: for a left-to-right run, from the first to the
// last such glyph, or from the run's origin when that first glyph lies left of the area (where a
// DC target would place it a pixel off; areas that can cut glyphs are grown beforehand by
// areaHoldingGlyphOrigins). Sideways, right-to-left and metric-less runs are taken whole.
GlyphSpan glyphsInArea(const D2D1_RECT_F& area, float x, float y, const DWRITE_GLYPH_RUN* run,
                       std::vector<DWRITE_GLYPH_METRICS>& glyphMetrics)
{
    const GlyphSpan whole = {0, run->glyphCount, x};
    DWRITE_FONT_METRICS font = {};
    run->fontFace->GetMetrics(&font);
    glyphMetrics.resize(run->glyphCount);
    if (run->isSideways || (run->bidiLevel & 1) != 0 || font.designUnitsPerEm == 0 ||
        FAILED(run->fontFace->GetDesignGlyphMetrics(run->glyphIndices, run->glyphCount, glyphMetrics.data(),
                                                    run->isSideways)))
        return whole;
    const float scale = run->fontEmSize / font.designUnitsPerEm;
    // The font's ascent and descent bound every glyph's height.
    if (y + static_cast<float>(font.descent) * scale + inkSlack <= area.top ||
        y - static_cast<float>(font.ascent) * scale - inkSlack >= area.bottom)
        return {0, 0, x};
    GlyphSpan span = {0, 0, x};
    bool found = false;
    float pen = x;
    for (UINT32 i = 0; i < run->glyphCount; ++i) {
        const DWRITE_GLYPH_METRICS& glyph = glyphMetrics[i];
        const float advance =
            run->glyphAdvances ? run->glyphAdvances[i] : static_cast<float>(glyph.advanceWidth) * scale;
        const DWRITE_GLYPH_OFFSET shift = run->glyphOffsets ? run->glyphOffsets[i] : DWRITE_GLYPH_OFFSET{0, 0};
        // The black box from the design metrics, baseline up: its left and right by the side
        // bearings, its top and bottom by the vertical ones from the vertical origin.
        const int blackWidth = static_cast<int>(glyph.advanceWidth) - glyph.leftSideBearing - glyph.rightSideBearing;
        const int blackTop = glyph.verticalOriginY - glyph.topSideBearing;
        const int blackBottom = glyph.verticalOriginY - static_cast<int>(glyph.advanceHeight) + glyph.bottomSideBearing;
        const float inkLeft = pen + shift.advanceOffset + static_cast<float>(glyph.leftSideBearing) * scale - inkSlack;
        const float inkRight = inkLeft + static_cast<float>(blackWidth) * scale + 2 * inkSlack;
        const float baseline = y - shift.ascenderOffset;
        const bool hasInk = blackWidth > 0 && blackTop > blackBottom;
        if (hasInk && inkRight > area.left && inkLeft < area.right &&
            baseline - static_cast<float>(blackTop) * scale - inkSlack < area.bottom &&
            baseline - static_cast<float>(blackBottom) * scale + inkSlackBelow > area.top) {
            if (!found)
                span = {i, i, pen};
            found = true;
            span.last = i + 1;
        }
        pen += advance;
    }
    if (found && span.firstX < area.left)
        span = {0, span.last, x};
    return span;
}

}  // namespace

void drawTextWithinArea(ID2D1RenderTarget* target, IDWriteTextLayout* layout, D2D1_POINT_2F origin, ID2D1Brush* brush,
                        const D2D1_RECT_F& area)
{
    std::vector<DWRITE_GLYPH_METRICS> glyphMetrics;
    auto drawGlyphs = [&](float x, float y, DWRITE_MEASURING_MODE measuringMode, const DWRITE_GLYPH_RUN* run) {
        const GlyphSpan span = glyphsInArea(area, x, y, run, glyphMetrics);
        if (span.first == span.last)
            return;
        DWRITE_GLYPH_RUN part = *run;
        part.glyphCount = span.last - span.first;
        part.glyphIndices += span.first;
        if (part.glyphAdvances)
            part.glyphAdvances += span.first;
        if (part.glyphOffsets)
            part.glyphOffsets += span.first;
        target->DrawGlyphRun(D2D1::Point2F(span.firstX, y), &part, brush, measuringMode);
    };
    // As DrawTextLayout draws an underline: a line along its middle, at least a pixel thick.
    auto drawUnderline = [&](float x, float y, const DWRITE_UNDERLINE* underline) {
        D2D1_MATRIX_3X2_F m;
        target->GetTransform(&m);
        float dpiX = 96, dpiY = 96;
        target->GetDpi(&dpiX, &dpiY);
        const float onePixel = 96.0f / (dpiY * std::sqrt(m._21 * m._21 + m._22 * m._22));
        const float thickness = std::max(onePixel, underline->thickness);
        const float top = y + underline->offset;
        if (x + underline->width + inkSlack <= area.left || x - inkSlack >= area.right ||
            top + thickness + inkSlack <= area.top || top - inkSlack >= area.bottom)
            return;
        const float middle = top + thickness / 2.0f;
        target->DrawLine(D2D1::Point2F(x, middle), D2D1::Point2F(x + underline->width, middle), brush, thickness);
    };
    walkLayout(target, layout, origin, drawGlyphs, drawUnderline);
}

float leastUnderlineOffset(ID2D1RenderTarget* target, IDWriteTextLayout* layout)
{
    float least = std::numeric_limits<float>::max();
    walkLayout(target, layout, D2D1::Point2F(),
               [&least](float, float, DWRITE_MEASURING_MODE, const DWRITE_GLYPH_RUN* run) {
                   DWRITE_FONT_METRICS font = {};
                   run->fontFace->GetMetrics(&font);
                   // Fonts give the position above the baseline; an underline's offset runs downwards.
                   if (font.designUnitsPerEm != 0)
                       least = std::min(least, -font.underlinePosition * run->fontEmSize / font.designUnitsPerEm);
               });
    return least == std::numeric_limits<float>::max() ? 0.0f : least;
}

D2D1_RECT_F areaHoldingGlyphOrigins(ID2D1RenderTarget* target, IDWriteTextLayout* layout, D2D1_POINT_2F origin,
                                    const D2D1_RECT_F& area)
{
    // Grown, the area may take in the ink of glyphs further left or up, with positions of their
    // own: a few rounds settle it. An underline is geometry, not placed by truncation: no room.
    std::vector<DWRITE_GLYPH_METRICS> glyphMetrics;
    D2D1_RECT_F grown = area;
    for (int round = 0; round < 4; ++round) {
        D2D1_RECT_F reached = grown;
        // The pen positions of the glyphs drawn and their baseline; a right-to-left run advances
        // leftwards from its origin.
        walkLayout(target, layout, origin, [&](float x, float y, DWRITE_MEASURING_MODE, const DWRITE_GLYPH_RUN* run) {
            const GlyphSpan span = glyphsInArea(grown, x, y, run, glyphMetrics);
            if (span.first == span.last)
                return;
            float left = span.firstX;
            if (run->bidiLevel & 1) {
                for (UINT32 i = 0; i < run->glyphCount; ++i)
                    left -= run->glyphAdvances ? run->glyphAdvances[i] : 0.0f;
                left = std::min(left, x);
            }
            reached.left = std::min(reached.left, std::floor(left));
            reached.top = std::min(reached.top, std::floor(y));
        });
        if (reached.left == grown.left && reached.top == grown.top)
            break;
        grown.left = reached.left;
        grown.top = reached.top;
    }
    return grown;
}
