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


namespace {

// Lines of up to this many positions keep every position (256 KB); a longer one finds
// a position in its runs (a few dozen), which costs less than writing every position.
constexpr ScanIndex densePositions = ScanIndex(1) << 14;

// A value the plans can reason about: finite and far from overflow.
bool moderate(long double v) { return std::isfinite(v) && std::fabs(v) <= 1e30L; }
bool positiveModerate(long double v) { return moderate(v) && v >= 1e-30L; }


// The slack as a fraction of a bound on the magnitudes of the pieces of the force sum.
// Values held in single precision (relative error 2^-24 each, a few per piece) and the
// jumps where two branches of a law meet with limits held in single precision stay
// below 2^-21 of that bound; extended rounding is far smaller.
constexpr long double slackFraction = 0x1p-18L;

// The first index in [low, high] whose position meets `condition`, which, once met
// along the scan, stays met; the index before low fails (or low is 0) and high meets it
// (or is the positions' count).
template <class Condition>
ScanIndex firstIndexBetween(const ScanPositions& positions, Condition condition, ScanIndex low, ScanIndex high)
{
    while (low < high) {
        const ScanIndex middle = low + (high - low) / 2;
        if (condition(positions[middle]))
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

// The first index whose position meets `condition` (the positions' count when none does).
template <class Condition>
ScanIndex firstIndexWhere(const ScanPositions& positions, Condition condition)
{
    return firstIndexBetween(positions, condition, 0, positions.size());
}

// The same index found from a guess: the bracket widens from the guess until it holds
// the index, then halves. With a monotone condition it is the index of firstIndexWhere.
template <class Condition>
ScanIndex firstIndexWhere(const ScanPositions& positions, Condition condition, ScanIndex guess)
{
    const ScanIndex count = positions.size();
    ScanIndex low = std::clamp<ScanIndex>(guess, 0, count);
    ScanIndex high = low;
    // Afterwards: the index before low fails (or low is 0), high passes (or is count).
    for (ScanIndex reach = 1; high < count && !condition(positions[high]); reach *= 2) {
        low = high + 1;
        high = std::min(count, high + reach);
    }
    for (ScanIndex reach = 1; low > 0 && condition(positions[low - 1]); reach *= 2) {
        high = low - 1;
        low = std::max<ScanIndex>(0, high - reach);
    }
    return firstIndexBetween(positions, condition, low, high);
}

// The number of leading positions whose face strain (κ times the face's depth h − p
// below position p) does not exceed `strain`; the strain grows along the scan. The
// search starts where the plain line would reach the strain.
ScanIndex leadingWithStrainUpTo(const ScanPositions& positions, long double kappa, long double strain, long double h)
{
    const long double estimate = (positions.line().start - (h - strain / kappa)) / positions.line().step;
    const ScanIndex guess = estimate >= 0.0L && estimate < static_cast<long double>(positions.size())
                                ? static_cast<ScanIndex>(estimate)
                                : (estimate >= 0.0L ? positions.size() : 0);
    return firstIndexWhere(positions, [&](long double p) { return !((h - p) * kappa <= strain); }, guess);
}

}  // namespace

ScanPositions::ScanPositions(const ScanLine& line) : line_(line)
{
    const long double step = line.step;
    const long double limit = -0.5L * step;
    long double p = line.start;
    ScanIndex index = 0;
    auto single = [&](long double position) {
        runs_.push_back({index, position, 0.0L});
        ++index;
        p = position;
    };
    while (index < maximumScanPositions) {
        if (p > 8.0L * step && std::isfinite(p)) {
            // Three single steps inside [2^e, 2^(e+1)) give the decrement d of every
            // further step that stays there.
            const int e = std::ilogb(p);
            const long double low = std::ldexp(1.0L, e);
            const long double unit = std::ldexp(1.0L, e - 63);
            const long double p1 = p - step;
            const long double p2 = p1 - step;
            const long double p3 = p2 - step;
            if (p1 != p && p3 - step >= low && p1 - p2 == p2 - p3) {
                const long double d = p2 - p3;
                single(p1);
                single(p2);
                // From p3 the step to p3 − j·d (j ≥ 1) is p − d while p − step ≥ 2^e, in
                // units of u: (p3 − 2^e)/u − (j − 1)·d/u ≥ ⌈step/u⌉.
                const auto P = static_cast<ScanIndex>((p3 - low) / unit);
                const auto D = static_cast<ScanIndex>(d / unit);
                const auto S = static_cast<ScanIndex>(std::ceil(step / unit));
                ScanIndex further = P >= S ? (P - S) / D + 1 : 0;
                further = std::min(further, maximumScanPositions - index - 1);
                runs_.push_back({index, p3, d});
                index += 1 + further;
                p = p3 - static_cast<long double>(further) * d;
                continue;
            }
        }
        const long double next = p - step;
        if (next < limit || next == p)
            break;
        single(next);
    }
    count_ = index;
    if (count_ <= densePositions) {
        // Run by run, each position as atRun gives it.
        dense_.reserve(static_cast<size_t>(count_));
        for (size_t r = 0; r < runs_.size(); ++r) {
            const Run& run = runs_[r];
            const ScanIndex end = r + 1 < runs_.size() ? runs_[r + 1].first : count_;
            for (ScanIndex i = run.first; i < end; ++i)
                dense_.push_back(run.position - static_cast<long double>(i - run.first) * run.decrement);
        }
        runs_.clear();
        runs_.shrink_to_fit();
    }
    firstBelowZero_ = firstIndexWhere(*this, [](long double x) { return !(x >= 0.0L); });
}

long double ScanPositions::atRun(ScanIndex i) const
{
    const auto run = std::upper_bound(runs_.begin(), runs_.end(), i,
                                      [](ScanIndex index, const Run& r) { return index < r.first; }) -
                     1;
    return run->position - static_cast<long double>(i - run->first) * run->decrement;
}

const ScanPositions* ScanPositions::of(const ScanLine& line)
{
    if (!std::isfinite(line.start) || !std::isfinite(line.step) || !(line.step > 0.0L))
        return nullptr;
    // A few lines per thread: enough for one analysis at a time.
    constexpr size_t kept = 2;
    thread_local std::vector<ScanPositions> lines;
    thread_local size_t latest = 0;
    if (lines.capacity() < kept)
        lines.reserve(kept);  // the positions handed out stay where they are
    for (size_t k = 0; k < lines.size(); ++k) {
        if (lines[k].line_.start == line.start && lines[k].line_.step == line.step) {
            latest = k;
            return &lines[k];
        }
    }
    if (lines.size() < kept) {
        lines.emplace_back(line);
        latest = lines.size() - 1;
    } else {
        latest = (latest + 1) % kept;
        lines[latest] = ScanPositions(line);
    }
    return &lines[latest];
}

ScanPlan fibreScanPlan(const FibreConcreteLaw& law, long double w, long double h, long double kappa,
                       long double centre, const ScanPositions* positions, long double window)
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
    plan.monotoneEnd = leadingWithStrainUpTo(*positions, kappa, zeroStrain * (1.0L - 1e-9L), h);
    // A position beyond the compressed face (within the last half step) turns the
    // compression zone over: it is tried one by one.
    plan.monotoneEnd = std::min(plan.monotoneEnd, positions->firstBelowZero());

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
                         const ScanPositions* scanPositions)
{
    ScanPlan plan;
    plan.positions = scanPositions;
    if (plan.positions == nullptr)
        return plan;
    const ScanPositions& positions = *plan.positions;
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
    plan.monotoneEnd = positions.size();
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
        // The plain-concrete analysis stores the parabola's top-edge stress at every
        // trial, beyond εc1 too, where |σ| ≤ fcp·(1 + (1 + ε/εc1)^n): far from its
        // overflow up to the largest top strain of the line.
        if (concrete.grouping == LawGrouping::plainConcrete) {
            const long double reach = kappa * (h + positions.line().step) / epsC1;
            if (!(std::log(2.0L * fcp) + n * std::log1p(reach) < std::log(1e13L)))
                return plan;
        }
        if (diagram == CompressionDiagram::parabolic)
            plan.monotoneEnd = leadingWithStrainUpTo(positions, kappa, 2.0L * epsC1 * (1.0L - 1e-9L), h);
        const ScanIndex first = std::min(plan.monotoneEnd,
                                   leadingWithStrainUpTo(positions, kappa, epsC1 * (1.0L - 1e-9L), h));
        const ScanIndex last = std::min(plan.monotoneEnd,
                                  leadingWithStrainUpTo(positions, kappa, epsC1 * (1.0L + 1e-9L), h) + 1);
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
    plan.low = -centre - scanWindow;
    plan.high = -centre + scanWindow;
    plan.slack = bound * slackFraction + cancellation;
    plan.usable = true;
    return plan;
}

}  // namespace prurez
