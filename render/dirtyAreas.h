// Where a drawing pass must reach: the pixel boxes that hold a range of the laid-out quote, and
// the joining of boxes that sit side by side. Plain geometry from the layout's line and cluster
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

// Adds, for each line that the span covers, the box of its part on that line: the line's height
// by the part's width, in client pixels (the layout drawn at textOrigin).
// A box starts exactly where its line and its span start, rounded inwards to the pixel above and
// outwards to the left, and reaches a pixel past the end: a pass drawn over it then leaves what a
// whole repaint leaves there. The line above ends within its own height.
// A line that holds right-to-left text is taken whole: its clusters are drawn in another order
// than the one they are typed in, so their sum does not say where one of them lies.
void addSpanBoxes(const std::vector<LineExtent>& lines, const std::vector<ClusterExtent>& clusters, TextSpan span,
                  std::vector<PixelBox>& boxes);

// Joins boxes of the same line band (same top and bottom) that overlap or touch, such as a
// completed word and the next one: one pass instead of two over neighbouring pixels. Boxes of
// other bands, such as the four strips round the typing box, stay apart: joined, they would
// cover the box's whole inside.
void joinBoxesSideBySide(std::vector<PixelBox>& boxes);
