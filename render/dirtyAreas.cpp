#include "render/dirtyAreas.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

PixelBox boxOnLine(float left, float right, int32_t top, float lineTop, const LineExtent& line)
{
    return {static_cast<int32_t>(std::floor(textOrigin + left)), top,
            static_cast<int32_t>(std::ceil(textOrigin + right)) + 1,
            static_cast<int32_t>(std::ceil(textOrigin + lineTop + line.height)) + 1};
}

int32_t underlineBoxTop(float lineTop, const LineExtent& line)
{
    const float top = std::floor(textOrigin + lineTop + line.underlineTop);
    return static_cast<int32_t>(std::max(top, std::ceil(textOrigin + lineTop)));
}

}  // namespace

void addSpanBoxes(const std::vector<LineExtent>& lines, const std::vector<ClusterExtent>& clusters, TextSpan span,
                  std::vector<PixelBox>& boxes)
{
    if (span.length == 0 || lines.empty())
        return;
    const uint32_t spanEnd = span.start + span.length;
    size_t cluster = 0;
    uint32_t lineStart = 0;
    float lineTop = 0;
    for (const LineExtent& line : lines) {
        const uint32_t lineEnd = lineStart + line.length;
        float x = 0, partLeft = 0, partRight = -1;
        bool rightToLeft = false;
        for (uint32_t position = lineStart; position < lineEnd && cluster < clusters.size(); ++cluster) {
            const ClusterExtent& c = clusters[cluster];
            rightToLeft = rightToLeft || c.rightToLeft;
            if (position < spanEnd && position + c.length > span.start) {
                if (partRight < partLeft)
                    partLeft = x;
                partRight = x + c.width;
            }
            x += c.width;
            position += c.length;
        }
        if (partRight >= partLeft)
            boxes.push_back(rightToLeft
                                ? boxOnLine(0, x, static_cast<int32_t>(std::ceil(textOrigin + lineTop)), lineTop, line)
                                : boxOnLine(partLeft, partRight, underlineBoxTop(lineTop, line), lineTop, line));
        lineTop += line.height;
        lineStart = lineEnd;
        if (lineStart >= spanEnd)
            return;
    }
}

void joinBoxesSideBySide(std::vector<PixelBox>& boxes)
{
    for (size_t i = 0; i < boxes.size(); ++i)
        for (size_t j = i + 1; j < boxes.size(); ++j) {
            PixelBox& a = boxes[i];
            const PixelBox& b = boxes[j];
            if (a.top == b.top && a.bottom == b.bottom) {
                a.left = std::min(a.left, b.left);
                a.right = std::max(a.right, b.right);
                boxes.erase(boxes.begin() + static_cast<std::ptrdiff_t>(j));
                j = i;
            }
        }
}
