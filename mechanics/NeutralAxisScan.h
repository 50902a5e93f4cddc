#pragma once
// The neutral-axis scan of every analysis, and the fast search that finds the trial
// position the plain fixed-step scan accepts without visiting every position before it.
//
// A scan (ScanLine) tries the positions p0 = start − step, p1 = p0 − step, … (each the
// previous minus the step, by repeated subtraction) for as long as they lie no more
// than half a step beyond zero and still move (far from zero the subtraction of a
// small step can leave a position unchanged: the scan then ends there), and accepts
// the first one whose trial passes its balance test. The section analyses scan the depth of the tension zone from the top
// edge (5 µm), the fibre-concrete section and MomentAtCurvature the depth of the
// compression zone from mid-height (5 µm, 10 µm).
//
// A plain scan visits positions p0, p1, … (each the previous minus the step) and
// accepts the first one whose force sum passes its balance test. The search visits
// the very same positions (ScanPositions: the same repeated subtraction, derived for
// any length), evaluates each with the same trial function, and returns the same
// index.
//
// Why it returns the plain scan's index. Each trial has a key, the section force sum
// oriented so that, computed exactly, it never decreases along the scan wherever the
// stresses of the laws are not negative over the strains reached (the "monotone
// stretch", a leading run of positions). The computed key differs from the exact one
// by rounding and by values held in single precision; the plan's `slack` bounds how
// much the computed key can fall from one position of the stretch to a later one.
// A key below `low` or above `high` never passes the balance test. Hence, within a
// segment of the stretch:
//   - a trial j with key < low − slack proves that every trial before j fails
//     (their keys are at most key_j + slack < low);
//   - a trial j with key > high + slack proves that every trial from j on fails.
// Galloping and bisection with the first rule find a start before which every trial
// fails; from there the trials are evaluated one by one in scan order until one
// passes (the plain scan's answer) or the second rule ends the segment. Positions
// outside the stretch, and positions the plan marks for visiting (where a single
// trial may raise a fault), are scanned one by one.
//
// Faults. The plans admit only inputs for which no trial inside the stretch can raise
// a floating-point fault, except at positions marked for visiting or throughout a
// leading run of positions (tiny strains) that begins at the first position, which
// the search evaluates first. Should any evaluated trial raise a fault nonetheless,
// or a fault flag be raised before the search starts, the search gives up, restores
// the flags and the caller runs the plain scan from the start, which then reports
// exactly what it always reports.

#include "common/Failure.h"
#include "common/FixedPoint.h"
#include "common/FloatingPoint.h"
#include "common/WorkControl.h"
#include "mechanics/ConcreteLaws.h"
#include "mechanics/FibreConcreteLaw.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

namespace prurez {

// The index of a position of a scan line; a line of a huge section has more positions
// than an int counts.
using ScanIndex = std::int64_t;

struct ScanOptions {
    // The plain fixed-step scans, trial by trial.
    bool exhaustiveScan = false;
    // Exact equilibrium instead of the scans' 1 kN window: the neutral axis where the
    // section forces balance the axial force to the precision of the extended type
    // (ExactEquilibrium.h).
    bool exactEquilibrium = false;
    // Watches the computation the scan is part of: a long plain scan that is asked to
    // stop throws Cancelled.
    WorkControl* work = nullptr;
    // Where a similar scan found its position, and where this one's is written: the
    // search looks there first. Only the trials evaluated change, never the position
    // found.
    struct ScanHint* hint = nullptr;
};

// Where a scan found its position, for the next scan of a similar section: the index
// (−1: none yet), the one found before it, and how much the key grew per position there
// (0: not known). Scans that move on by the same few positions each time (a parameter
// stepping through its values) are followed along that move.
struct ScanHint {
    ScanIndex index = -1;
    ScanIndex before = -1;
    long double slope = 0;
};

// The positions start − step, start − 2·step, … (repeated subtraction), tried while
// they are at least −step/2 and still move.
struct ScanLine {
    long double start = 0;
    long double step = 0;
};

// No line holds more positions than this (no scan could ever try them all).
inline constexpr ScanIndex maximumScanPositions = ScanIndex(1) << 62;

// The positions of a scan line, in scan order. A short line keeps them all; a long one
// keeps runs of positions that fall by one and the same amount. Within the range
// [2^e, 2^(e+1)) every long double is a multiple of one unit u, so once a position
// there has been stepped from, p − step rounds to p − d with one d (the step rounded
// to a multiple of u) for as long as p − step stays in the range: position i is then
// run.position − (i − run.first)·d, exactly.
class ScanPositions {
public:
    // The positions of a line, cached per thread (a few lines); none for a start or a
    // step that is not a finite number or a step that is not positive.
    static const ScanPositions* of(const ScanLine& line);

