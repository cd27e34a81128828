// Drawing a text layout where it can show in one area of the render target.
#pragma once

#include <d2d1.h>
#include <dwrite.h>

// Draws what DrawTextLayout with no options would draw at `origin`, but only the glyphs and
// underlines whose ink may reach into `area` (in the same coordinates as `origin`). Whole glyph
// runs, as the layout gives them, are drawn where the area holds all of their glyphs.
void drawTextWithinArea(ID2D1RenderTarget* target, IDWriteTextLayout* layout, D2D1_POINT_2F origin, ID2D1Brush* brush,
                        const D2D1_RECT_F& area);

// How far below the baseline an underline of this layout can start at the highest: the least
// underline offset among the fonts of its runs (an underline over runs of several fonts lies at
// the average of theirs, weighted by their widths), or 0 for a layout without glyphs.
float leastUnderlineOffset(ID2D1RenderTarget* target, IDWriteTextLayout* layout);

// The area grown, left and up, to the pen position and baseline of every glyph whose ink may reach
// into it, for a render target bound to that area of a DC. Such a target truncates each glyph's
// position towards zero: a glyph placed left of or above the bound rectangle, between pixels,
// lands a pixel off where a whole repaint puts it, a seam where the area's edge cuts its ink.
// Measured with the target's transform as it stands, which must be a whole-pixel translation.
D2D1_RECT_F areaHoldingGlyphOrigins(ID2D1RenderTarget* target, IDWriteTextLayout* layout, D2D1_POINT_2F origin,
                                    const D2D1_RECT_F& area);
