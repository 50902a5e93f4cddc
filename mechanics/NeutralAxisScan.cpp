#include "mechanics/NeutralAxisScan.h"

#include "common/FloatingPoint.h"
#include "mechanics/ConcreteLaws.h"
#include "mechanics/FibreConcreteLaw.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace prurez {

SearchStatistics& searchStatistics()
{
    thread_local SearchStatistics statistics;
    return statistics;
}

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

// The number of leading positions whose face strain (position · κ for the strained
// face, `depth(position)` its depth) does not exceed `strain`; the strain grows along
// the scan.
template <class Depth>
int leadingWithStrainUpTo(const std::vector<long double>& positions, long double kappa, long double strain,
                          Depth depth)
{
    return static_cast<int>(std::partition_point(positions.begin(), positions.end(),
                                                 [&](long double p) { return depth(p) * kappa <= strain; }) -
                            positions.begin());
}

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
    plan.monotoneEnd = leadingWithStrainUpTo(*positions, kappa, zeroStrain * (1.0L - 1e-9L),
                                             [&](long double x) { return h - x; });
    // A position beyond the compressed face (within the last half step) turns the
    // compression zone over: it is tried one by one.
    const auto beyondFace = std::partition_point(positions->begin(), positions->end(),
                                                 [](long double x) { return x >= 0.0L; });
    plan.monotoneEnd = std::min(plan.monotoneEnd, static_cast<int>(beyondFace - positions->begin()));

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

ScanPlan topEdgeScanPlan(const ConcreteProperties& concrete, CompressionDiagram diagram, bool concreteInTension,
                         const BarsForPlan* bars, long double h, long double kappa, Fixed N,
                         const std::vector<long double>* scanPositions)
{
    ScanPlan plan;
    plan.positions = scanPositions;
    if (plan.positions == nullptr)
        return plan;
    const std::vector<long double>& positions = *plan.positions;
    const long double E = concrete.E.value();
    const long double fcp = concrete.fcp.value();
    const long double fct = concrete.fct.value();
    const long double b = concrete.width;
    const long double centre = N.value() * 0.001L;
    for (long double v : {E, fcp, b, h, kappa})
        if (!positiveModerate(v))
            return plan;
    for (long double v : {fct, concrete.epsT0, concrete.epsTu, concrete.epsC1, centre})
        if (!moderate(v))
            return plan;
    // Edge stresses are stored as fixed-point values: far from their overflow.
    if (!(E * kappa * h < 1e13L))
        return plan;
    // The tension law falls from fct to zero at εtu and stays there: never negative.
    if (concreteInTension && !(fct >= 0.0L && concrete.epsTu - concrete.epsT0 >= 1e-30L))
        return plan;

    // The top-edge strain grows along the scan.
    auto depth = [&](long double xt) { return h - xt; };
    plan.monotoneEnd = static_cast<int>(positions.size());
    long double compressionStress = fcp;
    long double cancellation = 0;
    if (diagram == CompressionDiagram::bilinear) {
        compressionStress = std::max(fcp, E * single(ratio(concrete.fcp, concrete.E)));
    } else {
        // σ(ε) = fcp·(1 − |1 − ε/εc1|^n) rises from 0 to fcp at εc1; the parabolic diagram
        // falls again and passes zero at 2·εc1. Where the top strain meets εc1 a single
        // position may take the logarithm of zero or of a tiny negative number: those
        // positions are visited one by one.
        const long double epsC1 = concrete.epsC1;
        if (!positiveModerate(epsC1))
            return plan;
        const long double exponent = epsC1 * E / fcp;
        if (!(exponent > 0.0L && exponent < 1e6L))
            return plan;
        const long double n = parabolaExponent(concrete).value();
        if (!(n > 0.0L))
            return plan;
        if (diagram == CompressionDiagram::parabolic)
            plan.monotoneEnd = leadingWithStrainUpTo(positions, kappa, 2.0L * epsC1 * (1.0L - 1e-9L), depth);
        const int first = std::min(plan.monotoneEnd,
                                   leadingWithStrainUpTo(positions, kappa, epsC1 * (1.0L - 1e-9L), depth));
        const int last = std::min(plan.monotoneEnd,
                                  leadingWithStrainUpTo(positions, kappa, epsC1 * (1.0L + 1e-9L), depth) + 1);
        plan.visitRanges.push_back({first, last});
        // The exact integral of the rising branch subtracts terms of the size of
        // b·fcp·xc1 (xc1 = εc1/κ), which may exceed the force itself.
        cancellation = 0x1p-40L * b * fcp * (epsC1 / kappa + h) * (n + 4.0L);
    }
    const long double tensionStress = concreteInTension ? std::max(fct, E * concrete.epsT0) : 0.0L;

    // Elastic–perfectly plastic steel: the top force falls and the bottom force falls
    // as the neutral axis moves down, as the concrete forces do.
    long double steelForce = 0;
    if (bars != nullptr) {
        const long double Es = bars->Es.value();
        const long double fy = bars->fy.value();
        if (!positiveModerate(Es))
            return plan;
        for (long double v : {fy, bars->topArea, bars->bottomArea, bars->topDistance, bars->bottomDistance})
            if (!moderate(v))
                return plan;
        if (!(bars->topArea >= 0.0L && bars->bottomArea >= 0.0L))
            return plan;
        const long double topStrain = (h + std::fabs(bars->topDistance)) * kappa;
        const long double bottomStrain = (h + std::fabs(bars->bottomDistance)) * kappa;
        if (!(topStrain * Es < 1e13L && bottomStrain * Es < 1e13L))
            return plan;
        steelForce = bars->topArea * std::max(std::fabs(fy), topStrain * Es) +
                     bars->bottomArea * std::max(std::fabs(fy), bottomStrain * Es);
    }

    const long double bound = 2.0L * b * h * (compressionStress + tensionStress) + 2.0L * steelForce;
    if (!(std::fabs(centre) + bound < 1e11L))
        return plan;
    plan.low = -centre - window;
    plan.high = -centre + window;
    plan.slack = bound * slackFraction + cancellation;
    plan.usable = true;
    return plan;
}

}  // namespace prurez