    explicit ScanPositions(const ScanLine& line);
    const ScanLine& line() const { return line_; }
    ScanIndex size() const { return count_; }
    // The index of the first position below zero (or not a number); size() when none.
    ScanIndex firstBelowZero() const { return firstBelowZero_; }
    long double operator[](ScanIndex i) const
    {
        if (!dense_.empty())
            return dense_[static_cast<size_t>(i)];
        return atRun(i);
    }

private:
    struct Run {
        ScanIndex first;        // the index of its first position
        long double position;   // its first position
        long double decrement;  // how much each further position falls
    };
    long double atRun(ScanIndex i) const;

    ScanLine line_;
    ScanIndex count_ = 0;
    ScanIndex firstBelowZero_ = 0;
    std::vector<long double> dense_;
    std::vector<Run> runs_;
};

// What one trial tells the search.
struct ScanVerdict {
    bool passes = false;  // the plain scan's balance test
    long double key = 0;  // the force sum, oriented to grow along the scan
};

struct ScanPlan {
    // False: the inputs are outside what the search can prove; use the plain scan.
    bool usable = false;
    // The positions of the plain scan, in scan order (every trial it can visit).
    const ScanPositions* positions = nullptr;
    // Positions [0, monotoneEnd) form the monotone stretch.
    ScanIndex monotoneEnd = 0;
    // Index ranges [first, second) inside the stretch that are evaluated one by one;
    // sorted and disjoint.
    std::vector<std::pair<ScanIndex, ScanIndex>> visitRanges;
    // A key below `low` or above `high` does not pass the balance test.
    long double low = 0;
    long double high = 0;
    // How much the computed key can fall between two positions of the stretch.
    long double slack = 0;
};

struct SearchResult {
    enum End { found, noBalance, undecided };
    End end = undecided;
    ScanIndex index = -1;  // for found: the accepted position; it was the last one evaluated
};

// Counts of this thread's searches, for measuring: the trials the searches evaluated
// and the trials the plain scan needs for the same answers (searches that left the
// answer to the plain scan count as fallBacks only).
struct SearchStatistics {
    long long searches = 0;
    long long trialsEvaluated = 0;
    long long plainScanTrials = 0;
    long long fallBacks = 0;
};
SearchStatistics& searchStatistics();

namespace search {

struct Abandoned {};

// The first passing position of [first, last), a segment of the monotone stretch;
// -1 when none passes.
//
// Every trial before `known` fails, proved by a trial whose key is below lowCut; the
// trial at `bound` proved nothing of the kind. Probes narrow [known, bound] until the
// two meet, whatever their order, so the probes may go where the keys point: from a
// hint (where a similar scan found its position, and the keys' slope there) straight
// to where the key should reach lowCut; then, once both ends of the bracket have a key,
// regula falsi between them, with the Illinois weighting against one-sided progress,
// then bisection should it ever need many steps. The hint is given where this search
// found its position and the slope of the keys there.
template <class Visit>
ScanIndex searchSegment(ScanIndex first, ScanIndex last, long double lowCut, long double highCut, Visit& visit,
                        ScanHint* hint = nullptr)
{
    if (first >= last)
        return -1;
    ScanIndex known = first;
    ScanIndex bound = last;
    long double knownKey = 0;  // key of the trial at known − 1, once probed
    long double boundKey = 0;  // key of the trial at bound, once probed
    bool knownKeySet = false;
    bool boundKeySet = false;
    ScanIndex lastProbe = -1;  // the trial evaluated last, kept by the caller
    ScanVerdict lastVerdict;
    // Probes i: true when it proves that every trial up to i fails.
    auto probe = [&](ScanIndex i) {
        const ScanVerdict v = visit(i);
        lastProbe = i;
        lastVerdict = v;
        if (!v.passes && v.key < lowCut) {
            known = i + 1;
            knownKey = v.key;
            knownKeySet = true;
            return true;
        }
        bound = i;
        boundKey = v.key;
        boundKeySet = std::isfinite(v.key);
        return false;
    };
    if (hint != nullptr && hint->index > first && hint->index < last) {
        // The trial before where the hint expects the answer (where it was, moved on as
        // it moved last); then, along the slope, the trial just below where the key
        // reaches lowCut and the one after it.
        const ScanIndex move = hint->before >= 0 && std::abs(hint->index - hint->before) <= 64
                                   ? hint->index - hint->before
                                   : 0;
        const ScanIndex anchor = std::clamp<ScanIndex>(hint->index - 1 + move, first, last - 1);
        probe(anchor);
        const long double key = lastVerdict.key;
        // (A slope far from zero and a moderate key: no fault on the way.)
        if (hint->slope >= 1e-30L && std::fabs(key) <= 1e30L) {
            const long double crossing = static_cast<long double>(anchor) + (lowCut - key) / hint->slope;
            const auto below = static_cast<ScanIndex>(
                std::clamp(std::floor(crossing), static_cast<long double>(first), static_cast<long double>(last - 1)));
            if (below >= known && below < bound)
                probe(below);
            if (known < bound && knownKeySet)
                probe(known);
        }
    } else if (probe(first) && known < bound) {
        probe(last - 1);
    }
    // Both ends of the bracket with a key: the bracket grows until it has them.
    for (ScanIndex reach = 1; known < bound && bound == last; reach *= 2)
        probe(std::min(last - 1, known - 1 + reach));
    for (ScanIndex reach = 1; known < bound && !knownKeySet; reach *= 2)
        probe(std::max(first, bound - reach));
    long double knownWeight = 1.0L;
    long double boundWeight = 1.0L;
    int lastMoved = 0;  // −1: the last probe moved `known`, +1: it moved `bound`
    for (int step = 0; known < bound; ++step) {
        ScanIndex guess = known + (bound - known) / 2;
        if (step < 24 && knownKeySet && boundKeySet) {
            const long double below = (knownKey - lowCut) * knownWeight;  // < 0
            const long double above = (boundKey - lowCut) * boundWeight;  // ≥ 0
            const long double from = static_cast<long double>(known - 1);
            const long double at = from - below / (above - below) * (static_cast<long double>(bound) - from);
            if (above > below && std::isfinite(at))
                guess = static_cast<ScanIndex>(std::clamp(std::floor(at), static_cast<long double>(known),
                                                          static_cast<long double>(bound - 1)));
        }
        if (probe(guess)) {
            knownWeight = 1.0L;
            if (lastMoved == -1)
                boundWeight *= 0.5L;
            lastMoved = -1;
        } else {
            boundWeight = 1.0L;
            if (lastMoved == 1)
                knownWeight *= 0.5L;
            lastMoved = 1;
        }
    }
    if (hint != nullptr && knownKeySet && boundKeySet && bound >= known) {
        const long double rise = boundKey - knownKey;
        if (std::fabs(rise) <= 1e30L && rise > 0.0L)
            hint->slope = rise / static_cast<long double>(bound - known + 1);
    }
    for (ScanIndex i = known; i < last; ++i) {
        const ScanVerdict v = i == lastProbe ? lastVerdict : visit(i);
        if (v.passes) {
            if (hint != nullptr) {
                hint->before = hint->index;
                hint->index = i;
            }
            return i;
        }
        if (v.key > highCut)
            return -1;
    }
    return -1;
}

}  // namespace search

// A key outside centre ± scanWindow [MN] never passes: every balance test of the
// section analyses accepts less than 0.00096 MN of residual.
inline constexpr long double scanWindow = 0.0011L;

// The plan of a fibre-concrete scan over depths x of the compression zone that move
// towards the compressed face (key FT + FP, balancing `centre` [MN]) at curvature kappa;
// a key outside centre ± window never passes the scan's balance test.
ScanPlan fibreScanPlan(const FibreConcreteLaw& law, long double w, long double h, long double kappa,
                       long double centre, const ScanPositions* positions, long double window = scanWindow);

// The bars of a reinforced section, as far as the plan needs them.
struct BarsForPlan {
    long double topArea = 0;        // [m2]
    long double bottomArea = 0;     // [m2]
    long double topDistance = 0;    // from the top edge [m]
    long double bottomDistance = 0; // from the bottom edge [m]
    Fixed fy;
    Fixed Es;
};

// The plan of a scan from the top edge of a plain or reinforced section (positions
// xt, the depth of the tension zone; key −(sum of the section forces), balancing N):
// the concrete laws of the diagram, the tension law when concrete acts in tension,
// and the bars when there are any.
ScanPlan topEdgeScanPlan(const ConcreteProperties& concrete, CompressionDiagram diagram, bool concreteInTension,
                         const BarsForPlan* bars, long double h, long double kappa, Fixed N,
                         const ScanPositions* positions);

// Searches the plan's positions for the first one that passes. `evaluate(i)` runs the
// trial at position i (keeping it for the caller) and returns its verdict; the last
// trial evaluated before `found` is the accepted one. The fault flags are looked at
// when the search ends (and every 64 trials, so that a fault ends a long search soon):
// a search during which any flag was raised leaves the answer to the plain scan.
template <class Evaluate>
SearchResult searchFirstPassing(const ScanPlan& plan, Evaluate&& evaluate, ScanHint* hint = nullptr)
{
    SearchResult result;
    if (!plan.usable || plan.positions == nullptr) {
        if (plan.positions != nullptr)
            ++searchStatistics().fallBacks;
        return result;
    }
    // (With no fault flag raised before the search, putting the flags back after it is
    // clearing its fault flags.)
    if (FaultFlags::faultRaised()) {
        ++searchStatistics().fallBacks;
        return result;
    }
    SearchStatistics& statistics = searchStatistics();
    ++statistics.searches;
    const DeferredTrialChecks deferred;
    long long visits = 0;
    auto visit = [&](ScanIndex i) {
        ++statistics.trialsEvaluated;
        const ScanVerdict v = evaluate(i);
        if ((++visits & 63) == 0 && FaultFlags::faultRaised())
            throw search::Abandoned();
        return v;
    };
    auto scanOneByOne = [&](ScanIndex first, ScanIndex last) -> ScanIndex {
        for (ScanIndex i = first; i < last; ++i)
            if (visit(i).passes)
                return i;
        return -1;
    };
    const ScanIndex count = plan.positions->size();
    const long double lowCut = plan.low - plan.slack;
    const long double highCut = plan.high + plan.slack;
    try {
        ScanIndex next = 0;
        ScanIndex found = -1;
        for (const auto& range : plan.visitRanges) {
            found = search::searchSegment(next, range.first, lowCut, highCut, visit, hint);
            if (found < 0)
                found = scanOneByOne(range.first, range.second);
            if (found >= 0)
                break;
            next = range.second;
        }
        if (found < 0)
            found = search::searchSegment(next, plan.monotoneEnd, lowCut, highCut, visit, hint);
        if (found < 0)
            found = scanOneByOne(plan.monotoneEnd, count);
        if (FaultFlags::faultRaised())
            throw search::Abandoned();
        result.end = found >= 0 ? SearchResult::found : SearchResult::noBalance;
        result.index = found;
        statistics.plainScanTrials += found >= 0 ? found + 1 : count;
    } catch (const search::Abandoned&) {
        ++statistics.fallBacks;
        clearFloatingPointFaults();
        result = SearchResult();
    } catch (const Failure&) {
        // A fault reported inside a trial.
        ++statistics.fallBacks;
        clearFloatingPointFaults();
        result = SearchResult();
    }
    return result;
}

}  // namespace prurez

