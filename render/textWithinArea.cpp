// A text renderer of our own, handed to IDWriteTextLayout::Draw in place of the one inside
// DrawTextLayout. Wine's Direct2D draws each glyph run by rasterising every glyph of it on the
// CPU, whatever part of the target the pass can touch: a pass over one word cost as much as the
// whole quote's glyphs. This renderer hands on only the glyphs whose ink may reach the pass's
// area, and draws them, and the underline, with the very calls DrawTextLayout makes for them: the
// same baseline origins (snapped by the layout through our answers below, the target's), the same
// measuring mode, the same brush, the underline as a line of its thickness.
#include "render/textWithinArea.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

// Ink may spill past a glyph's black box by a pixel of smoothing; a little more covers hinting.
const float inkSlack = 2.0f;
// Below a glyph the slack is half a pixel: the band a completed word redraws starts just below
// the baseline, and only glyphs whose bottom, rounded to the pixel grid, lies inside it have ink
// there (with the whole slack, every glyph standing on the baseline was drawn, a fifth of a
// millisecond each at a large size).
const float inkSlackBelow = 0.5f;

struct AreaTextRenderer final : IDWriteTextRenderer {
    ID2D1RenderTarget* target;
    ID2D1Brush* brush;
    D2D1_RECT_F area;
    std::vector<DWRITE_GLYPH_METRICS> glyphMetrics;
    // Measuring only: nothing is drawn, `reached` grows to the position of every glyph the
    // drawing would place in the area (the target then answers the snapping questions alone).
    bool measuring = false;
    D2D1_RECT_F reached = {};
    // Measuring where underlines can start instead: the least underline offset of the fonts the
    // glyph runs use.
    float* leastUnderlineOffset = nullptr;

    AreaTextRenderer(ID2D1RenderTarget* renderTarget, ID2D1Brush* textBrush, const D2D1_RECT_F& passArea)
        : target(renderTarget), brush(textBrush), area(passArea), reached(passArea)
    {
    }

    // It lives on the stack for the one Draw call that uses it: its owner is that frame, so the
    // reference count means nothing.
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

