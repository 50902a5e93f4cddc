#include "flows/LineSeries.h"

#include <algorithm>

namespace prurez {

void LineSeries::add(long double x, long double y, std::uint32_t colour)
{
    sorted_ = sorted_ && (points_.empty() || !(x < points_.back().x));
    points_.push_back(SeriesPoint{x, y, colour});
}

void LineSeries::clear()
{
    points_.clear();
    sorted_ = true;
}

const std::vector<SeriesPoint>& LineSeries::points() const
{
    // A stable sort keeps points of equal x in the order they came: each after the
    // ones before it, as if every point had been inserted after its equals.
    if (!sorted_) {
        std::stable_sort(points_.begin(), points_.end(),
                         [](const SeriesPoint& a, const SeriesPoint& b) { return a.x < b.x; });
        sorted_ = true;
    }
    return points_;
}

}  // namespace prurez
