#include "mechanics/Refinement.h"

#include "common/Failure.h"
#include "common/FixedPoint.h"
#include "mechanics/FibreConcreteLaw.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace prurez {

namespace {

constexpr int parameterCount = gridParameterCount;
// The most Levenberg–Marquardt iterations of one stage, and the stages there can be
// (εtm carrying the slope, then b).
constexpr int maximumIterations = 100;
constexpr int stageCount = 2;
static_assert(stageCount * maximumIterations == refinementStepCount);
// The forward-difference step on the [0, 1] scale of a range.
constexpr long double differenceStep = 1e-6L;
// A stage ends when an accepted step lowers the sum of squares by less than this part.
constexpr long double smallestGain = 1e-12L;
// A parameter at a limit holds the fit back when its gradient points outwards with at
// least this cosine between its Jacobian column and the residuals.
constexpr long double pressingCosine = 1e-4L;

long double sumOfSquares(const std::vector<long double>& r)
{
    long double sum = 0.0L;
    for (long double v : r)
        sum = sum + v * v;
    return sum;
}

// ---- the smooth stand-in for MomentAtCurvature

class SmoothMoments {
public:
    explicit SmoothMoments(const RefinementProblem& problem)
        : problem_(problem), lastDepth_(problem.curvatures.size(), -1.0L)
    {
    }

    // The residuals M − Mtest at the values; false where a moment cannot be formed.
    bool residuals(const FitValues& v, std::vector<long double>& r)
    {
        r.assign(problem_.curvatures.size(), 0.0L);
        bool formed = true;
        clearFloatingPointFaults();
        try {
            const FibreConcreteLaw law =
                continuousFibreLaw(v[fitE], problem_.fcp, v[fitFct], v[fitA], v[fitB], v[fitEctm] * 0.01L);
            checkFloatingPointFaults();
            for (size_t k = 0; k < r.size() && formed; ++k) {
                const std::optional<long double> m = moment(law, k);
                formed = m.has_value() && std::isfinite(*m);
                if (formed)
                    r[k] = *m - problem_.testMoments[k];
            }
            checkFloatingPointFaults();
        } catch (const Failure&) {
            formed = false;
        }
        clearFloatingPointFaults();
        return formed;
    }

    long long evaluations() const { return evaluations_; }

private:
    // The stand-in's moment at test point k [kNm], or no value without balance.
    std::optional<long double> moment(const FibreConcreteLaw& law, size_t k)
    {
        ++evaluations_;
        const long double w = problem_.beam.width;
        const long double h = problem_.beam.height;
        const long double kappa = problem_.curvatures[k];
        const FibreAtCurvature zones(law, w, kappa);
        FibreTrial trial;
        // In exact equilibrium the moment is taken where FT + FP = 0, which makes it
        // smooth already.
        const bool exact = problem_.scan.exactEquilibrium;
        const long double tolerance = exact ? 0.0L : momentBalanceTolerance;
        // FT + FP + 1 kN: below zero before the scan enters the balance window.
        auto excess = [&](long double x) {
            trial = zones.trial(h, x);
            return trial.tension.force + trial.compression.force + tolerance;
        };
        const long double first = exact ? h / 2.0L : (h / 2.0L + momentScanStep) - momentScanStep;
        long double position = first;
        const long double atFirst = excess(first);
        if (!std::isfinite(atFirst))
            return std::nullopt;
        if (atFirst >= 0.0L && !(exact && atFirst > 0.0L)) {
            // The scan accepts its first position, unless the sum is beyond the window there.
            if (!(atFirst - tolerance < momentBalanceTolerance))
                return std::nullopt;
        } else {
            // The excess falls with x (its derivative is −w·(σc + σt)): the root lies in
            // (0, first), found by Newton's method kept inside the bracket; in exact
            // equilibrium, with more tension than compression at mid-height, in (first, h).
            const bool below = atFirst > 0.0L;
            if (below && excess(h) > 0.0L)
                return std::nullopt;
            long double low = below ? first : 0.0L;
            long double high = below ? h : first;
            long double x = lastDepth_[k] > low && lastDepth_[k] < high ? lastDepth_[k] : low + (high - low) / 2.0L;
            for (int iteration = 0; iteration < 200; ++iteration) {
                const long double g = excess(x);
                if (!std::isfinite(g))
                    return std::nullopt;
                if (g == 0.0L)
                    break;
                if (g > 0.0L)
                    low = x;
                else
                    high = x;
                const long double slope =
                    -w * (fibreCompressionStress(law, trial.epsh) + fibreTensionStress(law, trial.epsd));
                long double next = x - g / slope;
                if (!(slope < 0.0L) || !(next > low && next < high))
                    next = low + (high - low) / 2.0L;
                const bool converged = std::fabs(next - x) <= 1e-17L || !(high - low > 1e-17L);
                x = next;
                if (converged)
                    break;
            }
            // A root at the compressed face: no balance when the excess stays below zero there.
            if (!below && x < momentScanStep && excess(0.0L) < 0.0L)
                return std::nullopt;
            lastDepth_[k] = x;
            position = exact ? x : x - momentScanStep / 2.0L;
        }
        return momentOfTrial(zones.trial(h, position));
    }

