#include "mechanics/SeriesStatistics.h"

#include <array>
#include <cmath>

namespace prurez {

namespace {

struct TabulatedFactor {
    int count;  // n; 0 for n = ∞
    long double factor;
};

const std::array<TabulatedFactor, 9> fractileFactors{{{3, 3.37L},
                                                      {4, 2.63L},
                                                      {5, 2.33L},
                                                      {6, 2.18L},
                                                      {8, 2.00L},
                                                      {10, 1.92L},
                                                      {20, 1.76L},
                                                      {30, 1.73L},
                                                      {0, 1.64L}}};

long double reciprocal(int count) { return count == 0 ? 0.0L : 1.0L / static_cast<long double>(count); }

}  // namespace

std::optional<long double> fractileFactor(int specimenCount)
{
    if (specimenCount < fewestCharacteristicSpecimens)
        return std::nullopt;
    for (const TabulatedFactor& tabulated : fractileFactors)
        if (specimenCount == tabulated.count)
            return tabulated.factor;
    const long double at = reciprocal(specimenCount);
    for (size_t i = 0; i + 1 < fractileFactors.size(); ++i) {
        const TabulatedFactor& fewer = fractileFactors[i];
        const TabulatedFactor& more = fractileFactors[i + 1];
        if (more.count != 0 && specimenCount > more.count)
            continue;
        // Between them, linearly in 1/n.
        const long double share = (reciprocal(fewer.count) - at) / (reciprocal(fewer.count) - reciprocal(more.count));
        return fewer.factor + (more.factor - fewer.factor) * share;
    }
    return fractileFactors.back().factor;
}

SampleStatistics sampleStatistics(const std::vector<long double>& values)
{
    SampleStatistics result;
    result.count = static_cast<int>(values.size());
    if (values.empty())
        return result;
    long double sum = 0.0L;
    for (long double value : values) {
        if (!std::isfinite(value))
            return result;
        sum = sum + value;
    }
    const long double n = static_cast<long double>(values.size());
    const long double mean = sum / n;
    result.mean = mean;
    if (values.size() < 2)
        return result;
    long double squares = 0.0L;
    for (long double value : values) {
        const long double difference = value - mean;
        squares = squares + difference * difference;
    }
    const long double deviation = std::sqrt(squares / (n - 1.0L));
    result.standardDeviation = deviation;
    if (!(mean > 0.0L))
        return result;
    const long double variation = deviation / mean;
    result.variation = variation;
    if (const std::optional<long double> kn = fractileFactor(result.count))
        result.characteristic = mean * (1.0L - *kn * variation);
    return result;
}

}  // namespace prurez
