#include "section/NeutralAxisSearch.h"

#include "section/FibreConcreteLaw.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace prurez {

namespace search {

FaultFlags::FaultFlags()
{
    std::fegetexceptflag(&saved_, FE_ALL_EXCEPT);
    raisedBefore_ = faultRaised();
}

bool FaultFlags::faultRaised() { return std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW) != 0; }

void FaultFlags::restore() const { std::fesetexceptflag(&saved_, FE_ALL_EXCEPT); }

}  // namespace search

namespace {

// At most this many positions are kept (32 MB); a longer scan is left to the plain scan.
constexpr long double maxPositions = 2000000.0L;

struct PositionRun {
    long double start = 0;
    long double step = 0;
    long double limit = 0;
    bool limitIncluded = false;
    std::vector<long double> positions;
};

// A value the plans can reason about: finite and far from overflow.
bool moderate(long double v) { return std::isfinite(v) && std::fabs(v) <= 1e30L; }
bool positiveModerate(long double v) { return moderate(v) && v >= 1e-30L; }

// A key outside centre ± window never passes: every balance test accepts less than
// 0.00096 MN of residual.
constexpr long double window = 0.0011L;

// The slack as a fraction of a bound on the magnitudes of the pieces of the force sum.
// Values held in single precision (relative error 2^-24 each, a few per piece) and the
// jumps where two branches of a law meet with limits held in single precision stay
// below 2^-21 of that bound; extended rounding is far smaller.
constexpr long double slackFraction = 0x1p-18L;

}  // namespace

const std::vector<long double>* scanPositions(long double start, long double step, long double limit,
                                              bool limitIncluded)
{
    if (!std::isfinite(start) || !std::isfinite(limit) || !(step > 0.0L) || !std::isfinite(step))
        return nullptr;
    if (!((start - limit) / step < maxPositions))
        return nullptr;
    // Two runs per thread: enough for one analysis at a time.
    thread_local PositionRun runs[2];
    thread_local int latest = 0;
    for (int k = 0; k < 2; ++k) {
        const PositionRun& run = runs[k];
        if (!run.positions.empty() && run.start == start && run.step == step && run.limit == limit &&
            run.limitIncluded == limitIncluded) {
            latest = k;
            return &run.positions;
        }
    }
    latest = 1 - latest;
    PositionRun& run = runs[latest];
    run.start = start;
    run.step = step;
    run.limit = limit;
    run.limitIncluded = limitIncluded;
    run.positions.clear();
    long double p = start;
    for (;;) {
        p = p - step;
        if (limitIncluded ? !(p >= limit) : !(p > limit))
            break;
        run.positions.push_back(p);
    }
    if (run.positions.empty())
        run.positions.shrink_to_fit();
    return &run.positions;
}

ScanPlan fibreScanPlan(const FibreConcreteLaw& law, long double w, long double h, long double kappa,
                       long double centre, const std::vector<long double>* positions)
{
    ScanPlan plan;
    plan.positions = positions;
    if (positions == nullptr)
        return plan;
    const long double a = law.a;
    const long double b = law.b;
    for (long double v : {law.E, law.fcp, law.fct, w, h, kappa})
        if (!positiveModerate(v))
            return plan;
    for (long double v : {a, b, law.etu, law.ec0, law.et0, law.et1, centre})
        if (!moderate(v))
            return plan;
    if (!(a >= 0.0L && a <= 1.0L && law.ec0 > 0.0L && law.et0 > 0.0L && law.et1 >= law.et0))
        return plan;
    const long double gentleSpan = law.etu - law.et1;
    if (!(std::fabs(gentleSpan) >= 1e-30L))
        return plan;

    // Compression is never negative (E·ε, then fcp), nor is the tension law up to εt1
    // (from fct down to (1 − a)·fct). The gentle line, when it falls, reaches zero at
    // εt1 + (1 − a)·(εtu − εt1)/(1 − a − b); beyond it the tension resultant shrinks
    // and the plain scan takes over. The face strain grows along the scan.
    long double zeroStrain = std::numeric_limits<long double>::infinity();
    if ((1.0L - a - b) / gentleSpan > 0.0L)
        zeroStrain = law.et1 + (1.0L - a) * gentleSpan / (1.0L - a - b);
    const long double strainLimit = zeroStrain * (1.0L - 1e-9L);
    plan.monotoneEnd = static_cast<int>(
        std::partition_point(positions->begin(), positions->end(),
                             [&](long double x) { return (h - x) * kappa <= strainLimit; }) -
        positions->begin());

    // Every piece of the two resultants is at most w·h times one of these stresses.
    const long double reach = std::fabs(kappa * h - law.et1) / std::fabs(gentleSpan);
    const long double tensionStress =
        law.fct * (2.0L + std::fabs(b) + 2.0L * std::fabs(1.0L - a - b) * (1.0L + reach)) + law.E * law.et0;
    const long double compressionStress = std::max(law.fcp, law.E * law.ec0);
    const long double bound = w * h * (2.0L * compressionStress + 6.0L * tensionStress);
    // Far from where the fixed-point residual of a balance test would overflow.
    if (!(std::fabs(centre) + bound < 1e11L))
        return plan;
    plan.low = centre - window;
    plan.high = centre + window;
    plan.slack = bound * slackFraction;
    plan.usable = true;
    return plan;
}

}  // namespace prurez
