#pragma once
// The resultant and the moment about the neutral axis of a stress law over a zone of
// a rectangle whose strain grows linearly from the neutral axis, by numerical
// integration: independent of the closed forms the laws use.

#include <algorithm>
#include <functional>
#include <vector>

struct ZoneIntegral {
    long double force = 0;
    long double moment = 0;
};

// ∫ σ(κ·y)·w dy and ∫ σ(κ·y)·w·y dy over 0 ≤ y ≤ depth, by Simpson's rule on each
// piece between the depths where the strain passes one of the law's breaks.
inline ZoneIntegral integrateZone(const std::function<long double(long double)>& stress, long double width,
                                  long double depth, long double kappa, const std::vector<long double>& strainBreaks,
                                  int intervals = 2000)
{
    std::vector<long double> cuts{0.0L};
    for (long double strain : strainBreaks)
        if (strain > 0 && strain / kappa < depth)
            cuts.push_back(strain / kappa);
    cuts.push_back(std::max(depth, 0.0L));
    std::sort(cuts.begin(), cuts.end());
    ZoneIntegral total;
    for (size_t piece = 0; piece + 1 < cuts.size(); ++piece) {
        const long double from = cuts[piece];
        const long double step = (cuts[piece + 1] - from) / intervals;
        for (int i = 0; i <= intervals; ++i) {
            // Stay inside the piece at its ends, where a law changes branch.
            const long double y = from + step * std::clamp(static_cast<long double>(i), 1e-9L, intervals - 1e-9L);
            const long double weight = (i == 0 || i == intervals) ? 1 : (i % 2 == 1 ? 4 : 2);
            const long double f = stress(kappa * y) * width * weight * step / 3;
            total.force += f;
            total.moment += f * y;
        }
    }
    return total;
}
