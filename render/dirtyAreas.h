// Where a pass must reach when the underline moves: plain geometry from the layout's line and
// cluster metrics, tested without a window.
#pragma once

#include <cstdint>
#include <vector>

// The quote is laid out from this point of the client area, in a box this much smaller than it.
constexpr float textOrigin = 20.0f;
constexpr int32_t layoutMargin = 40;

struct PixelBox {
    int32_t left, top, right, bottom;
};

// What the layout says of one line and of one cluster, in layout units; underlineTop is where an
// underline can start at the highest, from the line's top.
struct LineExtent {
    uint32_t length;
    float height;
    float underlineTop;
};
struct ClusterExtent {
    uint32_t length;
    float width;
    bool rightToLeft;
};
struct TextSpan {
    uint32_t start;
    uint32_t length;
};

// Adds, for each line the span covers, the box in client pixels where its part changes when the
// underline comes or goes: from the underline's highest start down to the line's bottom, by the
// part's width (under Wine a pass costs by glyph and pixel; only descenders reach there). A box
// reaches a pixel past its span and the line; a glyph cut by its top stands on the baseline, which
// the layout snaps to a whole pixel, so the pass leaves what a whole repaint leaves. A line with
// right-to-left text is taken whole from its top: its clusters are drawn in another order than
// typed, and Wine places its glyphs anew (pixels higher or lower) when the underline moves.
void addSpanBoxes(const std::vector<LineExtent>& lines, const std::vector<ClusterExtent>& clusters, TextSpan span,
                  std::vector<PixelBox>& boxes);

// Joins boxes of the same line band, such as a completed word and the next: under Wine a pass
// costs 0.5 ms by itself and 0.04 ms a thousand pixels, so the blank between costs less than a
// second pass. Boxes on two lines stay apart: joined, they would take in the rest of both.
void joinBoxesSideBySide(std::vector<PixelBox>& boxes);
