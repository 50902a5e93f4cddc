#include "mechanics/MomentAtCurvature.h"

#include "mechanics/FibreConcreteLaw.h"

#include <cmath>

namespace prurez {

std::optional<FibreTrial> balancedTrialAtCurvature(const BeamSection& section, const FibreParameters& p,
                                                   Single kappa, const ScanOptions& options)
{
    const FibreConcreteLaw law = extendedFibreLaw(p.E, p.fcp, p.fct, p.a, p.b, p.epsTu);
    checkFloatingPointFaults();
    const long double w = section.width;
    const long double h = section.height;
    FibreTrial trial;
    FibreAtCurvature zones(law, w, kappa);
    auto evaluate = [&](long double x) {
        trial = zones.trial(h, x);
        const long double sum = trial.tension.force + trial.compression.force;
        // The resultants balance when the integer part of 1000·|FT + FP| is 0.
        return ScanVerdict{std::trunc(1000.0L * std::fabs(sum)) == 0.0L, sum};
    };
    auto plan = [&](const ScanPositions* positions) {
        return fibreScanPlan(law, w, h, kappa, 0.0L, positions);
    };
    if (!findFirstBalanced(ScanLine{h / 2.0L + momentScanStep, momentScanStep}, options, plan, evaluate,
                           [&] { zones.forget(); }))
        return std::nullopt;
    return trial;
}

std::optional<long double> MomentAtCurvature(const BeamSection& section, const FibreParameters& p, Single kappa,
                                             const ScanOptions& options)
{
    const std::optional<FibreTrial> trial = balancedTrialAtCurvature(section, p, kappa, options);
    if (!trial)
        return std::nullopt;
    return -trial->compression.force * (trial->compression.arm + trial->tension.arm) * 1000.0L;
}

}  // namespace prurez
