// Drawing a text layout where it can show in one area of the render target.
#pragma once

#include <d2d1.h>
#include <dwrite.h>

// Draws what DrawTextLayout with no options would draw at `origin`, but only the glyphs and
// underlines whose ink may reach into `area` (in the coordinates of `origin`).
void drawTextWithinArea(ID2D1RenderTarget* target, IDWriteTextLayout* layout, D2D1_POINT_2F origin, ID2D1Brush* brush,
                        const D2D1_RECT_F& area);

// How far below the baseline an underline of this layout can start at the highest: the least
// offset among its runs' fonts (one over several fonts lies at their weighted average), or 0.
float leastUnderlineOffset(ID2D1RenderTarget* target, IDWriteTextLayout* layout);

// The area grown, left and up, to the pen position and baseline of every glyph whose ink may reach
// into it: a target bound to an area of a DC truncates glyph positions towards zero, so a glyph
// placed left of or above it between pixels lands a pixel off where a whole repaint puts it.
// Measured with the target's transform as it stands (a whole-pixel translation).
D2D1_RECT_F areaHoldingGlyphOrigins(ID2D1RenderTarget* target, IDWriteTextLayout* layout, D2D1_POINT_2F origin,
                                    const D2D1_RECT_F& area);