    const RefinementProblem& problem_;
    std::vector<long double> lastDepth_;  // the last root of each test point (Newton's start)
    long long evaluations_ = 0;
};

// ---- Levenberg–Marquardt inside the ranges

// Solves the small system m·x = rhs by Gaussian elimination with partial pivoting;
// false when it is singular.
bool solve(std::vector<std::vector<long double>> m, std::vector<long double> rhs, std::vector<long double>& x)
{
    const size_t n = rhs.size();
    for (size_t column = 0; column < n; ++column) {
        size_t pivot = column;
        for (size_t row = column + 1; row < n; ++row)
            if (std::fabs(m[row][column]) > std::fabs(m[pivot][column]))
                pivot = row;
        if (!(std::fabs(m[pivot][column]) > 0.0L))
            return false;
        std::swap(m[pivot], m[column]);
        std::swap(rhs[pivot], rhs[column]);
        for (size_t row = column + 1; row < n; ++row) {
            const long double factor = m[row][column] / m[column][column];
            for (size_t c = column; c < n; ++c)
                m[row][c] = m[row][c] - factor * m[column][c];
            rhs[row] = rhs[row] - factor * rhs[column];
        }
    }
    x.assign(n, 0.0L);
    for (size_t row = n; row-- > 0;) {
        long double sum = rhs[row];
        for (size_t c = row + 1; c < n; ++c)
            sum = sum - m[row][c] * x[c];
        x[row] = sum / m[row][row];
    }
    for (long double v : x)
        if (!std::isfinite(v))
            return false;
    return true;
}

struct StageOutcome {
    FitValues values{};
    std::array<int, parameterCount> pressing{};  // −1 held back by the lower limit, +1 by the upper
};

// Fits the active parameters from `start`, the others held; each active range has a
// width above zero.
StageOutcome fitStage(SmoothMoments& model, const RefinementProblem& problem, const FitValues& start,
                      const std::vector<int>& active, int firstStep)
{
    StageOutcome outcome;
    outcome.values = start;
    const size_t n = active.size();
    if (n == 0)
        return outcome;

    // Each active parameter on [0, 1] over its range; the start's own position gives
    // back the start value itself, the ends the limits themselves.
    std::vector<long double> startAt(n);
    for (size_t i = 0; i < n; ++i) {
        const FitRange& range = problem.ranges[static_cast<size_t>(active[i])];
        const long double at = (start[static_cast<size_t>(active[i])] - range.low) / (range.high - range.low);
        startAt[i] = std::clamp(at, 0.0L, 1.0L);
    }
    auto valuesAt = [&](const std::vector<long double>& at) {
        FitValues v = start;
        for (size_t i = 0; i < n; ++i) {
            const FitRange& range = problem.ranges[static_cast<size_t>(active[i])];
            long double& value = v[static_cast<size_t>(active[i])];
            if (at[i] == startAt[i])
                continue;
            value = at[i] <= 0.0L   ? range.low
                    : at[i] >= 1.0L ? range.high
                                    : range.low + at[i] * (range.high - range.low);
        }
        return v;
    };

    std::vector<long double> u = startAt;
    std::vector<long double> r;
    if (!model.residuals(valuesAt(u), r))
        return outcome;
    long double cost = sumOfSquares(r);
    const size_t p = r.size();

    std::vector<std::vector<long double>> jacobian(n, std::vector<long double>(p, 0.0L));
    std::vector<long double> gradient(n, 0.0L);
    std::vector<long double> shifted;
    std::vector<long double> moved;
    auto differentiate = [&] {
        for (size_t i = 0; i < n; ++i) {
            std::vector<long double> at = u;
            long double step = u[i] + differenceStep <= 1.0L ? differenceStep : -differenceStep;
            at[i] = u[i] + step;
            bool formed = model.residuals(valuesAt(at), shifted);
            if (!formed) {
                step = -step;
                at[i] = u[i] + step;
                formed = at[i] >= 0.0L && at[i] <= 1.0L && model.residuals(valuesAt(at), shifted);
            }
            for (size_t k = 0; k < p; ++k)
                jacobian[i][k] = formed ? (shifted[k] - r[k]) / step : 0.0L;
        }
        for (size_t i = 0; i < n; ++i) {
            long double sum = 0.0L;
            for (size_t k = 0; k < p; ++k)
                sum = sum + jacobian[i][k] * r[k];
            gradient[i] = sum;
        }
    };

    long double damping = 1e-3L;
    for (int iteration = 0; iteration < maximumIterations; ++iteration) {
        if (WorkControl* work = problem.scan.work) {
            work->report(firstStep + iteration, stageCount * maximumIterations);
            work->stopIfRequested();
        }
        differentiate();
        // A parameter at a limit whose descent points outwards stays there this step.
        std::vector<size_t> free;
        for (size_t i = 0; i < n; ++i)
            if (!((u[i] <= 0.0L && gradient[i] > 0.0L) || (u[i] >= 1.0L && gradient[i] < 0.0L)))
                free.push_back(i);
        if (free.empty())
            break;
        const size_t f = free.size();
        std::vector<std::vector<long double>> normal(f, std::vector<long double>(f, 0.0L));
        long double largestDiagonal = 0.0L;
        for (size_t row = 0; row < f; ++row)
            for (size_t column = 0; column < f; ++column) {
                long double sum = 0.0L;
                for (size_t k = 0; k < p; ++k)
                    sum = sum + jacobian[free[row]][k] * jacobian[free[column]][k];
                normal[row][column] = sum;
                if (row == column)
                    largestDiagonal = std::max(largestDiagonal, sum);
            }
        if (!(largestDiagonal > 0.0L))
            break;

        bool accepted = false;
        long double movedCost = cost;
        std::vector<long double> next;
        while (!accepted && damping < 1e20L) {
            std::vector<std::vector<long double>> damped = normal;
            std::vector<long double> rhs(f);
            for (size_t i = 0; i < f; ++i) {
                damped[i][i] = damped[i][i] + damping * std::max(normal[i][i], 1e-9L * largestDiagonal);
                rhs[i] = -gradient[free[i]];
            }
            std::vector<long double> step;
            if (!solve(damped, rhs, step)) {
                damping = damping * 10.0L;
                continue;
            }
            next = u;
            long double largestMove = 0.0L;
            for (size_t i = 0; i < f; ++i) {
                next[free[i]] = std::clamp(u[free[i]] + step[i], 0.0L, 1.0L);
                largestMove = std::max(largestMove, std::fabs(next[free[i]] - u[free[i]]));
            }
            if (!(largestMove > 1e-15L))
                break;
            if (model.residuals(valuesAt(next), moved)) {
                movedCost = sumOfSquares(moved);
                accepted = movedCost < cost;
            }
            if (!accepted)
                damping = damping * 10.0L;
        }
        if (!accepted)
            break;
        const long double gain = (cost - movedCost) / cost;
        u = next;
        r = moved;
        cost = movedCost;
        damping = std::max(damping * 0.2L, 1e-12L);
        if (!(cost > 0.0L) || gain < smallestGain)
            break;
    }

    outcome.values = valuesAt(u);
    // Which limits hold the fit back, from the gradient where it ended.
    differentiate();
    const long double residualNorm = std::sqrt(cost);
    for (size_t i = 0; i < n; ++i) {
        long double columnNorm = 0.0L;
        for (size_t k = 0; k < p; ++k)
            columnNorm = columnNorm + jacobian[i][k] * jacobian[i][k];
        const long double threshold = pressingCosine * residualNorm * std::sqrt(columnNorm);
        int& side = outcome.pressing[static_cast<size_t>(active[i])];
        if (u[i] <= 0.0L && gradient[i] > threshold && threshold > 0.0L)
            side = -1;
        else if (u[i] >= 1.0L && gradient[i] < -threshold && threshold > 0.0L)
            side = 1;
    }
    return outcome;
}

// The value as the rest of the program holds it, inside its range.
long double heldValue(int parameter, long double value, const FitRange& range)
{
    if (value <= range.low)
        return range.low;
    if (value >= range.high)
        return range.high;
    long double held = value;
    if (parameter == fitE || parameter == fitFct) {
        // Beyond what a fixed-point value holds the section analysis could not take it over anyway.
        if (std::fabs(value) < 9e14L)
            held = Fixed::store(value).value();
    } else if (parameter == fitA || parameter == fitB) {
        held = single(value);
    }
    return std::clamp(held, range.low, range.high);
}

}  // namespace

