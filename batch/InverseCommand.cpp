// prurez-batch inverse: the road of the inverse analysis through its windows' handlers.

#include "batch/Commands.h"

#include "common/Failure.h"
#include "common/FloatingPoint.h"
#include "common/NumberText.h"
#include "flows/InverseFlow.h"
#include "flows/RefinementFlow.h"

#include <algorithm>
#include <array>

namespace prurez::batch {

namespace {

enum Block { testBlock, combinationsBlock, momentsBlock, deviationsBlock, bestBlock, refinedBlock, blockCount };

}  // namespace

const std::vector<std::string>& inverseBlockNames()
{
    static const std::vector<std::string> names{"test", "combinations", "moments", "deviations", "best", "refined"};
    return names;
}

int runInverseCommand(const InputFile& input, const BatchOptions& options, std::ostream& out, std::ostream& err)
{
    const std::vector<std::string>& blockNames = inverseBlockNames();
    std::array<bool, blockCount> wanted{};
    if (options.blocks.empty()) {
        wanted.fill(true);
        wanted[refinedBlock] = options.refine;
    }
    for (const auto& name : options.blocks)
        for (size_t block = 0; block < blockCount; ++block)
            wanted[block] = wanted[block] || name == blockNames[block];
    if (wanted[refinedBlock] && !options.refine)
        throw UsageError("the block 'refined' needs --refine");
    InverseInput in = readInverseInput(input);
    in.testFile = pathBesideInput(options.inputName, in.testFile);
    const bool exact = options.exactEquilibrium || in.exactEquilibrium;
    int lastBlock = 0;
    for (int block = 0; block < blockCount; ++block)
        if (wanted[static_cast<size_t>(block)])
            lastBlock = block;

    const char separator = options.decimalSeparator;
    InverseTables tables;
    LineSeries testCurve;
    LineSeries comparedTestCurve;
    LineSeries combinationCurve;
    std::string pointCountText = "0";

    std::string bestRow;
    std::string refinedLines;
    // The steps a user takes, up to the last one a wanted block needs.
    auto steps = [&] {
        if (in.testFileGiven) {
            pointCountText = formatInteger(readTestDataFile(in.testFile, tables.testPoints, separator));
        } else if (!in.points.empty()) {
            pointCountText = formatInteger(static_cast<long long>(in.points.size()));
            setTestPointCount(pointCountText, tables.testPoints);
            for (size_t i = 0; i < in.points.size(); ++i) {
                tables.testPoints.setCell(0, static_cast<int>(i) + 1, in.points[i].force);
                tables.testPoints.setCell(1, static_cast<int>(i) + 1, in.points[i].deflection);
            }
        }
        clearFloatingPointFaults();
        copyTestPoints(tables.testPoints, tables.testDiagram);
        computeTestDiagram(in.test, tables.testDiagram, testCurve, separator, {});
        if (lastBlock == testBlock)
            return;

        clearFloatingPointFaults();
        generateCombinations(in.combinations, tables.values, tables.combinations, separator);
        if (lastBlock == combinationsBlock)
            return;

        clearFloatingPointFaults();
        MomentRunControl control;
        control.threads = options.threads;
        control.scan.exhaustiveScan = options.exhaustiveScan;
        control.scan.exactEquilibrium = exact;
        computeCombinationMoments(BeamTexts{in.height, in.width, pointCountText}, tables.testDiagram,
                                  tables.combinations, tables.moments, separator, control);
        if (lastBlock == momentsBlock)
            return;

        clearFloatingPointFaults();
        RowRunControl deviationControl;
        deviationControl.threads = options.threads;
        computeDeviations(pointCountText, tables.moments, tables.testDiagram, tables.combinations, tables.deviations,
                          separator, deviationControl);
        fillDeviationList(tables.combinations, tables.deviations, tables.deviationList);
        if (lastBlock == deviationsBlock)
            return;

        clearFloatingPointFaults();
        const BestFit fit = findBestFit(pointCountText, tables.deviationList, tables.combinations,
                                        tables.testDiagram, tables.moments, comparedTestCurve, combinationCurve,
                                        separator);
        bestRow = formatInteger(fit.row);
        for (const auto& text : fit.texts)
            bestRow += '\t' + text;
        bestRow += '\n';
        if (lastBlock == bestBlock)
            return;

        clearFloatingPointFaults();
        RefinementRunControl refineControl;
        refineControl.scan.exhaustiveScan = options.exhaustiveScan;
        refineControl.scan.exactEquilibrium = exact;
        const RefinedFit refined = refineBestFit(BeamTexts{in.height, in.width, pointCountText}, tables.testDiagram,
                                                 tables.combinations, fit.row, in.combinations, separator,
                                                 refineControl);
        for (size_t i = 0; i < refined.texts.size(); ++i)
            refinedLines += (i == 0 ? "" : "\t") + refined.texts[i];
        refinedLines += '\n' + refined.gridSum + '\t' + refined.refinedSum + '\n';
        for (const auto& line : refined.warnings)
            refinedLines += line + '\n';
    };

    std::string message;
    if (!runHandler([&](const std::string& text) { message = text; }, steps)) {
        err << message << '\n';
        return 1;
    }
    // Every step up to the last wanted block has succeeded; the tables are final.
    const std::array<const GridTable*, bestBlock> printed{&tables.testDiagram, &tables.combinations, &tables.moments,
                                                          &tables.deviationList};
    for (size_t block = 0; block < blockCount; ++block) {
        if (!wanted[block])
            continue;
        out << "# " << blockNames[block] << '\n';
        if (block == bestBlock)
            out << bestRow;
        else if (block == refinedBlock)
            out << refinedLines;
        else
            printed[block]->writeTsv(out);
    }
    return 0;
}

}  // namespace prurez::batch