namespace prurez {

// The scan of a line: the fast search where it is wanted, the plan allows it and it
// decides, the plain scan otherwise. `makePlan(positions)` builds the plan over the
// line's positions; `trial(position)` evaluates one position, keeps what the caller
// needs of it and returns its verdict; the last trial evaluated is the accepted one.
// The fault flags are checked after every trial of the plain scan. `restart()` runs
// before a plain scan that follows a search (trials that keep what they formed forget
// it, so that the plain scan forms it, and raises its faults, anew). Returns false when
// no position balances.
//
// With `probe(position)` the search judges a position by its verdict alone (a probe
// keeps nothing) and the accepted position is then evaluated by `trial`, whole; should
// that raise a fault, the flags are cleared (a search starts with no fault flag raised)
// and the plain scan runs, as after a search that met the fault itself.
template <class MakePlan, class Probe, class Trial, class Restart>
bool findFirstBalanced(const ScanLine& line, const ScanOptions& options, MakePlan&& makePlan, Probe&& probe,
                       Trial&& trial, Restart&& restart)
{
    constexpr bool probing = !std::is_same_v<std::decay_t<Probe>, std::decay_t<Trial>>;
    if (!options.exhaustiveScan) {
        if (const ScanPositions* positions = ScanPositions::of(line)) {
            const ScanPlan plan = makePlan(positions);
            const SearchResult result =
                searchFirstPassing(plan, [&](ScanIndex i) { return probe((*positions)[i]); }, options.hint);
            if (result.end == SearchResult::found && probing) {
                bool fault = false;
                {
                    const DeferredTrialChecks deferred;
                    trial((*positions)[result.index]);
                    fault = FaultFlags::faultRaised();
                }
                if (!fault)
                    return true;
                clearFloatingPointFaults();
            } else if (result.end != SearchResult::undecided) {
                return result.end == SearchResult::found;
            }
            restart();
        }
    }
    const long double limit = -0.5L * line.step;
    long double position = line.start;
    for (ScanIndex tried = 0; tried < maximumScanPositions; ++tried) {
        const long double next = position - line.step;
        if (next < limit || next == position)
            return false;
        position = next;
        const bool passes = trial(position).passes;
        checkFloatingPointFaults();
        if (passes)
            return true;
        if ((tried & 4095) == 4095 && stopRequested(options.work))
            throw Cancelled();
    }
    return false;
}

template <class MakePlan, class Trial, class Restart>
bool findFirstBalanced(const ScanLine& line, const ScanOptions& options, MakePlan&& makePlan, Trial&& trial,
                       Restart&& restart)
{
    return findFirstBalanced(line, options, makePlan, trial, trial, restart);
}

template <class MakePlan, class Trial>
bool findFirstBalanced(const ScanLine& line, const ScanOptions& options, MakePlan&& makePlan, Trial&& trial)
{
    return findFirstBalanced(line, options, makePlan, trial, trial, [] {});
}

// The scan of a fibre-concrete rectangle at curvature kappa: depths x of the compression
// zone from h/2 towards the compressed face in steps of `step`, a trial balanced when
// `balanced(FT + FP)` (never outside centre ± window), the plan balancing `centre` [MN].
// The accepted trial, or no value where no position balances.
template <class Balanced>
std::optional<FibreTrial> firstBalancedFibreTrial(const FibreConcreteLaw& law, long double w, long double h,
                                                  long double kappa, long double step, long double centre,
                                                  const ScanOptions& options, Balanced&& balanced,
                                                  long double window = scanWindow)
{
    FibreTrial trial;
    FibreAtCurvature zones(law, w, kappa);
    auto evaluate = [&](long double x) {
        trial = zones.trial(h, x);
        const long double sum = trial.tension.force + trial.compression.force;
        return ScanVerdict{balanced(sum), sum};
    };
    // The search judges a position by the force sum alone.
    auto probe = [&](long double x) {
        const long double sum = zones.forceSum(h, x);
        return ScanVerdict{balanced(sum), sum};
    };
    auto plan = [&](const ScanPositions* positions) {
        return fibreScanPlan(law, w, h, kappa, centre, positions, window);
    };
    if (!findFirstBalanced(ScanLine{h / 2.0L + step, step}, options, plan, probe, evaluate, [&] { zones.forget(); }))
        return std::nullopt;
    return trial;
}

}  // namespace prurez
