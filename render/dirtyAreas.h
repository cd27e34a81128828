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

// Adds, for each line that the span covers, the box where its part on that line changes when the
// underline comes or goes: from the pixel where an underline on the line can start down to the
// line's bottom, by the part's width, in client pixels (the layout drawn at textOrigin). Nothing
// above it changes, and the only glyphs reaching into it are descenders: under Wine a pass costs
// by the glyph it draws and by the pixel it reads back, and a line is several times taller.
// A box starts exactly where its span starts, rounded outwards to the left, and reaches a pixel
// past the end and the line's bottom. A glyph cut by its top has its position on the baseline,
// which the layout snaps to a whole pixel: a pass drawn over it then leaves what a whole repaint
// leaves there.
// A line that holds right-to-left text is taken whole, from its top (rounded inwards: the line
// above ends within its own height): its clusters are drawn in another order than the one they
// are typed in, so their sum does not say where one of them lies, and Wine's DirectWrite places
// its glyphs anew (some pixels higher or lower) when the underline moves within it.
void addSpanBoxes(const std::vector<LineExtent>& lines, const std::vector<ClusterExtent>& clusters, TextSpan span,
                  std::vector<PixelBox>& boxes);

// Joins boxes of the same line band (same top and bottom), such as a completed word and the next
// one with the blank between them: one pass instead of two. Under Wine a pass costs about half a
// millisecond by itself and 0.04 ms more for each thousand pixels, so the blank's few hundred
// pixels cost less than the second pass. Boxes of other bands stay apart: joined, a box on one
// line and a box on the next would take in the rest of both lines.
void joinBoxesSideBySide(std::vector<PixelBox>& boxes);
