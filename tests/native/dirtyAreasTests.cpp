#include "render/dirtyAreas.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

bool operator==(const PixelBox& a, const PixelBox& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

void PrintTo(const PixelBox& box, std::ostream* out)
{
    *out << "(" << box.left << "," << box.top << "," << box.right << "," << box.bottom << ")";
}

namespace {

std::vector<PixelBox> boxesOf(const std::vector<LineExtent>& lines, const std::vector<ClusterExtent>& clusters,
                              TextSpan span)
{
    std::vector<PixelBox> boxes;
    addSpanBoxes(lines, clusters, span, boxes);
    return boxes;
}

}  // namespace

TEST(SpanBoxes, eachLinePartIsBoxedFromItsUnderlineAndItsFirstCluster)
{
    // "ab cd" on one line, "ef" on the next, underlines from 16.5 below the lines' tops; clusters
    // of fractional widths.
    const std::vector<LineExtent> lines = {{6, 20.5f, 16.5f}, {2, 20.5f, 16.5f}};
    const std::vector<ClusterExtent> clusters = {{1, 10.25f, false}, {1, 10.5f, false}, {1, 5.0f, false},
                                                 {1, 10.0f, false},  {1, 10.0f, false}, {1, 5.0f, false},
                                                 {1, 9.5f, false},   {1, 9.5f, false}};
    // "cd ": from 25.75 to 50.75, drawn at the text origin 20.
    EXPECT_EQ(boxesOf(lines, clusters, {3, 3}), (std::vector<PixelBox>{{45, 36, 72, 42}}));
    // "d ef" runs over the line end: a box on each line, the second from its own underline.
    EXPECT_EQ(boxesOf(lines, clusters, {4, 4}), (std::vector<PixelBox>{{55, 36, 72, 42}, {20, 57, 40, 62}}));
    EXPECT_TRUE(boxesOf(lines, clusters, {2, 0}).empty());
    // An underline that could start above the line's top is held to the line.
    EXPECT_EQ(boxesOf({{2, 20.5f, -3.0f}}, clusters, {0, 1}), (std::vector<PixelBox>{{20, 20, 32, 42}}));
}

TEST(SpanBoxes, aLineHoldingRightToLeftTextIsTakenWhole)
{
    // "go " then two right-to-left letters and a blank, then "x" on the next line.
    const std::vector<LineExtent> lines = {{6, 10.0f, 8.0f}, {1, 10.0f, 8.0f}};
    const std::vector<ClusterExtent> clusters = {{1, 8, false}, {1, 8, false}, {1, 4, false}, {1, 7, true},
                                                 {1, 7, true},  {1, 4, false}, {1, 8, false}};
    EXPECT_EQ(boxesOf(lines, clusters, {3, 3}), (std::vector<PixelBox>{{20, 20, 59, 31}}));
    EXPECT_EQ(boxesOf(lines, clusters, {6, 1}), (std::vector<PixelBox>{{20, 38, 29, 41}}));
}

TEST(SpanBoxes, onlyBoxesOfOneLineBandAreJoined)
{
    // Two words with a blank between them, a word on the next line, and boxes of other bands.
    std::vector<PixelBox> boxes = {{59, 36, 90, 42},   {20, 36, 52, 42},   {20, 57, 50, 63},
                                   {15, 95, 205, 105}, {15, 105, 25, 125}, {195, 105, 205, 125}};
    joinBoxesSideBySide(boxes);
    EXPECT_EQ(boxes,
              (std::vector<PixelBox>{{20, 36, 90, 42}, {20, 57, 50, 63}, {15, 95, 205, 105}, {15, 105, 205, 125}}));
}
