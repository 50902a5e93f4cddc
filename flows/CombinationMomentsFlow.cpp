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
        // fails with no curvature text of the row written. Derived again at each point,
        // they are the same numbers, with no fault: derived once.
        const FibreConcreteLaw law =
            extendedFibreLaw(parameters.E, parameters.fcp, parameters.fct, parameters.a, parameters.b, parameters.epsTu);
        checkFloatingPointFaults();
        for (int k = 1; k <= in.points; ++k) {
            const Single kappa(keptValue(in.curvatures[static_cast<size_t>(k - 1)], *in.diagram, 2, k, separator));
            ++outcome.cells;  // the curvature's text, copied
            scan.hint = &work.hints[static_cast<size_t>(k - 1)];
            const std::optional<long double> moment = MomentAtCurvature(in.beam, law, kappa, scan);
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

std::vector<KeptNumber> keptTestMoments(const TextTable& diagram, int points, char decimalSeparator)
{
    std::vector<KeptNumber> kept;
    for (int k = 1; k <= points; ++k)
        kept.push_back(keepNumber(diagram, 3, k, decimalSeparator));
    return kept;
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

namespace {

// A row of the moment table and, when it is written whole, its squared deviations.
struct MomentPassRow {
    MomentRow row;
    DeviationRow deviations;
    std::exception_ptr failure;  // the row's, ending the moments
};

}  // namespace

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
    // The deviations from the test moments as they now are, found on the way.
    auto prepared = std::make_shared<PreparedDeviations>();
    prepared->points = points;
    for (int k = 1; k <= points; ++k)
        prepared->testMomentTexts.push_back(diagram.cell(3, k));
    const std::vector<KeptNumber> testMoments = keptTestMoments(diagram, points, decimalSeparator);

    moments.setRowCount(rowCount);
    moments.setColumnCount(2 * points + 1);
    // The table holds what is written as it is written: a failure leaves the rows before it.
    auto publish = [&] {
        if (kept)
            content->values.shrink_to_fit();
        else
            content->source = recomputedMoments(in, diagram, combinations);
        if (content->fullRows == rowCount - 1)
            content->deviations = prepared;
        moments.setContent(content);
    };

    try {
        computeRowsInOrder<MomentPassRow>(
            rowCount, control,
            [&] {
                return [&, work = MomentRowWork(), squared = std::vector<long double>()](int row) mutable {
                    MomentPassRow outcome;
                    outcome.row.moments.reserve(static_cast<size_t>(points));
                    computeMomentRow(in, row, work, outcome.row);
                    outcome.failure = outcome.row.failure;
                    if (!outcome.failure)
                        computeDeviationRow(
                            points, testMoments, diagram, decimalSeparator,
                            [&](int k) { return readBackNumber(outcome.row.moments[static_cast<size_t>(k - 1)]); },
                            squared, outcome.deviations);
                    return outcome;
                };
            },
            [&](int row, MomentPassRow& outcome) {
                if (kept)
                    content->values.insert(content->values.end(), outcome.row.moments.begin(),
                                           outcome.row.moments.end());
                if (outcome.failure) {
                    content->partialCells = outcome.row.cells;
                    std::rethrow_exception(outcome.failure);
                }
                content->fullRows = row;
                PreparedDeviations& d = *prepared;
                if (d.failure)
                    return;
                if (outcome.deviations.failure) {
                    // Every squared deviation is written before the first sum.
                    d.failure = outcome.deviations.failure;
                    d.partialDeviations = outcome.deviations.deviations;
                    d.summedRows = 0;
                    d.sums.clear();
                    d.sums.shrink_to_fit();
                    d.best = BestFitSearch();
                    return;
                }
                d.fullRows = row;
                if (outcome.deviations.sumFailure && !d.sumFailure)
                    d.sumFailure = outcome.deviations.sumFailure;
                if (d.sumFailure)
                    return;
                d.summedRows = row;
                if (kept)
                    d.sums.push_back(outcome.deviations.sum);
                d.best.offer(row, readBackNumber(outcome.deviations.sum));
            });
    } catch (...) {
        publish();
        throw;
    }
    publish();
}

}  // namespace prurez
