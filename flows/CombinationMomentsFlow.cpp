// The moment of every parameter combination at every curvature of the test. Each
// combination row is computed by a function of the (unchanged) input tables alone, so
// rows run on worker threads and are written in order.

#include "flows/InverseFlow.h"

#include "flows/CellText.h"
#include "flows/OrderedRows.h"
#include "flows/Refusals.h"
#include "mechanics/FibreConcreteLaw.h"
#include "mechanics/MomentAtCurvature.h"

#include "common/Failure.h"
#include "common/FloatingPoint.h"
#include "common/NumberText.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace prurez {

namespace {

struct MomentInputs {
    BeamSection beam;
    int pointCount = 0;
    char decimalSeparator = ',';
    ScanOptions options;
    const GridTable* diagram = nullptr;
    const GridTable* combinations = nullptr;
    std::vector<KeptNumber> curvatures;  // of test points 1 … p (index k − 1)
};

// The combination parameters of the rows a worker computes: consecutive rows share
// most of their texts, which are read once while they stay the same.
class ParameterReader {
public:
    long double read(const GridTable& combinations, int column, int row, char separator)
    {
        Column& kept = columns_[static_cast<size_t>(column)];
        const std::string_view text = combinations.cellView(column, row);
        if (!kept.read.kept || text != kept.text) {
            kept.text.assign(text);
            kept.read = keepNumber(combinations, column, row, separator);
        }
        return keptValue(kept.read, combinations, column, row, separator);
    }

private:
    struct Column {
        std::string text;
        KeptNumber read;
    };
    std::array<Column, 8> columns_;
};

// Fills `outcome`, empty, with the row's cells.
void computeRow(const MomentInputs& in, int row, ParameterReader& reader, RowCells& outcome)
{
    const GridTable& combinations = *in.combinations;
    const char separator = in.decimalSeparator;
    outcome.add(combinations.cellView(0, row));
    try {
        clearFloatingPointFaults();
        // The row's parameters are the same texts for every test point: converted once,
        // they give the values (and the first failure) of a conversion at each point.
        FibreParameters parameters;
        parameters.E = reader.read(combinations, 1, row, separator);
        parameters.fcp = reader.read(combinations, 2, row, separator);
        parameters.fct = reader.read(combinations, 3, row, separator);
        reader.read(combinations, 4, row, separator);  // ecpm: converted, not used
        const long double ectm = reader.read(combinations, 5, row, separator);
        parameters.a = Single(reader.read(combinations, 6, row, separator));
        parameters.b = Single(reader.read(combinations, 7, row, separator));
        parameters.epsTu = ectm * 0.01L;
        // The row's strains are derived before a curvature is read or copied, so E = 0
        // fails with no curvature text of the row written.
        extendedFibreLaw(parameters.E, parameters.fcp, parameters.fct, parameters.a, parameters.b, parameters.epsTu);
        checkFloatingPointFaults();
        for (int k = 1; k <= in.pointCount; ++k) {
            const Single kappa(keptValue(in.curvatures[static_cast<size_t>(k - 1)], *in.diagram, 2, k, separator));
            outcome.add(in.diagram->cellView(2, k));
            const std::optional<long double> moment = MomentAtCurvature(in.beam, parameters, kappa, in.options);
            if (!moment)
                throw noBalanceFailure(combinations.cell(0, row), in.diagram->cell(2, k));
            checkFloatingPointFaults();
            appendNumber(outcome.texts, *moment, separator);
            outcome.endCell();
        }
    } catch (...) {
        outcome.failure = std::current_exception();
    }
}

}  // namespace

void computeCombinationMoments(const BeamTexts& beam, const GridTable& diagram, const GridTable& combinations,
                               GridTable& moments, char decimalSeparator, const MomentRunControl& control)
{
    clearFloatingPointFaults();
    MomentInputs in;
    in.beam.width = readSingle(beam.width, decimalSeparator);
    in.beam.height = readSingle(beam.height, decimalSeparator);
    const std::int32_t pointCount = readInteger(beam.pointCount);
    const int rowCount = combinations.rowCount();
    if (pointCount <= 0)
        throw refusal(Reason::noTestPoints);
    if (rowCount < 2)
        throw refusal(Reason::noCombinations);
    if (pointCount > diagram.rowCount() - 1)
        throw refusal(Reason::pointCountMismatch);
    in.pointCount = pointCount;
    in.decimalSeparator = decimalSeparator;
    in.options = control.scan;
    in.options.work = control.work;
    in.diagram = &diagram;
    in.combinations = &combinations;
    // The test curvatures are the same texts for every combination: read once.
    for (int k = 1; k <= pointCount; ++k)
        in.curvatures.push_back(keepNumber(diagram, 2, k, decimalSeparator));

    moments.reserveRows(rowCount);
    moments.setRowCount(rowCount);
    moments.setColumnCount(2 * pointCount + 1);
    moments.setCell(0, 0, "kombinace");
    for (int k = 1; k <= pointCount; ++k) {
        moments.setCell(2 * k - 1, 0, " křivost");
        moments.setCell(2 * k, 0, "  Moment");
    }

    computeRowsInOrder<RowCells>(
        rowCount, control,
        [&] {
            return [&in, reader = ParameterReader(), built = RowCells()](int row) mutable {
                computeRow(in, row, reader, built);
                RowCells outcome;
                built.moveFittedTo(outcome);
                return outcome;
            };
        },
        [&](int row, RowCells& outcome) {
            moments.setRow(row, std::move(outcome));
            if (outcome.failure)
                std::rethrow_exception(outcome.failure);
        });
}

}  // namespace prurez
