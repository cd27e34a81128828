// Where a drawing pass must reach: the pixel boxes where a range of the laid-out quote can show an
// underline, and the joining of boxes that sit side by side. Plain geometry from the layout's line and cluster
// metrics, so it is tested without a window.
#pragma once

#include <cstdint>
#include <vector>

// The quote is laid out from this point of the client area, in a box this much smaller than it.
constexpr float textOrigin = 20.0f;
constexpr int32_t layoutMargin = 40;

struct PixelBox {
    int32_t left, top, right, bottom;
};

// What the layout says of one line and of one cluster, in layout units.
struct LineExtent {
    uint32_t length;
    float height;
    float underlineTop;  // from the line's top: where an underline on it can start at the highest
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

// Adds, for each line the span covers, the box where its part changes when the underline comes or
// goes, in client pixels (the layout drawn at textOrigin): from where an underline on the line can
// start down to the line's bottom, by the part's width. Only descenders reach into it: under Wine
// a pass costs by the glyph and by the pixel, and a line is several times taller. A box starts
// where its span starts, rounded outwards, and reaches a pixel past its end and the line's bottom;
// a glyph cut by its top stands on the baseline, which the layout snaps to a whole pixel, so a
// pass over it leaves what a whole repaint leaves.
// A line holding right-to-left text is taken whole, from its top (rounded inwards: the line above
// ends within its own height): its clusters are drawn in another order than they are typed, and
// Wine's DirectWrite places its glyphs anew (pixels higher or lower) when the underline moves.
void addSpanBoxes(const std::vector<LineExtent>& lines, const std::vector<ClusterExtent>& clusters, TextSpan span,
                  std::vector<PixelBox>& boxes);

// Joins boxes of the same line band (same top and bottom), such as a completed word and the next
// with the blank between: under Wine a pass costs 0.5 ms by itself and 0.04 ms a thousand pixels,
// so the blank costs less than a second pass. Boxes of other bands stay apart: joined, boxes on
// two lines would take in the rest of both.
void joinBoxesSideBySide(std::vector<PixelBox>& boxes);