    // The answers DrawTextLayout's own renderer gives: snapping on, the target's transform and
    // pixels per DIP, so the layout places and snaps the runs as it would for it.
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
        if (!run || run->glyphCount == 0)
            return S_OK;
        if (leastUnderlineOffset) {
            DWRITE_FONT_METRICS font = {};
            run->fontFace->GetMetrics(&font);
            // Fonts give the position above the baseline; an underline's offset runs downwards.
            if (font.designUnitsPerEm != 0)
                *leastUnderlineOffset =
                    std::min(*leastUnderlineOffset, -font.underlinePosition * run->fontEmSize / font.designUnitsPerEm);
            return S_OK;
        }
        UINT32 first = 0, last = run->glyphCount;  // the glyphs to draw: [first, last)
        float firstX = x;
        if (!run->isSideways && (run->bidiLevel & 1) == 0 && findGlyphsInArea(x, y, run, first, last, firstX)) {
            if (first == last)
                return S_OK;
        } else {
            first = 0;
            last = run->glyphCount;
        }
        if (measuring) {
            noteGlyphPositions(x, y, run, first, last, firstX);
            return S_OK;
        }
        DWRITE_GLYPH_RUN part = *run;
        part.glyphCount = last - first;
        part.glyphIndices += first;
        if (part.glyphAdvances)
            part.glyphAdvances += first;
        if (part.glyphOffsets)
            part.glyphOffsets += first;
        target->DrawGlyphRun(D2D1::Point2F(firstX, y), &part, brush, measuringMode);
        return S_OK;
    }

    // Grows `reached` to the pen positions of the glyphs [first, last) and their baseline; a
    // right-to-left run advances leftwards from its origin.
    void noteGlyphPositions(float x, float y, const DWRITE_GLYPH_RUN* run, UINT32 first, UINT32 last, float firstX)
    {
        if (first == last)
            return;
        float left = firstX;
        if (run->bidiLevel & 1) {
            for (UINT32 i = 0; i < run->glyphCount; ++i)
                left -= run->glyphAdvances ? run->glyphAdvances[i] : 0.0f;
            left = std::min(left, x);
        }
        reached.left = std::min(reached.left, std::floor(left));
        reached.top = std::min(reached.top, std::floor(y));
    }

    // Finds the glyphs of a left-to-right run whose ink may reach the area, and the pen position
    // of the first. A part whose origin lies left of the area starts at the run's own origin
    // instead. (A target bound to a DC rectangle truncates each glyph's position towards zero, so
    // a glyph placed left of the rectangle lands a pixel off; areas that can cut glyphs are grown
    // beforehand by areaHoldingGlyphOrigins, so that no drawn glyph lies there.)
    bool findGlyphsInArea(float x, float y, const DWRITE_GLYPH_RUN* run, UINT32& first, UINT32& last, float& firstX)
    {
        DWRITE_FONT_METRICS font = {};
        run->fontFace->GetMetrics(&font);
        glyphMetrics.resize(run->glyphCount);
        if (font.designUnitsPerEm == 0 ||
            FAILED(run->fontFace->GetDesignGlyphMetrics(run->glyphIndices, run->glyphCount, glyphMetrics.data(),
                                                        run->isSideways)))
            return false;
        const float scale = run->fontEmSize / font.designUnitsPerEm;
        // The font's ascent and descent bound every glyph's height.
        if (y + font.descent * scale + inkSlack <= area.top || y - font.ascent * scale - inkSlack >= area.bottom) {
            first = last = 0;
            return true;
        }
        bool found = false;
        float pen = x;
        for (UINT32 i = 0; i < run->glyphCount; ++i) {
            const DWRITE_GLYPH_METRICS& glyph = glyphMetrics[i];
            const float advance = run->glyphAdvances ? run->glyphAdvances[i] : static_cast<float>(glyph.advanceWidth) * scale;
            const DWRITE_GLYPH_OFFSET shift = run->glyphOffsets ? run->glyphOffsets[i] : DWRITE_GLYPH_OFFSET{0, 0};
            // The black box from the design metrics, baseline up: its left and right by the side
            // bearings, its top and bottom by the vertical ones from the vertical origin.
            const int blackWidth =
                static_cast<int>(glyph.advanceWidth) - glyph.leftSideBearing - glyph.rightSideBearing;
            const int blackTop = glyph.verticalOriginY - glyph.topSideBearing;
            const int blackBottom =
                glyph.verticalOriginY - static_cast<int>(glyph.advanceHeight) + glyph.bottomSideBearing;
            const float inkLeft = pen + shift.advanceOffset + static_cast<float>(glyph.leftSideBearing) * scale - inkSlack;
            const float inkRight = inkLeft + static_cast<float>(blackWidth) * scale + 2 * inkSlack;
            const float baseline = y - shift.ascenderOffset;
            const bool hasInk = blackWidth > 0 && blackTop > blackBottom;
            if (hasInk && inkRight > area.left && inkLeft < area.right &&
                baseline - static_cast<float>(blackTop) * scale - inkSlack < area.bottom &&
                baseline - static_cast<float>(blackBottom) * scale + inkSlackBelow > area.top) {
                if (!found) {
                    found = true;
                    first = i;
                    firstX = pen;
                }
                last = i + 1;
            }
            pen += advance;
        }
        if (!found) {
            first = last = 0;
        } else if (firstX < area.left) {
            first = 0;
            firstX = x;
        }
        return true;
    }

    // As DrawTextLayout draws an underline: a line along its middle, at least a pixel thick.
    HRESULT STDMETHODCALLTYPE DrawUnderline(void*, FLOAT x, FLOAT y, const DWRITE_UNDERLINE* underline,
                                            IUnknown*) override
    {
        if (measuring)
            return S_OK;  // a line is drawn as geometry, not placed by truncation
        D2D1_MATRIX_3X2_F m;
        target->GetTransform(&m);
        float dpiX = 96, dpiY = 96;
        target->GetDpi(&dpiX, &dpiY);
        const float onePixel = 96.0f / (dpiY * std::sqrt(m._21 * m._21 + m._22 * m._22));
        const float thickness = std::max(onePixel, underline->thickness);
        const float top = y + underline->offset;
        if (x + underline->width + inkSlack <= area.left || x - inkSlack >= area.right ||
            top + thickness + inkSlack <= area.top || top - inkSlack >= area.bottom)
            return S_OK;
        const float middle = top + thickness / 2.0f;
        target->DrawLine(D2D1::Point2F(x, middle), D2D1::Point2F(x + underline->width, middle), brush, thickness);
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

}  // namespace

void drawTextWithinArea(ID2D1RenderTarget* target, IDWriteTextLayout* layout, D2D1_POINT_2F origin, ID2D1Brush* brush,
                        const D2D1_RECT_F& area)
{
    AreaTextRenderer renderer(target, brush, area);
    layout->Draw(nullptr, &renderer, origin.x, origin.y);
}

float leastUnderlineOffset(ID2D1RenderTarget* target, IDWriteTextLayout* layout)
{
    AreaTextRenderer renderer(target, nullptr, D2D1::RectF());
    renderer.measuring = true;
    float least = std::numeric_limits<float>::max();
    renderer.leastUnderlineOffset = &least;
    layout->Draw(nullptr, &renderer, 0, 0);
    return least == std::numeric_limits<float>::max() ? 0.0f : least;
}

D2D1_RECT_F areaHoldingGlyphOrigins(ID2D1RenderTarget* target, IDWriteTextLayout* layout, D2D1_POINT_2F origin,
                                    const D2D1_RECT_F& area)
{
    // Grown, the area may take in the ink of glyphs further left or up, which have positions of
    // their own: a few rounds settle it (a glyph's position lies at most its overhang before its
    // ink).
    D2D1_RECT_F grown = area;
    for (int round = 0; round < 4; ++round) {
        AreaTextRenderer renderer(target, nullptr, grown);
        renderer.measuring = true;
        layout->Draw(nullptr, &renderer, origin.x, origin.y);
        if (renderer.reached.left == grown.left && renderer.reached.top == grown.top)
            break;
        grown.left = renderer.reached.left;
        grown.top = renderer.reached.top;
    }
    return grown;
}
