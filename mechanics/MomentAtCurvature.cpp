#include "mechanics/MomentAtCurvature.h"

#include "mechanics/ExactEquilibrium.h"
#include "mechanics/FibreConcreteLaw.h"

#include <cmath>

namespace prurez {

std::optional<FibreTrial> balancedTrialAtCurvature(const BeamSection& section, const FibreParameters& p,
                                                   Single kappa, const ScanOptions& options)
{
    const FibreConcreteLaw law = extendedFibreLaw(p.E, p.fcp, p.fct, p.a, p.b, p.epsTu);
    checkFloatingPointFaults();
    return balancedTrialAtCurvature(section, law, kappa, options);
}

std::optional<FibreTrial> balancedTrialAtCurvature(const BeamSection& section, const FibreConcreteLaw& law,
                                                   Single kappa, const ScanOptions& options)
{
    if (options.exactEquilibrium)
        return exactFibreTrial(law, section.width, section.height, kappa, 0.0L);
    // The resultants balance when the integer part (truncl) of 1000·|FT + FP| is 0, that
    // is when that product is below 1: the same test without switching the rounding
    // mode at every trial. Never where |FT + FP| ≥ 0.001·(1 + 10⁻⁹) (1000·|FT + FP| is
    // then above 1 however it rounds).
    return firstBalancedFibreTrial(
        law, section.width, section.height, kappa, momentScanStep, 0.0L, options,
        [](long double sum) { return std::isless(1000.0L * std::fabs(sum), 1.0L); },
        momentBalanceTolerance * (1.0L + 1e-9L));
}

std::optional<long double> MomentAtCurvature(const BeamSection& section, const FibreParameters& p, Single kappa,
                                             const ScanOptions& options)
{
    const std::optional<FibreTrial> trial = balancedTrialAtCurvature(section, p, kappa, options);
    if (!trial)
        return std::nullopt;
    return momentOfTrial(*trial);
}

std::optional<long double> MomentAtCurvature(const BeamSection& section, const FibreConcreteLaw& law, Single kappa,
                                             const ScanOptions& options)
{
    const std::optional<FibreTrial> trial = balancedTrialAtCurvature(section, law, kappa, options);
    if (!trial)
        return std::nullopt;
    return momentOfTrial(*trial);
}

}  // namespace prurez