FibreParameters fibreParametersOf(long double fcp, const FitValues& values)
{
    FibreParameters parameters;
    parameters.E = values[fitE];
    parameters.fcp = fcp;
    parameters.fct = values[fitFct];
    parameters.epsTu = values[fitEctm] * 0.01L;
    parameters.a = Single(values[fitA]);
    parameters.b = Single(values[fitB]);
    return parameters;
}

long double gentleSlope(const FibreParameters& parameters)
{
    const FibreConcreteLaw law =
        extendedFibreLaw(parameters.E, parameters.fcp, parameters.fct, parameters.a, parameters.b, parameters.epsTu);
    return (1.0L - law.a - law.b) * law.fct / (law.etu - law.et1);
}

bool gentleBranchReached(const BeamSection& beam, const FibreParameters& parameters,
                         const std::vector<Single>& curvatures, const ScanOptions& options)
{
    const FibreConcreteLaw law =
        extendedFibreLaw(parameters.E, parameters.fcp, parameters.fct, parameters.a, parameters.b, parameters.epsTu);
    for (Single kappa : curvatures) {
        const std::optional<FibreTrial> trial = balancedTrialAtCurvature(beam, parameters, kappa, options);
        if (trial && trial->epsd > law.et1)
            return true;
    }
    return false;
}

