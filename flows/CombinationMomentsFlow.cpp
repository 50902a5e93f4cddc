// The moment of every parameter combination at every curvature of the test. Each
// combination row is computed by a function of the (unchanged) input tables alone, so
// rows run on worker threads and are taken in order.

#include "flows/InverseFlow.h"

#include "flows/CellText.h"
#include "flows/MomentRows.h"
#include "flows/NumberTables.h"
#include "flows/OrderedRows.h"
#include "flows/Refusals.h"
#include "mechanics/FibreConcreteLaw.h"
#include "mechanics/MomentAtCurvature.h"

#include "common/Failure.h"
#include "common/FloatingPoint.h"
#include "common/NumberText.h"

#include <string>
#include <string_view>
#include <vector>

namespace prurez {

long double ParameterReader::read(const TextTable& combinations, int column, int row, char separator)
{
    Column& kept = columns_[static_cast<size_t>(column)];
    const std::string_view text = combinations.cellText(column, row, scratch_);
    if (!kept.read.kept || text != kept.text) {
        kept.text.assign(text);
        kept.read = keepNumber(combinations, column, row, separator);
    }
    return keptValue(kept.read, combinations, column, row, separator);
}

void computeMomentRow(const MomentRowInputs& in, int row, MomentRowWork& work, MomentRow& outcome)
{
    ParameterReader& reader = work.parameters;
    work.hints.resize(static_cast<size_t>(in.points));
    ScanOptions scan = in.scan;
    const TextTable& combinations = *in.combinations;
    const char separator = in.separator;
    outcome.moments.clear();
    outcome.failure = nullptr;
    outcome.cells = 1;  // the combination's number
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
        for (int k = 1; k <= in.points; ++k) {
            const Single kappa(keptValue(in.curvatures[static_cast<size_t>(k - 1)], *in.diagram, 2, k, separator));
            ++outcome.cells;  // the curvature's text, copied
            scan.hint = &work.hints[static_cast<size_t>(k - 1)];
            const std::optional<long double> moment = MomentAtCurvature(in.beam, parameters, kappa, scan);
            if (!moment)
                throw noBalanceFailure(combinations.cell(0, row), in.diagram->cell(2, k));
            checkFloatingPointFaults();
            outcome.moments.push_back(*moment);
            ++outcome.cells;
        }
    } catch (...) {
        outcome.failure = std::current_exception();
    }
}

namespace {

// The rows of a moment table computed again as they are read, from copies of the
// tables they were computed from.
class RecomputedMoments final : public MomentRowSource {
public:
    explicit RecomputedMoments(MomentRowInputs inputs) : inputs_(std::move(inputs)) {}

    void moments(int row, std::vector<long double>& values) const override
    {
        const CallerFloatingPoint caller;
        MomentRowWork work;
        MomentRow outcome;
        computeMomentRow(inputs_, row, work, outcome);
        values = std::move(outcome.moments);
    }

private:
    MomentRowInputs inputs_;
};

// A non-owning pointer for inputs that live as long as the computation.
template <class Table>
std::shared_ptr<const TextTable> borrowed(const Table& table)
{
    return std::shared_ptr<const TextTable>(std::shared_ptr<const TextTable>(), &table);
}

}  // namespace

MomentRowInputs readMomentInputs(const BeamTexts& beam, const TextTable& diagram, const TextTable& combinations,
                                 char decimalSeparator, const ScanOptions& scan)
{
    clearFloatingPointFaults();
    MomentRowInputs in;
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
    in.points = pointCount;
    in.separator = decimalSeparator;
    in.scan = scan;
    in.combinations = borrowed(combinations);
    in.diagram = borrowed(diagram);
    // The test curvatures are the same texts for every combination: read once.
    for (int k = 1; k <= pointCount; ++k)
        in.curvatures.push_back(keepNumber(diagram, 2, k, decimalSeparator));
    return in;
}

std::shared_ptr<MomentTable::Content> newMomentContent(const MomentRowInputs& in, const TextTable& diagram,
                                                       const TextTable& combinations, int rowCount)
{
    auto content = std::make_shared<MomentTable::Content>();
    content->points = in.points;
    content->separator = in.separator;
    for (int k = 1; k <= in.points; ++k)
        content->curvatures.push_back(diagram.cell(2, k));
    content->numbers = rowNumbersOf(combinations, rowCount);
    return content;
}

std::shared_ptr<const MomentRowSource> recomputedMoments(const MomentRowInputs& in, const TextTable& diagram,
                                                         const TextTable& combinations)
{
    MomentRowInputs copies = in;
    copies.scan.work = nullptr;
    copies.combinations = combinations.snapshot();
    copies.diagram = diagram.snapshot();
    return std::make_shared<RecomputedMoments>(std::move(copies));
}

void computeCombinationMoments(const BeamTexts& beam, const TextTable& diagram, const TextTable& combinations,
                               MomentTable& moments, char decimalSeparator, const MomentRunControl& control)
{
    ScanOptions scan = control.scan;
    scan.work = control.work;
    MomentRowInputs in = readMomentInputs(beam, diagram, combinations, decimalSeparator, scan);
    const int rowCount = combinations.rowCount();
    const int points = in.points;

    const std::shared_ptr<MomentTable::Content> content = newMomentContent(in, diagram, combinations, rowCount);
    const long long valueCount = static_cast<long long>(rowCount - 1) * points;
    const bool kept = valueCount <= control.keptMomentLimit;
    if (kept)
        content->values.reserve(static_cast<size_t>(valueCount));

    moments.setRowCount(rowCount);
    moments.setColumnCount(2 * points + 1);
    // The table holds what is written as it is written: a failure leaves the rows before it.
    auto publish = [&] {
        if (kept)
            content->values.shrink_to_fit();
        else
            content->source = recomputedMoments(in, diagram, combinations);
        moments.setContent(content);
    };

    try {
        computeRowsInOrder<MomentRow>(
            rowCount, control,
            [&] {
                return [&in, work = MomentRowWork()](int row) mutable {
                    MomentRow outcome;
                    outcome.moments.reserve(static_cast<size_t>(in.points));
                    computeMomentRow(in, row, work, outcome);
                    return outcome;
                };
            },
            [&](int row, MomentRow& outcome) {
                if (kept)
                    content->values.insert(content->values.end(), outcome.moments.begin(), outcome.moments.end());
                if (outcome.failure) {
                    content->partialCells = outcome.cells;
                    std::rethrow_exception(outcome.failure);
                }
                content->fullRows = row;
            });
    } catch (...) {
        publish();
        throw;
    }
    publish();
}

}  // namespace prurez
