#pragma once
// One row of the inverse analysis as the moment and deviation flows compute it: the
// moments of a combination at the test curvatures, and the squared deviations and their
// sum. The moment table, the deviation table and the best fit computed without them all
// use these, so that every value is the one a table of texts would have held.

#include "flows/CellText.h"
#include "flows/GridTable.h"
#include "flows/InverseFlow.h"
#include "flows/NumberTables.h"
#include "mechanics/MomentAtCurvature.h"

#include <array>
#include <exception>
#include <memory>
#include <string>
#include <vector>

namespace prurez {

// What the moments of every row are computed from.
struct MomentRowInputs {
    BeamSection beam;
    int points = 0;
    char separator = ',';
    ScanOptions scan;
    // The combination table and the test moment–curvature table as they are read.
    std::shared_ptr<const TextTable> combinations;
    std::shared_ptr<const TextTable> diagram;
    std::vector<KeptNumber> curvatures;  // of test points 1 … p (index k − 1)
};

// The combination parameters of the rows a worker computes: consecutive rows share
// most of their texts, which are read once while they stay the same.
class ParameterReader {
public:
    long double read(const TextTable& combinations, int column, int row, char separator);

private:
    struct Column {
        std::string text;
        KeptNumber read;
    };
    std::array<Column, 8> columns_;
    std::string scratch_;
};

// What a worker keeps from row to row: the parameter texts read, and where each test
// curvature's scan found its position (consecutive combinations balance close by).
struct MomentRowWork {
    ParameterReader parameters;
    std::vector<ScanHint> hints;
};

// The moments of one row [kNm], as far as the row is written.
struct MomentRow {
    std::vector<long double> moments;
    int cells = 0;  // the cells of the row written: its number, then curvature and moment per point
    std::exception_ptr failure;
};

// Computes row `row` into `outcome` (its moments cleared first). What fails the row
// (a text that is no number, a fault, a combination whose forces balance nowhere) is
// the outcome's failure; the cells written before it stay counted.
void computeMomentRow(const MomentRowInputs& in, int row, MomentRowWork& work, MomentRow& outcome);

// Reads the beam, the point count and the test curvatures as the moment flow does, with
// its refusals; the tables are borrowed for as long as the computation runs.
MomentRowInputs readMomentInputs(const BeamTexts& beam, const TextTable& diagram, const TextTable& combinations,
                                 char decimalSeparator, const ScanOptions& scan);

// A moment table's content for these inputs with no row written yet: points, separator,
// curvature texts and the combination numbers of rows 1 … rowCount − 1.
std::shared_ptr<MomentTable::Content> newMomentContent(const MomentRowInputs& in, const TextTable& diagram,
                                                       const TextTable& combinations, int rowCount);
// The rows computed again when read, from copies of the tables as they now are.
std::shared_ptr<const MomentRowSource> recomputedMoments(const MomentRowInputs& in, const TextTable& diagram,
                                                         const TextTable& combinations);

// The test moments of points 1 … p (column 3 of the test diagram), each read once.
std::vector<KeptNumber> keptTestMoments(const TextTable& diagram, int points, char decimalSeparator);

// The deviations of one row from the test moments read once (their failures kept).
struct DeviationRow {
    std::exception_ptr failure;  // of a squared deviation: the row's cells up to it stay
    int deviations = 0;          // the squared deviations written before a failure
    long double sum = 0;         // of the squared deviations read back, when no failure
    std::exception_ptr sumFailure;  // a fault of the sum, failing where it is written
};

// `moment(k)` gives the row's moment at point k as read back from its cell (it may
// throw the reading's failure).
template <class Moment>
void computeDeviationRow(int points, const std::vector<KeptNumber>& testMoments, const TextTable& diagram,
                         char separator, Moment&& moment, std::vector<long double>& squared, DeviationRow& outcome);

}  // namespace prurez

#include "common/FloatingPoint.h"
#include "common/NumberText.h"
#include "mechanics/Deviations.h"

namespace prurez {

template <class Moment>
void computeDeviationRow(int points, const std::vector<KeptNumber>& testMoments, const TextTable& diagram,
                         char separator, Moment&& moment, std::vector<long double>& squared, DeviationRow& outcome)
{
    outcome = DeviationRow();
    squared.resize(static_cast<size_t>(points));
    try {
        clearFloatingPointFaults();
        for (int k = 1; k <= points; ++k) {
            const long double m = moment(k);
            const long double testMoment = keptValue(testMoments[static_cast<size_t>(k - 1)], diagram, 3, k, separator);
            const long double deviation = squaredDeviation(m, testMoment);
            checkFloatingPointFaults();
            // Each squared deviation enters its sum as its 15-digit text reads back.
            squared[static_cast<size_t>(k - 1)] = readBackNumber(deviation);
            ++outcome.deviations;
        }
    } catch (...) {
        outcome.failure = std::current_exception();
        clearFloatingPointFaults();
        return;
    }
    clearFloatingPointFaults();
    outcome.sum = summedDeviation(squared);
    try {
        checkFloatingPointFaults();
    } catch (...) {
        outcome.sumFailure = std::current_exception();
    }
    clearFloatingPointFaults();
}

}  // namespace prurez