Refinement refineFit(const RefinementProblem& problem)
{
    Refinement result;
    result.values = problem.start;
    SmoothMoments model(problem);
    auto width = [&](int parameter) {
        const FitRange& range = problem.ranges[static_cast<size_t>(parameter)];
        return range.high - range.low;
    };
    long long scanEvaluations = 0;
    auto reached = [&](const FitValues& values) {
        scanEvaluations += static_cast<long long>(problem.curvatures.size());
        clearFloatingPointFaults();
        bool shown = false;
        try {
            shown = gentleBranchReached(problem.beam, fibreParametersOf(problem.fcp, values), problem.curvatures,
                                        problem.scan);
        } catch (const Failure&) {
            shown = false;
        }
        clearFloatingPointFaults();
        return shown;
    };

    // First εtm carries the slope of the gentle branch, b held (b when εtm's range has no width).
    std::vector<int> active;
    for (int parameter : {fitE, fitFct, fitA})
        if (width(parameter) > 0.0L)
            active.push_back(parameter);
    const int slopeParameter = width(fitEctm) > 0.0L ? fitEctm : width(fitB) > 0.0L ? fitB : -1;
    if (slopeParameter >= 0)
        active.push_back(slopeParameter);
    result.slopeCarriedByB = slopeParameter == fitB;
    StageOutcome stage = fitStage(model, problem, problem.start, active, 0);
    std::array<int, parameterCount> pressing = stage.pressing;
    bool shown = reached(stage.values);

    // εtm pressed against a limit: held there, b carries the slope.
    if (shown && slopeParameter == fitEctm && pressing[fitEctm] != 0 && width(fitB) > 0.0L) {
        active.back() = fitB;
        const StageOutcome second = fitStage(model, problem, stage.values, active, maximumIterations);
        const int ectmSide = pressing[fitEctm];
        stage = second;
        pressing = second.pressing;
        pressing[fitEctm] = second.pressing[fitB] != 0 ? ectmSide : 0;
        result.slopeCarriedByB = true;
        shown = reached(stage.values);
    }

    for (size_t parameter = 0; parameter < parameterCount; ++parameter) {
        const long double value = stage.values[parameter];
        result.values[parameter] = value == problem.start[parameter]
                                       ? value
                                       : heldValue(static_cast<int>(parameter), value, problem.ranges[parameter]);
        result.kept[parameter] = result.values[parameter] == problem.start[parameter];
    }
    // b and εtm at a limit mean something only where the moments show their slope.
    if (!shown)
        pressing[fitEctm] = pressing[fitB] = 0;
    result.limitSide = pressing;
    result.gentleBranchReached = reached(result.values);
    result.momentEvaluations = model.evaluations() + scanEvaluations;
    if (problem.scan.work != nullptr)
        problem.scan.work->report(stageCount * maximumIterations, stageCount * maximumIterations);
    return result;
}

}  // namespace prurez
