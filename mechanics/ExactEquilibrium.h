#pragma once
// Exact equilibrium: the neutral axis at the depth where the section forces balance the
// axial force, over the continuous depth between the section's faces, instead of the
// first of the scan's positions (5 µm or 10 µm apart) whose forces fall inside the 1 kN
// window.
//
// The residual r(p) = N − ΣF at a position p is sampled along the scan's own direction,
// from where the scan starts to the face it moves towards; the first sample at which r
// is zero or has changed sign brackets the root, and bisection narrows the bracket until
// its ends are neighbouring extended values. So where the force sum is not monotonic the
// root found is the one the scan reaches first (as far as the samples tell). The scan
// of a fibre-concrete section starts at mid-height and covers only the upper half; the
// lower half is searched after it, from mid-height down.
//
// The laws keep their lever arms in single precision; the pieces of a resultant they
// otherwise hold in single precision (a softened depth, an edge stress) are kept
// extended in this mode, so that the force sum is continuous in the depth and its root
// is balanced to the last bits (well below 1E-9 MN).

#include "common/FloatingPoint.h"
#include "mechanics/FibreConcreteLaw.h"

#include <cmath>
#include <initializer_list>
#include <optional>

namespace prurez {

// How many steps the samples of one segment take.
inline constexpr int exactEquilibriumSamples = 128;

// A stretch of positions searched from `from` towards `to`.
struct DepthSegment {
    long double from = 0;
    long double to = 0;
};

// The root of `residual` (a function of the position that evaluates the trial there)
// in the first segment that has one, or no value. The fault flags are checked after
// every trial. The last trial evaluated is the one at the root, so that what
// `residual` keeps of its trials is the balanced one.
template <class Residual>
std::optional<long double> findExactRoot(std::initializer_list<DepthSegment> segments, Residual&& residual)
{
    auto at = [&](long double p) {
        const long double r = residual(p);
        checkFloatingPointFaults();
        return r;
    };
    for (const DepthSegment& segment : segments) {
        long double previous = segment.from;
        long double previousResidual = at(previous);
        if (previousResidual == 0.0L)
            return previous;
        for (int k = 1; k <= exactEquilibriumSamples; ++k) {
            const long double p = k == exactEquilibriumSamples
                                      ? segment.to
                                      : segment.from + (segment.to - segment.from) * static_cast<long double>(k) /
                                                           static_cast<long double>(exactEquilibriumSamples);
            const long double r = at(p);
            if (r == 0.0L)
                return p;
            if ((r < 0.0L) != (previousResidual < 0.0L)) {
                // Bisection between the two samples down to neighbouring values.
                long double low = previous;
                long double lowResidual = previousResidual;
                long double high = p;
                long double highResidual = r;
                for (;;) {
                    const long double middle = low + (high - low) / 2.0L;
                    if (middle == low || middle == high)
                        break;
                    const long double m = at(middle);
                    if (m == 0.0L)
                        return middle;
                    if ((m < 0.0L) == (lowResidual < 0.0L)) {
                        low = middle;
                        lowResidual = m;
                    } else {
                        high = middle;
                        highResidual = m;
                    }
                }
                const long double root = std::fabs(lowResidual) <= std::fabs(highResidual) ? low : high;
                at(root);
                return root;
            }
            previous = p;
            previousResidual = r;
        }
    }
    return std::nullopt;
}

// A fibre-concrete rectangle w × h at curvature kappa in exact equilibrium with the
// axial force `target` [MN]: the trial at the root of target − (FT + FP) over the depth
// x of the compression zone, searched from mid-height up to the compressed face, then
// from mid-height down to the other face; no value where none balances.
std::optional<FibreTrial> exactFibreTrial(const FibreConcreteLaw& law, long double w, long double h, long double kappa,
                                          long double target);

}  // namespace prurez
