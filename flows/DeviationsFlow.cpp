// The squared moment deviations of every combination from the test and the
// combination that fits the test best.

#include "flows/InverseFlow.h"

#include "common/Failure.h"
#include "common/FloatingPoint.h"
#include "common/NumberText.h"
#include "flows/CellText.h"
#include "flows/InverseMessages.h"
#include "mechanics/Deviations.h"

#include <cmath>
#include <vector>

namespace prurez {

namespace {

// The number of test points p from its field text, read as a number: a whole
// number of at least 1.
int pointCountOf(const std::string& pointCountText, char decimalSeparator)
{
    const long double count = readExtended(pointCountText, decimalSeparator);
    if (count != std::trunc(count))
        throw Failure(pointCountNotWholeMessage);
    if (count < 1.0L)
        throw Failure(noTestPointsMessage);
    if (count > 1000000.0L)
        throw Failure(pointCountMismatchMessage);
    return static_cast<int>(count);
}

}  // namespace

void computeDeviations(const std::string& pointCountText, const GridTable& moments, const GridTable& diagram,
                       const GridTable& combinations, GridTable& deviations, char decimalSeparator,
                       const RowRunControl& control)
{
    clearFloatingPointFaults();
    const int pointCount = pointCountOf(pointCountText, decimalSeparator);
    const int rowCount = combinations.rowCount();
    if (rowCount < 2)
        throw Failure(noCombinationsMessage);
    if (pointCount > diagram.rowCount() - 1)
        throw Failure(pointCountMismatchMessage);
    // Cells beyond the moment table's counts may hold an earlier analysis.
    if (moments.columnCount() < 2 * pointCount + 1 || moments.rowCount() < rowCount)
        throw Failure(momentTableMismatchMessage);

    deviations.reserveRows(rowCount);
    deviations.setColumnCount(pointCount + 2);
    deviations.setRowCount(rowCount);
    deviations.setCell(0, 0, "kombinace");
    for (int k = 1; k <= pointCount; ++k)
        deviations.setCell(k, 0, "odchylka");
    deviations.setCell(pointCount + 1, 0, "soucet");

    // The test moments are the same texts for every combination: read once.
    std::vector<KeptNumber> testMoments;
    for (int k = 1; k <= pointCount; ++k)
        testMoments.push_back(keepNumber(diagram, 3, k, decimalSeparator));

    // Each squared deviation enters its sum as its 15-digit text reads back. The texts of
    // a row are read back while they are at hand, with the fault flags set aside: a row
    // whose reading and sum raised no fault keeps its sum, written as the second pass
    // reaches it; any other row is summed there from its cells.
    std::vector<long double> squared(static_cast<size_t>(pointCount));
    std::vector<long double> sums(static_cast<size_t>(rowCount));
    std::vector<char> sumKept(static_cast<size_t>(rowCount), 0);
    for (int row = 1; row < rowCount; ++row) {
        if (control.cancel != nullptr && control.cancel->load())
            throw Failure(deviationsCancelledMessage);
        if (control.progress)
            control.progress(row);
        std::string texts = formatInteger(row);
        texts.reserve(static_cast<size_t>(24 * (pointCount + 2)));  // room for the sum too
        std::vector<std::uint32_t> ends;
        ends.reserve(static_cast<size_t>(pointCount + 2));
        ends.push_back(static_cast<std::uint32_t>(texts.size()));
        try {
            for (int k = 1; k <= pointCount; ++k) {
                const long double moment = readNumber(moments, 2 * k, row, decimalSeparator);
                const long double testMoment =
                    keptValue(testMoments[static_cast<size_t>(k - 1)], diagram, 3, k, decimalSeparator);
                const long double deviation = squaredDeviation(moment, testMoment);
                checkFloatingPointFaults();
                appendNumber(texts, deviation, decimalSeparator);
                ends.push_back(static_cast<std::uint32_t>(texts.size()));
            }
        } catch (...) {
            deviations.setRowCells(row, std::move(texts), std::move(ends));
            throw;
        }
        const FaultFlags before;
        clearFloatingPointFaults();
        try {
            for (size_t k = 1; k < ends.size(); ++k)
                squared[k - 1] = parseNumber(std::string_view(texts).substr(ends[k - 1], ends[k] - ends[k - 1]),
                                             decimalSeparator);
            sums[static_cast<size_t>(row)] = summedDeviation(squared);
            sumKept[static_cast<size_t>(row)] = !FaultFlags::faultRaised();
        } catch (const Failure&) {
        }
        before.restore();
        deviations.setRowCells(row, std::move(texts), std::move(ends));
    }
    for (int row = 1; row < rowCount; ++row) {
        if (sumKept[static_cast<size_t>(row)]) {
            writeNumber(deviations, pointCount + 1, row, sums[static_cast<size_t>(row)], decimalSeparator);
            continue;
        }
        for (int k = 1; k <= pointCount; ++k)
            squared[static_cast<size_t>(k - 1)] = readNumber(deviations, k, row, decimalSeparator);
        writeNumber(deviations, pointCount + 1, row, summedDeviation(squared), decimalSeparator);
    }
}

void fillDeviationList(const GridTable& combinations, const GridTable& deviations, GridTable& list)
{
    const int rowCount = combinations.rowCount();
    const int sumColumn = deviations.columnCount() - 1;
    list.setColumnCount(2);
    list.setCell(0, 0, " kombinace");
    list.setCell(1, 0, "  odchylka");
    list.reserveRows(rowCount);
    list.setRowCount(rowCount);
    for (int row = 1; row < rowCount; ++row) {
        list.setCell(0, row, combinations.cell(0, row));
        list.setCell(1, row, deviations.cell(sumColumn, row));
    }
}

BestFit findBestFit(const std::string& pointCountText, const GridTable& list, const GridTable& combinations,
                    const GridTable& diagram, const GridTable& moments, LineSeries& testCurve,
                    LineSeries& combinationCurve, char decimalSeparator)
{
    clearFloatingPointFaults();
    const int pointCount = pointCountOf(pointCountText, decimalSeparator);
    const int rowCount = combinations.rowCount();
    if (rowCount < 2)
        throw Failure(noCombinationsMessage);
    if (moments.columnCount() < 2 * pointCount + 1)
        throw Failure(momentTableMismatchMessage);

    BestFitSearch search;
    for (int row = 1; row < rowCount; ++row)
        search.offer(row, readNumber(list, 1, row, decimalSeparator));
    const int chosen = search.chosen();
    if (chosen == 0)
        throw Failure(noBestFitMessage);

    BestFit fit;
    fit.row = chosen;
    for (int column = 1; column <= 7; ++column)
        fit.texts[static_cast<size_t>(column - 1)] = combinations.cell(column, chosen);

    testCurve.clear();
    combinationCurve.clear();
    testCurve.add(0.0L, 0.0L, colourRed);
    for (int k = 1; k < diagram.rowCount(); ++k)
        testCurve.add(readNumber(diagram, 2, k, decimalSeparator), readNumber(diagram, 3, k, decimalSeparator),
                      colourRed);
    combinationCurve.add(0.0L, 0.0L, colourBlue);
    for (int k = 1; k <= pointCount; ++k)
        combinationCurve.add(readNumber(moments, 2 * k - 1, chosen, decimalSeparator),
                             readNumber(moments, 2 * k, chosen, decimalSeparator), colourBlue);
    return fit;
}

}  // namespace prurez
