// prurez-batch inverse: the road of the inverse analysis through its windows' handlers.

#include "batch/Commands.h"

#include "common/Failure.h"
#include "common/FloatingPoint.h"
#include "common/GridTable.h"
#include "common/LineSeries.h"
#include "common/NumberText.h"
#include "inverse/InverseAnalysis.h"

#include <algorithm>
#include <array>

namespace prurez::batch {

namespace {

enum Block { testBlock, combinationsBlock, momentsBlock, deviationsBlock, bestBlock, blockCount };
const std::array<const char*, blockCount> blockNames{"test", "combinations", "moments", "deviations", "best"};

struct PointTexts {
    std::string force;
    std::string deflection;
};

PointTexts splitPoint(const std::string& value)
{
    const size_t separator = value.find(';');
    if (separator == std::string::npos || value.find(';', separator + 1) != std::string::npos)
        throw UsageError("key 'point': expected 'force ; deflection', not '" + value + "'");
    return {trimBlanks(value.substr(0, separator)), trimBlanks(value.substr(separator + 1))};
}

}  // namespace

int runInverseCommand(const BatchInput& input, const BatchOptions& options, std::ostream& out, std::ostream& err)
{
    input.validate({"test_file", "point", "E_test", "load_a", "s", "h", "w", "fcp", "ecpm", "E_min", "E_max",
                    "fct_min", "fct_max", "ectm_min", "ectm_max", "a_min", "a_max", "b_min", "b_max", "n"},
                   {"point"});
    if (input.has("test_file") && input.has("point"))
        throw UsageError("give the test points either by 'test_file' or by 'point' keys, not both");
    std::vector<PointTexts> typedPoints;
    for (const auto& value : input.values("point"))
        typedPoints.push_back(splitPoint(value));

    std::array<bool, blockCount> wanted{};
    if (options.blocks.empty())
        wanted.fill(true);
    for (const auto& name : options.blocks)
        for (size_t block = 0; block < blockCount; ++block)
            wanted[block] = wanted[block] || name == blockNames[block];
    int lastBlock = 0;
    for (int block = 0; block < blockCount; ++block)
        if (wanted[static_cast<size_t>(block)])
            lastBlock = block;

    const char separator = options.decimalSeparator;
    // The windows' grids as they start.
    GridTable points(2, 8);
    GridTable diagram(4, 8);
    GridTable values(5, 5);
    GridTable combinations(8, 20);
    GridTable moments(5, 5);
    GridTable deviations(5, 5);
    GridTable list(2, 5);
    LineSeries testCurve;
    LineSeries comparedTestCurve;
    LineSeries combinationCurve;
    std::string pointCountText = "0";
    BestFit fit;

    std::string bestRow;
    auto steps = [&] {
        if (input.has("test_file")) {
            const int pointCount = readTestDataFile(input.value("test_file"), points, separator);
            pointCountText = formatInteger(pointCount);
        } else if (!typedPoints.empty()) {
            pointCountText = formatInteger(static_cast<long long>(typedPoints.size()));
            setTestPointCount(pointCountText, points);
            for (size_t i = 0; i < typedPoints.size(); ++i) {
                points.setCell(0, static_cast<int>(i) + 1, typedPoints[i].force);
                points.setCell(1, static_cast<int>(i) + 1, typedPoints[i].deflection);
            }
        }
        clearFloatingPointFaults();
        copyTestPoints(points, diagram);
        TestDiagramFields testFields;
        testFields.Edit2 = input.value("E_test");
        testFields.Edit3 = input.value("load_a");
        testFields.Edit4 = input.value("s");
        computeTestDiagram(testFields, diagram, testCurve, separator, {});
        if (lastBlock == testBlock)
            return;

        clearFloatingPointFaults();
        CombinationFields combinationFields;
        combinationFields.Edit5 = input.value("fcp");
        combinationFields.Edit6 = input.value("ecpm");
        combinationFields.Edit7 = input.value("E_min");
        combinationFields.Edit12 = input.value("E_max");
        combinationFields.Edit8 = input.value("fct_min");
        combinationFields.Edit13 = input.value("fct_max");
        combinationFields.Edit9 = input.value("ectm_min");
        combinationFields.Edit14 = input.value("ectm_max");
        combinationFields.Edit10 = input.value("a_min");
        combinationFields.Edit15 = input.value("a_max");
        combinationFields.Edit11 = input.value("b_min");
        combinationFields.Edit16 = input.value("b_max");
        combinationFields.Edit17 = input.value("n", "0");
        generateCombinations(combinationFields, values, combinations, separator);
        if (lastBlock == combinationsBlock)
            return;

        clearFloatingPointFaults();
        MomentFields momentFields;
        momentFields.Edit18 = input.value("h");
        momentFields.Edit19 = input.value("w");
        momentFields.Edit1 = pointCountText;
        MomentRunControl control;
        control.threads = options.threads;
        control.exhaustiveScan = options.exhaustiveScan;
        computeCombinationMoments(momentFields, diagram, combinations, moments, separator, control);
        if (lastBlock == momentsBlock)
            return;

        clearFloatingPointFaults();
        computeDeviations(pointCountText, moments, diagram, combinations, deviations, separator);
        fillDeviationList(combinations, deviations, list);
        if (lastBlock == deviationsBlock)
            return;

        clearFloatingPointFaults();
        fit = findBestFit(pointCountText, list, combinations, diagram, moments, comparedTestCurve, combinationCurve,
                          separator);
        bestRow = formatInteger(fit.row);
        for (const auto& text : fit.texts)
            bestRow += '\t' + text;
        bestRow += '\n';
    };

    std::string message;
    if (!runHandler([&](const std::string& text) { message = text; }, steps)) {
        err << message << '\n';
        return 1;
    }
    // Every step up to the last wanted block has succeeded; the tables are final.
    const std::array<const GridTable*, blockCount - 1> tables{&diagram, &combinations, &moments, &list};
    for (size_t block = 0; block < blockCount; ++block) {
        if (!wanted[block])
            continue;
        out << "# " << blockNames[block] << '\n';
        if (block == bestBlock)
            out << bestRow;
        else
            tables[block]->writeTsv(out);
    }
    return 0;
}

}  // namespace prurez::batch
