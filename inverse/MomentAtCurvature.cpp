#include "inverse/MomentAtCurvature.h"

#include "common/FloatingPoint.h"
#include "section/FibreConcreteLaw.h"
#include "section/NeutralAxisSearch.h"

#include <cmath>

namespace prurez {

namespace {

// The neutral axis moves towards the compressed face by this much per trial [m].
constexpr long double scanStep = 0.00001L;

// The resultants balance when the integer part of 1000·|FT + FP| is 0.
bool balances(const FibreTrial& trial)
{
    return std::trunc(1000.0L * std::fabs(trial.tension.force + trial.compression.force)) == 0.0L;
}

long double momentOf(const FibreTrial& trial)
{
    return -trial.compression.force * (trial.compression.arm + trial.tension.arm) * 1000.0L;
}

}  // namespace

std::optional<long double> MomentAtCurvature(long double w, long double h, long double E, long double fcp,
                                             long double fct, long double a, long double b, long double etu,
                                             long double kappa, const MomentScanOptions& options)
{
    const FibreConcreteLaw law = extendedFibreLaw(E, fcp, fct, a, b, etu);
    checkFloatingPointFaults();

    if (!options.exhaustiveScan) {
        const std::vector<long double>* positions = scanPositions(h / 2.0L + scanStep, scanStep, -0.5L * scanStep, true);
        FibreTrial trial;
        const SearchResult found =
            searchFirstPassing(fibreScanPlan(law, w, h, kappa, 0.0L, positions), [&](int i) {
                trial = fibreTrial(law, w, h, kappa, (*positions)[i]);
                return ScanVerdict{balances(trial), trial.tension.force + trial.compression.force};
            });
        if (found.end == SearchResult::found)
            return momentOf(trial);
        if (found.end == SearchResult::noBalance)
            return std::nullopt;
    }

    // Trial positions h/2, h/2 − 0.00001, … by repeated subtraction; a position more
    // than half a step beyond the compressed face ends the scan without a balance.
    long double x = h / 2.0L + scanStep;
    for (;;) {
        x = x - scanStep;
        if (x < -0.5L * scanStep)
            return std::nullopt;
        const FibreTrial trial = fibreTrial(law, w, h, kappa, x);
        checkFloatingPointFaults();
        if (balances(trial))
            return momentOf(trial);
    }
}

}  // namespace prurez
