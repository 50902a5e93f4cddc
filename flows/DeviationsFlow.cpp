// The squared moment deviations of every combination from the test and the
// combination that fits the test best.

#include "flows/InverseFlow.h"

#include "common/Failure.h"
#include "common/FloatingPoint.h"
#include "common/NumberText.h"
#include "flows/CellText.h"
#include "flows/OrderedRows.h"
#include "flows/Refusals.h"
#include "mechanics/Deviations.h"

#include <cmath>
#include <string>
#include <string_view>
#include <vector>

namespace prurez {

namespace {

// The number of test points p from its field text, read as a number: a whole
// number of at least 1.
int pointCountOf(const std::string& pointCountText, char decimalSeparator)
{
    const long double count = readExtended(pointCountText, decimalSeparator);
    if (count != std::trunc(count))
        throw refusal(Reason::pointCountNotWhole);
    if (count < 1.0L)
        throw refusal(Reason::noTestPoints);
    if (count > 1000000.0L)
        throw refusal(Reason::pointCountMismatch);
    return static_cast<int>(count);
}

struct DeviationInputs {
    int pointCount = 0;
    char decimalSeparator = ',';
    const GridTable* moments = nullptr;
    const GridTable* diagram = nullptr;
    std::vector<KeptNumber> testMoments;  // of test points 1 … p (index k − 1)
};

// A row of squared deviations and, where it can be known now, its sum.
// Room kept in a row for the sum written by the second pass.
constexpr size_t sumRoom = 24;

struct DeviationRow : RowCells {
    long double sum = 0;
    bool sumKept = false;
};

// The squared deviations of a row. Every fault flag a cell raises fails that cell, so a
// row starts with no fault flag raised. The sum is that of the row's texts read back
// (as the second pass would read them from the table), formed with the fault flags set
// aside: a sum whose reading or forming raised a fault is left to the second pass,
// which fails where it is written.
DeviationRow computeDeviationRow(const DeviationInputs& in, int row, RowCells& built,
                                 std::vector<long double>& squared)
{
    DeviationRow outcome;
    const char separator = in.decimalSeparator;
    built.add(formatInteger(row));
    try {
        clearFloatingPointFaults();
        for (int k = 1; k <= in.pointCount; ++k) {
            const long double moment = readNumber(*in.moments, 2 * k, row, separator);
            const long double testMoment =
                keptValue(in.testMoments[static_cast<size_t>(k - 1)], *in.diagram, 3, k, separator);
            const long double deviation = squaredDeviation(moment, testMoment);
            checkFloatingPointFaults();
            appendNumber(built.texts, deviation, separator);
            built.endCell();
        }
    } catch (...) {
        built.failure = std::current_exception();
        built.moveFittedTo(outcome);
        return outcome;
    }
    const std::string_view texts(built.texts);
    try {
        for (size_t k = 1; k < built.ends.size(); ++k)
            squared[k - 1] =
                parseNumber(texts.substr(built.ends[k - 1], built.ends[k] - built.ends[k - 1]), separator);
        outcome.sum = summedDeviation(squared);
        outcome.sumKept = !FaultFlags::faultRaised();
    } catch (const Failure&) {
    }
    clearFloatingPointFaults();
    built.moveFittedTo(outcome, sumRoom);
    return outcome;
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
        throw refusal(Reason::noCombinations);
    if (pointCount > diagram.rowCount() - 1)
        throw refusal(Reason::pointCountMismatch);
    // Cells beyond the moment table's counts may hold an earlier analysis.
    if (moments.columnCount() < 2 * pointCount + 1 || moments.rowCount() < rowCount)
        throw refusal(Reason::momentTableMismatch);

    deviations.reserveRows(rowCount);
    deviations.setColumnCount(pointCount + 2);
    deviations.setRowCount(rowCount);
    deviations.setCell(0, 0, "kombinace");
    for (int k = 1; k <= pointCount; ++k)
        deviations.setCell(k, 0, "odchylka");
    deviations.setCell(pointCount + 1, 0, "soucet");

    DeviationInputs in;
    in.pointCount = pointCount;
    in.decimalSeparator = decimalSeparator;
    in.moments = &moments;
    in.diagram = &diagram;
    // The test moments are the same texts for every combination: read once.
    for (int k = 1; k <= pointCount; ++k)
        in.testMoments.push_back(keepNumber(diagram, 3, k, decimalSeparator));

    std::vector<long double> sums(static_cast<size_t>(rowCount));
    std::vector<char> sumKept(static_cast<size_t>(rowCount), 0);
    computeRowsInOrder<DeviationRow>(
        rowCount, control,
        [&] {
            return [&in, built = RowCells(), squared = std::vector<long double>(static_cast<size_t>(pointCount))](
                       int row) mutable { return computeDeviationRow(in, row, built, squared); };
        },
        [&](int row, DeviationRow& outcome) {
            sums[static_cast<size_t>(row)] = outcome.sum;
            sumKept[static_cast<size_t>(row)] = outcome.sumKept;
            deviations.setRow(row, std::move(outcome));
            if (outcome.failure)
                std::rethrow_exception(outcome.failure);
        });

    // Each squared deviation enters its sum as its 15-digit text reads back.
    std::vector<long double> squared(static_cast<size_t>(pointCount));
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
        RowTexts cells;
        cells.add(combinations.cellView(0, row));
        cells.add(deviations.cellView(sumColumn, row));
        list.setRow(row, std::move(cells));
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
        throw refusal(Reason::noCombinations);
    if (moments.columnCount() < 2 * pointCount + 1)
        throw refusal(Reason::momentTableMismatch);

    BestFitSearch search;
    for (int row = 1; row < rowCount; ++row)
        search.offer(row, readNumber(list, 1, row, decimalSeparator));
    const int chosen = search.chosen();
    if (chosen == 0)
        throw refusal(Reason::noBestFit);

    BestFit fit;
    fit.combination = chosen;
    fit.sum = list.cell(1, chosen);
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
