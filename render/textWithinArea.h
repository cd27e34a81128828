// Drawing a text layout where it can show in one area of the render target.
#pragma once

#include <d2d1.h>
#include <dwrite.h>

// Draws what DrawTextLayout with no options would draw at `origin`, but only the glyphs and
// underlines whose ink may reach into `area` (in the same coordinates as `origin`). Whole glyph
// runs, as the layout gives them, are drawn where the area holds all of their glyphs.
void drawTextWithinArea(ID2D1RenderTarget* target, IDWriteTextLayout* layout, D2D1_POINT_2F origin, ID2D1Brush* brush,
                        const D2D1_RECT_F& area);
