// The refinement of the best fit: the fit in the mechanics; the moments and summed
// deviations reported come from the flows of the moment and deviation tables.

#include "flows/RefinementFlow.h"

#include "common/Failure.h"
#include "common/FloatingPoint.h"
#include "common/NumberText.h"
#include "flows/CellText.h"
#include "flows/InverseMessages.h"
#include "flows/Refusals.h"
#include "mechanics/Refinement.h"

#include <algorithm>
#include <optional>

namespace prurez {

namespace {

// The position of E, fct, ectm, a, b among the seven parameter texts (E, fcp, fct,
// ecpm, ectm, a, b), and their symbols.
constexpr std::array<size_t, gridParameterCount> textIndex{0, 2, 4, 5, 6};
const std::array<const char*, gridParameterCount> symbols{"E", "fct", "ectm", "a", "b"};

struct RowEvaluation {
    std::vector<std::string> moments;
    std::string sum;
    std::vector<int> pointCounts;  // of each test, whose moments follow one another
};

// The moments and the summed deviation of one combination, as a table of that one row
// gives them.
RowEvaluation evaluateCombination(const BeamTexts& beam, const TextTable& diagram, const std::string& number,
                                  const std::array<std::string, 7>& texts, char decimalSeparator,
                                  ScanOptions scan)
{
    scan.work = nullptr;  // the moments of one combination: too short to stop
    GridTable combination(8, 2);
    combination.setCell(0, 1, number);
    for (size_t column = 1; column <= texts.size(); ++column)
        combination.setCell(static_cast<int>(column), 1, texts[column - 1]);
    MomentRunControl control;
    control.threads = 1;
    control.scan = scan;
    MomentTable moments(1, 1);
    computeCombinationMoments(beam, diagram, combination, moments, decimalSeparator, control);
    DeviationTable deviations(1, 1);
    computeDeviations(beam.pointCount, moments, diagram, combination, deviations, decimalSeparator);
    RowEvaluation evaluation;
    const int pointCount = deviations.columnCount() - 2;
    for (int k = 1; k <= pointCount; ++k)
        evaluation.moments.push_back(moments.cell(2 * k, 1));
    evaluation.sum = deviations.cell(pointCount + 1, 1);
    evaluation.pointCounts.push_back(pointCount);
    return evaluation;
}

// The moments of one combination for each test in turn, and the sum of the tests'
// summed deviations (the one test's own text when there is one).
RowEvaluation evaluateCombination(const std::vector<FittedTest>& tests, const std::string& number,
                                  const std::array<std::string, 7>& texts, char decimalSeparator,
                                  const ScanOptions& scan)
{
    if (tests.size() == 1)
        return evaluateCombination(*tests[0].beam, *tests[0].diagram, number, texts, decimalSeparator, scan);
    RowEvaluation all;
    long double sum = 0.0L;
    for (const FittedTest& test : tests) {
        RowEvaluation one = evaluateCombination(*test.beam, *test.diagram, number, texts, decimalSeparator, scan);
        all.moments.insert(all.moments.end(), one.moments.begin(), one.moments.end());
        all.pointCounts.push_back(one.pointCounts[0]);
        sum = sum + parseNumber(one.sum, decimalSeparator);
    }
    checkFloatingPointFaults();
    all.sum = formatNumber(sum, decimalSeparator);
    return all;
}

}  // namespace

RefinedFit refineBestFit(const BeamTexts& beam, const TextTable& diagram, const TextTable& combinations, int bestRow,
                         const CombinationTexts& ranges, char decimalSeparator, const RefinementRunControl& control)
{
    return refineBestFit(std::vector<FittedTest>{{&beam, &diagram}}, combinations, bestRow, ranges, decimalSeparator,
                         control);
}

RefinedFit refineBestFit(const std::vector<FittedTest>& tests, const TextTable& combinations, int bestRow,
                         const CombinationTexts& ranges, char decimalSeparator, const RefinementRunControl& control)
{
    clearFloatingPointFaults();
    if (tests.empty() || bestRow < 1 || bestRow >= combinations.rowCount())
        throw refusal(Reason::noBestCombination);
    const std::array<std::string, 7> gridTexts = combinationTexts(combinations, bestRow);
    const std::string number = combinations.cell(0, bestRow);
    // Checks the beam, the point count and the diagram as the moment and deviation flows do.
    const RowEvaluation grid = evaluateCombination(tests, number, gridTexts, decimalSeparator, control.scan);
    const int pointCount = static_cast<int>(grid.moments.size());

    clearFloatingPointFaults();
    RefinementProblem problem;
    const BeamTexts& beam = *tests[0].beam;
    problem.beam.width = readSingle(beam.width, decimalSeparator);
    problem.beam.height = readSingle(beam.height, decimalSeparator);
    problem.fcp = parseNumber(gridTexts[1], decimalSeparator);
    RefinedFit fit;
    for (size_t test = 0; test < tests.size(); ++test) {
        const TextTable& diagram = *tests[test].diagram;
        for (int k = 1; k <= grid.pointCounts[test]; ++k) {
            fit.curvatures.push_back(diagram.cell(2, k));
            problem.curvatures.push_back(Single(readNumber(diagram, 2, k, decimalSeparator)));
            problem.testMoments.push_back(readNumber(diagram, 3, k, decimalSeparator));
        }
    }
    const auto rangeTexts = gridRanges(ranges);
    for (size_t parameter = 0; parameter < gridParameterCount; ++parameter) {
        const long double start = parseNumber(gridTexts[textIndex[parameter]], decimalSeparator);
        problem.start[parameter] = parameter == fitA || parameter == fitB ? Single(start) : start;
        const long double min = readExtended(rangeTexts[parameter]->min, decimalSeparator);
        const long double max = readExtended(rangeTexts[parameter]->max, decimalSeparator);
        problem.ranges[parameter] = FitRange{std::min(min, max), std::max(min, max)};
    }
    checkFloatingPointFaults();
    problem.scan = control.scan;  // the fit and its scans stop with it
    const Refinement refinement = refineFit(problem);

    std::array<std::string, 7> refinedTexts = gridTexts;
    for (size_t parameter = 0; parameter < gridParameterCount; ++parameter)
        if (!refinement.kept[parameter])
            refinedTexts[textIndex[parameter]] = formatNumber(refinement.values[parameter], decimalSeparator);
    std::optional<RowEvaluation> refined;
    try {
        refined = evaluateCombination(tests, number, refinedTexts, decimalSeparator, control.scan);
    } catch (const Failure&) {
        // A combination the scan cannot balance is no result; the best one stays.
    }
    clearFloatingPointFaults();
    fit.momentEvaluations = refinement.momentEvaluations + 2 * static_cast<long long>(pointCount);
    fit.gridSum = grid.sum;
    fit.improved = refined && parseNumber(refined->sum, decimalSeparator) < parseNumber(grid.sum, decimalSeparator);
    const RowEvaluation& reported = fit.improved ? *refined : grid;
    fit.texts = fit.improved ? refinedTexts : gridTexts;
    fit.refinedSum = reported.sum;
    fit.moments = reported.moments;

    for (size_t parameter = 0; parameter < gridParameterCount; ++parameter) {
        if (refinement.limitSide[parameter] == 0)
            continue;
        // The best combination reported stands at that limit only when its text is the limit's.
        const FitRange& range = problem.ranges[parameter];
        const long double limit = refinement.limitSide[parameter] < 0 ? range.low : range.high;
        if (fit.improved || gridTexts[textIndex[parameter]] == formatNumber(limit, decimalSeparator))
            fit.warnings.push_back(parameterAtLimitMessage(symbols[parameter]));
    }
    if (refinement.gentleBranchReached) {
        std::string line = slopeOnlyMessage;
        if (fit.improved)
            line += refinement.slopeCarriedByB ? slopeByBMessage : slopeByEctmMessage;
        fit.warnings.push_back(line);
    } else {
        fit.warnings.push_back(gentleBranchNotReachedMessage);
    }
    return fit;
}

LineSeries fitCurve(const RefinedFit& fit, char decimalSeparator, std::uint32_t colour)
{
    LineSeries curve;
    curve.add(0.0L, 0.0L, colour);
    for (size_t k = 0; k < fit.curvatures.size() && k < fit.moments.size(); ++k)
        curve.add(parseNumber(fit.curvatures[k], decimalSeparator), parseNumber(fit.moments[k], decimalSeparator),
                  colour);
    return curve;
}

}  // namespace prurez
