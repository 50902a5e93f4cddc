#include "flows/LineSeries.h"

#include <algorithm>

namespace prurez {

void LineSeries::add(long double x, long double y, std::uint32_t colour)
{
    const auto after = std::upper_bound(points_.begin(), points_.end(), x,
                                        [](long double value, const SeriesPoint& p) { return value < p.x; });
    points_.insert(after, SeriesPoint{x, y, colour});
}

}  // namespace prurez
