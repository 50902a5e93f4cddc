#pragma once
// A chart curve: points kept sorted by ascending x; a point whose x equals existing
// ones goes after them. The curve is drawn through the points in that order.

#include <cstdint>
#include <vector>

namespace prurez {

constexpr std::uint32_t colourRed = 0xFF0000;
constexpr std::uint32_t colourBlue = 0x0000FF;
constexpr std::uint32_t colourGreen = 0x00A000;

struct SeriesPoint {
    long double x;
    long double y;
    std::uint32_t colour;  // 0xRRGGBB
};

class LineSeries {
public:
    void add(long double x, long double y, std::uint32_t colour);
    void clear();
    // The points in order (sorted once after they were added, however many).
    const std::vector<SeriesPoint>& points() const;

private:
    mutable std::vector<SeriesPoint> points_;
    mutable bool sorted_ = true;
};

}  // namespace prurez
