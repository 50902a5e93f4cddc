#pragma once
// The moment of a fibre-concrete rectangle in pure bending at one curvature: the
// neutral axis scanned from mid-height towards the compressed face in steps of
// 0.00001 m until the resultants balance within 1 kN, then M = −FP·(zc + zt)·1000
// [kNm]. All arithmetic is extended; the inputs are held as the inverse analysis
// holds them.

#include "common/FloatingPoint.h"
#include "mechanics/FibreConcreteLaw.h"
#include "mechanics/NeutralAxisScan.h"

#include <optional>

namespace prurez {

// The neutral axis moves towards the compressed face by this much per trial [m].
inline constexpr long double momentScanStep = 0.00001L;
// The resultants balance when |FT + FP| stays below this [MN] (the integer part of
// 1000·|FT + FP| is 0).
inline constexpr long double momentBalanceTolerance = 0.001L;

// The section of the tested beam [m].
struct BeamSection {
    Single width;
    Single height;
};

// The fibre-concrete parameters of one combination: E, fcp, fct [MPa] and the
// ultimate tensile strain εtu (a fraction) extended, a and b single.
struct FibreParameters {
    long double E = 0;
    long double fcp = 0;
    long double fct = 0;
    Single a;
    Single b;
    long double epsTu = 0;
};

// The strains εt0 = fct/E, εc0 = fcp/E and εt1 = fct/E + a·fct/E are derived inside.
// Returns no value when no position from mid-height to half a step beyond the
// compressed face balances (with ScanOptions::exactEquilibrium: when FT + FP has no
// root between the faces). A floating-point fault throws Failure.
std::optional<long double> MomentAtCurvature(const BeamSection& section, const FibreParameters& parameters,
                                             Single kappa, const ScanOptions& options = ScanOptions());

// The same with the law's strains derived already (extendedFibreLaw of the same
// parameters, with no fault): the moments of one combination at several curvatures.
std::optional<long double> MomentAtCurvature(const BeamSection& section, const FibreConcreteLaw& law, Single kappa,
                                             const ScanOptions& options = ScanOptions());

// The moment of a balanced trial, −FP·(zc + zt)·1000 [kNm].
inline long double momentOfTrial(const FibreTrial& trial)
{
    return -trial.compression.force * (trial.compression.arm + trial.tension.arm) * 1000.0L;
}

// The trial at the position MomentAtCurvature accepts (its strains and resultants), or
// no value where it finds none.
std::optional<FibreTrial> balancedTrialAtCurvature(const BeamSection& section, const FibreParameters& parameters,
                                                   Single kappa, const ScanOptions& options = ScanOptions());
std::optional<FibreTrial> balancedTrialAtCurvature(const BeamSection& section, const FibreConcreteLaw& law,
                                                   Single kappa, const ScanOptions& options = ScanOptions());

}  // namespace prurez
