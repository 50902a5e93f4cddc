#pragma once
// A section whose neutral axis lies beyond one of its faces: the whole depth
// compressed (the axis below the bottom face) or lengthened (above the top face), as
// under a large axial force at a small curvature. The zone formulas of the laws start
// at the neutral axis, so here the concrete is integrated over the depth numerically,
// from the laws' σ(ε): Gauss–Legendre on each piece between the depths where the
// strain passes a break of the laws, exact for the straight branches.

#include "mechanics/MomentCurvature.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

namespace prurez::beyond {

// Force [MN] and moment about mid-height [MNm] of the concrete of a w × h rectangle at
// curvature κ with the neutral axis at depth x; `stress(shortening)` in the section's
// convention (tension positive); `breaks` the shortenings (either sign) where a law
// changes branch.
template <class Stress>
std::pair<long double, long double> integrateConcrete(const Stress& stress, const std::vector<long double>& breaks,
                                                      long double w, long double h, long double kappa, long double x)
{
    static constexpr std::array<long double, 4> node{0.1834346424956498049394761L, 0.5255324099163289858177390L,
                                                     0.7966664774136267395915539L, 0.9602898564975362316835609L};
    static constexpr std::array<long double, 4> weight{0.3626837833783619829651504L, 0.3137066458778872873379622L,
                                                       0.2223810344533744705443560L, 0.1012285362903762591525314L};
    std::vector<long double> cuts{0.0L, h};
    for (long double strain : breaks) {
        const long double y = x - strain / kappa;  // the depth where the shortening is `strain`
        if (y > 0.0L && y < h)
            cuts.push_back(y);
    }
    std::sort(cuts.begin(), cuts.end());
    long double force = 0.0L;
    long double moment = 0.0L;
    for (size_t piece = 0; piece + 1 < cuts.size(); ++piece) {
        const long double middle = (cuts[piece] + cuts[piece + 1]) / 2.0L;
        const long double half = (cuts[piece + 1] - cuts[piece]) / 2.0L;
        for (size_t i = 0; i < node.size(); ++i)
            for (long double side : {-1.0L, 1.0L}) {
                const long double y = middle + side * node[i] * half;
                const long double f = stress((x - y) * kappa) * w * weight[i] * half;
                force = force + f;
                moment = moment + f * (y - h / 2.0L);
            }
    }
    return {force, moment};
}

// What the bars add at a neutral axis depth: their force sum [MN, tension positive] and
// moment about mid-height [MNm]; they also write their strains, stresses and forces into
// the row.
struct BarsContribution {
    long double force = 0;
    long double moment = 0;
};

// The state of `section` (its concrete's laws, breaks and ultimate strains, as
// Sections.h offers them) beyond a face that balances `target` [MN] at curvature κ, or
// none. The side is the one the force sum at the faces points to (more compression
// than the axis at the bottom face gives: below it). On that side the strain of the
// nearer face runs from 0 to the strain at which the run ends there; the first root
// found by samples and the Illinois method is taken.
template <class Section, class Bars>
std::optional<SectionRow> balancedBeyondFaces(const Section& section, long double kappa, long double target,
                                              long double w, long double h, const Bars& bars)
{
    if (!(kappa > 0.0L))
        return std::nullopt;
    const std::vector<long double> breaks = section.strainBreaks();
    auto stress = [&](long double shortening) { return section.concreteStress(shortening); };
    SectionRow row;
    auto sumAt = [&](long double x) {
        const auto [force, moment] = integrateConcrete(stress, breaks, w, h, kappa, x);
        row = SectionRow();
        const BarsContribution added = bars(x, row);
        row.kappa = kappa;
        row.x = x;
        row.topStrain = x * kappa;
        row.bottomStrain = (h - x) * kappa;
        (force >= 0.0L ? row.tension : row.compression) = force;
        row.midHeightMoment = moment + added.moment;
        return force + added.force;
    };
    // The residual target − ΣF falls as the axis moves down (more compression).
    const bool below = target - sumAt(h) < 0.0L;
    const long double limit = below ? section.ultimateShortening() : section.ultimateLengthening();
    if (!(limit > 0.0L) || !std::isfinite(limit))
        return std::nullopt;
    auto at = [&](long double strain) {
        const long double x = below ? h + strain / kappa : -strain / kappa;
        return target - sumAt(x);
    };
    constexpr int samples = 16;
    long double previous = 0.0L;
    long double previousValue = at(previous);
    for (int k = 1; k <= samples; ++k) {
        const long double strain = limit * static_cast<long double>(k) / samples;
        const long double value = at(strain);
        if (!std::isfinite(value))
            return std::nullopt;
        if (value == 0.0L || (value < 0.0L) != (previousValue < 0.0L)) {
            // Illinois between the two samples.
            long double a = previous, fa = previousValue, b = strain, fb = value;
            for (int iteration = 0; iteration < 100 && fb != 0.0L; ++iteration) {
                long double c = b - fb * (b - a) / (fb - fa);
                if (!(c > std::min(a, b) && c < std::max(a, b)))
                    c = a + (b - a) / 2.0L;
                const long double fc = at(c);
                if ((fc < 0.0L) == (fb < 0.0L)) {
                    fa = fa / 2.0L;
                } else {
                    a = b;
                    fa = fb;
                }
                b = c;
                fb = fc;
                if (std::fabs(b - a) <= 1e-15L * std::fabs(b) || std::fabs(fb) < 1e-15L)
                    break;
            }
            at(b);
            return row;
        }
        previous = strain;
        previousValue = value;
    }
    return std::nullopt;
}

}  // namespace prurez::beyond
