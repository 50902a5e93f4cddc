#include "mechanics/Interaction.h"

#include "mechanics/Sections.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>
#include <limits>
#include <optional>
#include <thread>
#include <vector>

namespace prurez {

namespace {

// Steps of one pass over the curvatures, passes at most, and the rows below which a
// pass looks again, more finely, at the stretch that balances.
constexpr int passSteps = 100;
constexpr int passCount = 4;
constexpr int enoughRows = 20;
// The golden-section search ends when its bracket is this small against the curvature.
constexpr long double bracketTolerance = 1e-10L;
constexpr long double goldenRatio = 0.6180339887498948482L;

void stopIfAsked(const ScanOptions& options)
{
    if (stopRequested(options.work))
        throw Cancelled();
}

// The state of a section at a curvature: balanced within the limits, balanced past a
// limit, or with no neutral axis between the faces.
struct State {
    enum Kind { balanced, pastLimit, beyondFaces } kind = beyondFaces;
    SectionRow row;
    RunEnd limit = RunEnd::crushed;
};

template <class Section>
State stateAt(const Section& section, long double kappa, const ScanOptions& options)
{
    stopIfAsked(options);
    State state;
    std::optional<SectionRow> row = section.balanceAt(kappa, options);
    if (!row)
        row = section.balanceBeyondFaces(kappa);
    if (!row)
        return state;
    state.row = *row;
    if (const std::optional<RunEnd> end = section.limitPassed(*row)) {
        state.kind = State::pastLimit;
        state.limit = *end;
    } else {
        state.kind = State::balanced;
    }
    return state;
}

InteractionEnd endOf(RunEnd end)
{
    switch (end) {
    case RunEnd::crushed:
        return InteractionEnd::crushed;
    case RunEnd::torn:
        return InteractionEnd::torn;
    case RunEnd::steelTorn:
        return InteractionEnd::steelTorn;
    default:
        return InteractionEnd::noEquilibrium;
    }
}

struct Row {
    long double kappa;
    long double moment;  // about mid-height
};

template <class Section>
InteractionPoint peakOf(const Section& section, const ScanOptions& scan)
{
    ScanOptions options = scan;
    options.exactEquilibrium = true;
    InteractionPoint point;
    point.end = InteractionEnd::noEquilibrium;
    const long double past = section.curvaturePastLimits() * 1.01L;
    if (!(past > 0.0L) || !std::isfinite(past))
        return point;

    // Passes over the curvatures: the first from 0 to where every axis has passed a
    // limit, the next over the stretch that balanced when it held few rows.
    std::vector<Row> rows;
    long double from = 0.0L;
    long double to = past;
    long double endKappa = past;
    bool ended = false;
    for (int pass = 0; pass < passCount; ++pass) {
        const long double step = (to - from) / passSteps;
        std::vector<Row> found;
        long double before = from;  // the last curvature passed over before the first row
        bool passEnded = false;
        long double passEnd = to;
        for (int i = 1; i <= passSteps; ++i) {
            const long double kappa = from + step * static_cast<long double>(i);
            const State state = stateAt(section, kappa, options);
            if (state.kind == State::balanced) {
                found.push_back({kappa, state.row.midHeightMoment});
                continue;
            }
            if (state.kind == State::beyondFaces && found.empty()) {
                before = kappa;
                continue;
            }
            passEnded = true;
            passEnd = kappa;
            point.end = state.kind == State::pastLimit ? endOf(state.limit) : InteractionEnd::noEquilibrium;
            break;
        }
        if (passEnded) {
            ended = true;
            endKappa = passEnd;
        }
        if (!found.empty())
            rows = found;
        if (static_cast<int>(found.size()) >= enoughRows || (found.empty() && !passEnded))
            break;
        // Again, finer, from the last curvature before the rows to where the run ended.
        from = found.empty() ? passEnd - step : before;
        to = passEnd;
    }
    if (rows.empty())
        return point;
    if (!ended)
        point.end = InteractionEnd::noEquilibrium;

    const auto best = std::max_element(rows.begin(), rows.end(),
                                       [](const Row& a, const Row& b) { return a.moment < b.moment; });
    const size_t index = static_cast<size_t>(best - rows.begin());
    point.hasMoment = true;
    point.moment = best->moment;
    point.kappa = best->kappa;

    // The moment at a curvature, or nothing outside the run.
    auto momentAt = [&](long double kappa) -> std::optional<long double> {
        const State state = stateAt(section, kappa, options);
        if (state.kind != State::balanced)
            return std::nullopt;
        return state.row.midHeightMoment;
    };
    auto consider = [&](long double kappa, std::optional<long double> moment) {
        if (moment && *moment > point.moment) {
            point.moment = *moment;
            point.kappa = kappa;
        }
    };
    long double left = index > 0 ? rows[index - 1].kappa : rows.front().kappa - (rows.size() > 1
                                                                                      ? rows[1].kappa - rows[0].kappa
                                                                                      : rows.front().kappa);
    left = std::max(left, 0.0L);
    long double right = index + 1 < rows.size() ? rows[index + 1].kappa : endKappa;
    if (index + 1 == rows.size() && ended) {
        // The largest row is the last: the run's end lies between it and endKappa.
        long double inside = best->kappa;
        long double outside = endKappa;
        while (outside - inside > bracketTolerance * outside) {
            const long double middle = inside + (outside - inside) / 2.0L;
            if (middle <= inside || middle >= outside)
                break;
            const std::optional<long double> m = momentAt(middle);
            if (m) {
                inside = middle;
                consider(middle, m);
            } else {
                outside = middle;
            }
        }
        right = inside;
    }
    // Golden-section search for the largest moment in [left, right].
    long double a = left;
    long double b = right;
    long double c = b - goldenRatio * (b - a);
    long double d = a + goldenRatio * (b - a);
    const long double lowest = -std::numeric_limits<long double>::infinity();
    std::optional<long double> mc = momentAt(c);
    std::optional<long double> md = momentAt(d);
    consider(c, mc);
    consider(d, md);
    for (int iteration = 0; iteration < 200 && b - a > bracketTolerance * b; ++iteration) {
        if (mc.value_or(lowest) >= md.value_or(lowest)) {
            b = d;
            d = c;
            md = mc;
            c = b - goldenRatio * (b - a);
            mc = momentAt(c);
            consider(c, mc);
        } else {
            a = c;
            c = d;
            mc = md;
            d = a + goldenRatio * (b - a);
            md = momentAt(d);
            consider(d, md);
        }
    }
    return point;
}

// Where f is largest over [0, limit]: samples, then golden-section search around the
// largest. Values that are no number are passed over.
template <class F>
long double whereLargest(long double limit, F&& f)
{
    constexpr int samples = 2000;
    long double best = -std::numeric_limits<long double>::infinity();
    long double where = 0.0L;
    int bestIndex = 0;
    auto value = [&](long double s) {
        const long double v = f(s);
        return std::isfinite(v) ? v : -std::numeric_limits<long double>::infinity();
    };
    for (int i = 0; i <= samples; ++i) {
        const long double s = limit * static_cast<long double>(i) / samples;
        const long double v = value(s);
        if (v > best) {
            best = v;
            where = s;
            bestIndex = i;
        }
    }
    long double a = limit * static_cast<long double>(std::max(bestIndex - 1, 0)) / samples;
    long double b = limit * static_cast<long double>(std::min(bestIndex + 1, samples)) / samples;
    for (int iteration = 0; iteration < 100 && b - a > 1e-12L * limit; ++iteration) {
        const long double c = b - goldenRatio * (b - a);
        const long double d = a + goldenRatio * (b - a);
        const long double vc = value(c);
        const long double vd = value(d);
        for (const auto& [v, s] : {std::pair{vc, c}, std::pair{vd, d}})
            if (v > best) {
                best = v;
                where = s;
            }
        if (vc >= vd)
            b = d;
        else
            a = c;
    }
    return where;
}

template <class Section>
InteractionDiagram diagramOf(const HeldSectionInput& input, int points, const InteractionControl& control)
{
    HeldSectionInput unloaded = input;
    unloaded.N = Fixed();
    clearFloatingPointFaults();
    const Section measure(unloaded);
    checkFloatingPointFaults();
    InteractionDiagram diagram;
    long double compressed = 0.0L;  // the uniform strains of the two ends
    long double lengthened = 0.0L;
    {
        // The laws met at strains where a branch begins may raise a fault no run would.
        const FaultFlags flags;
        compressed = whereLargest(measure.ultimateShortening(),
                                  [&](long double s) { return -measure.uniformStrain(s).force; });
        lengthened = -whereLargest(measure.ultimateLengthening(),
                                   [&](long double s) { return measure.uniformStrain(-s).force; });
        diagram.compressiveCapacity = measure.uniformStrain(compressed).force;
        diagram.tensileCapacity = measure.uniformStrain(lengthened).force;
        flags.restore();
    }
    const bool reinforced = input.material == Material::reinforcedConcrete;
    diagram.symmetric = !reinforced || (input.topBars.area == input.bottomBars.area &&
                                        input.topBars.distance == input.bottomBars.distance);
    HeldSectionInput flipped = input;
    std::swap(flipped.topBars, flipped.bottomBars);

    const int branches = diagram.symmetric ? 1 : 2;
    for (int branch = 0; branch < branches; ++branch) {
        std::vector<InteractionPoint>& line = branch == 0 ? diagram.positive : diagram.negative;
        line.resize(static_cast<size_t>(points));
        HeldSectionInput unloadedBent = branch == 0 ? input : flipped;
        unloadedBent.N = Fixed();
        const Section ends(unloadedBent);
        for (int k : {0, points - 1}) {
            InteractionPoint& point = line[static_cast<size_t>(k)];
            point.N = k == 0 ? diagram.compressiveCapacity : diagram.tensileCapacity;
            point.hasMoment = true;
            const long double moment = ends.uniformStrain(k == 0 ? compressed : lengthened).moment;
            point.moment = branch == 0 ? moment : -moment;
            point.end = InteractionEnd::capacity;
        }
    }

    // The forces between the ends, of both branches, on the threads.
    const int interior = std::max(points - 2, 0);
    const int total = interior * branches;
    auto compute = [&](int item) {
        const int branch = item / interior;
        const int k = 1 + item % interior;
        const long double N = diagram.compressiveCapacity + (diagram.tensileCapacity - diagram.compressiveCapacity) *
                                                                static_cast<long double>(k) /
                                                                static_cast<long double>(points - 1);
        HeldSectionInput loaded = branch == 0 ? input : flipped;
        loaded.N = Fixed::store(N * 1000.0L);
        InteractionPoint point = peakMomentUnderForce(loaded, control.scan);
        if (branch == 1) {
            point.moment = -point.moment;
            point.kappa = -point.kappa;
        }
        (branch == 0 ? diagram.positive : diagram.negative)[static_cast<size_t>(k)] = point;
    };
    std::atomic<int> next{0};
    std::atomic<int> done{0};
    std::atomic<int> firstFailed{total};  // items after a failed one are not begun
    std::vector<std::exception_ptr> failures(static_cast<size_t>(total));
    auto work = [&](bool reports) {
        for (int item = next++; item < total && item < firstFailed.load(); item = next++) {
            try {
                stopIfAsked(control.scan);
                compute(item);
            } catch (...) {
                failures[static_cast<size_t>(item)] = std::current_exception();
                int failed = firstFailed.load();
                while (item < failed && !firstFailed.compare_exchange_weak(failed, item)) {
                }
            }
            ++done;
            if (reports && control.scan.work != nullptr)
                control.scan.work->report(done.load(), total);
        }
    };
    const unsigned hardware = std::max(1u, std::thread::hardware_concurrency());
    const int threadCount = std::clamp(control.threads > 0 ? control.threads : static_cast<int>(hardware), 1,
                                       std::max(total, 1));
    // Where the system runs out of threads or memory, the threads that started do the work.
    std::vector<std::thread> helpers;
    try {
        helpers.reserve(static_cast<size_t>(threadCount - 1));
        for (int t = 1; t < threadCount; ++t)
            helpers.emplace_back(work, false);
    } catch (...) {
    }
    work(true);
    for (std::thread& helper : helpers)
        helper.join();
    if (firstFailed.load() < total)
        std::rethrow_exception(failures[static_cast<size_t>(firstFailed.load())]);
    if (control.scan.work != nullptr)
        control.scan.work->report(total, total);
    return diagram;
}

}  // namespace

InteractionDiagram interactionDiagram(const HeldSectionInput& input, int points, const InteractionControl& control)
{
    points = std::clamp(points, minimumInteractionPoints, maximumInteractionPoints);
    return withSectionType(input.material, [&](auto type) {
        return diagramOf<typename decltype(type)::type>(input, points, control);
    });
}

InteractionPoint peakMomentUnderForce(const HeldSectionInput& input, const ScanOptions& options)
{
    return withSectionType(input.material, [&](auto type) {
        clearFloatingPointFaults();
        const typename decltype(type)::type section(input);
        checkFloatingPointFaults();
        InteractionPoint point = peakOf(section, options);
        checkFloatingPointFaults();  // no faulty value leaves a run, beyond the faces neither
        point.N = input.N.value() * 0.001L;
        return point;
    });
}

}  // namespace prurez
