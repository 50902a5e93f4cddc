// The squared moment deviations of every combination from the test and the
// combination that fits the test best: formed from the moments' cells, or taken as the
// moment computation found them on its way.

#include "flows/InverseFlow.h"

#include "common/Failure.h"
#include "common/FloatingPoint.h"
#include "common/NumberText.h"
#include "flows/CellText.h"
#include "flows/MomentRows.h"
#include "flows/NumberTables.h"
#include "flows/OrderedRows.h"
#include "flows/Refusals.h"
#include "mechanics/Deviations.h"

#include <cmath>
#include <string>
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

// The refusals of "Spočítej odchylky" before it writes anything; returns p.
int checkDeviationInputs(const std::string& pointCountText, const TextTable& diagram, const TextTable& combinations,
                         int momentColumns, int momentRows, char decimalSeparator)
{
    const int pointCount = pointCountOf(pointCountText, decimalSeparator);
    const int rowCount = combinations.rowCount();
    if (rowCount < 2)
        throw refusal(Reason::noCombinations);
    if (pointCount > diagram.rowCount() - 1)
        throw refusal(Reason::pointCountMismatch);
    // Cells beyond the moment table's counts may hold an earlier analysis.
    if (momentColumns < 2 * pointCount + 1 || momentRows < rowCount)
        throw refusal(Reason::momentTableMismatch);
    return pointCount;
}

// The test moments as the rows that read them got them.
std::vector<long double> testMomentValues(const TextTable& diagram, int points, char decimalSeparator)
{
    const FaultFlags flags;
    std::vector<long double> values;
    for (int k = 1; k <= points; ++k) {
        long double value = 0;
        try {
            value = readNumber(diagram, 3, k, decimalSeparator);
        } catch (const Failure&) {
        }
        values.push_back(value);
    }
    flags.restore();
    return values;
}

// The moments of a row as its cells read back: straight from a table of moments, or
// from the texts of any other table.
class MomentReader {
public:
    MomentReader(const TextTable& table, char decimalSeparator)
        : table_(table), separator_(decimalSeparator), numbers_(dynamic_cast<const MomentTable*>(&table))
    {
        if (numbers_ != nullptr &&
            (numbers_->hasWrittenCells() || numbers_->content() == nullptr ||
             numbers_->content()->separator != decimalSeparator))
            numbers_ = nullptr;
    }
    void startRow(int row)
    {
        row_ = row;
        if (numbers_ != nullptr)
            numbers_->rowMoments(row, values_);
    }
    long double moment(int k)
    {
        if (numbers_ != nullptr && static_cast<size_t>(k) <= values_.size())
            return readBackNumber(values_[static_cast<size_t>(k - 1)]);
        return readNumber(table_, 2 * k, row_, separator_);
    }

private:
    const TextTable& table_;
    char separator_;
    const MomentTable* numbers_;
    int row_ = 0;
    std::vector<long double> values_;
};

// The deviations the moment table found with its moments, when they are those of this
// press: a whole table of moments untouched since, the same point count, the same test
// moment texts.
const PreparedDeviations* preparedFor(const TextTable& moments, const TextTable& diagram, int pointCount,
                                      int rowCount, char decimalSeparator)
{
    const auto* table = dynamic_cast<const MomentTable*>(&moments);
    if (table == nullptr || table->hasWrittenCells() || table->content() == nullptr)
        return nullptr;
    const MomentTable::Content& content = *table->content();
    const PreparedDeviations* prepared = content.deviations.get();
    if (prepared == nullptr || content.separator != decimalSeparator || content.fullRows != rowCount - 1 ||
        prepared->points != pointCount)
        return nullptr;
    for (int k = 1; k <= pointCount; ++k)
        if (diagram.cell(3, k) != prepared->testMomentTexts[static_cast<size_t>(k - 1)])
            return nullptr;
    return prepared;
}

}  // namespace

void computeDeviations(const std::string& pointCountText, const TextTable& moments, const TextTable& diagram,
                       const TextTable& combinations, DeviationTable& deviations, char decimalSeparator,
                       const RowRunControl& control)
{
    clearFloatingPointFaults();
    const int pointCount = checkDeviationInputs(pointCountText, diagram, combinations, moments.columnCount(),
                                                moments.rowCount(), decimalSeparator);
    const int rowCount = combinations.rowCount();

    auto content = std::make_shared<DeviationTable::Content>();
    content->previous = deviations.snapshot();
    content->points = pointCount;
    content->rows = rowCount;
    content->separator = decimalSeparator;
    content->moments = moments.snapshot();
    content->testMoments = testMomentValues(diagram, pointCount, decimalSeparator);
    // The sums are kept beside moments that are kept; otherwise formed again when read.
    const auto* momentNumbers = dynamic_cast<const MomentTable*>(&moments);
    const bool keepSums = momentNumbers == nullptr || momentNumbers->content() == nullptr ||
                          !momentNumbers->content()->source;
    if (keepSums)
        content->sums.reserve(static_cast<size_t>(rowCount - 1));
    const std::vector<KeptNumber> testMoments = keptTestMoments(diagram, pointCount, decimalSeparator);

    deviations.setColumnCount(pointCount + 2);
    deviations.setRowCount(rowCount);
    deviations.forgetAllWrittenCells();  // they are in `previous`, under what this press writes
    std::exception_ptr sumFailure;
    auto publish = [&] {
        // Drop what no cell reads any more.
        if (content->previous && content->summedRows == rowCount - 1 &&
            content->previous->extent().within(CellExtent{pointCount + 2, rowCount}))
            content->previous.reset();
        deviations.setContent(content);
    };

    // Found with the moments, from these test moments: as this press would find them.
    if (const PreparedDeviations* prepared = preparedFor(moments, diagram, pointCount, rowCount, decimalSeparator)) {
        // Every row at once: told so, and stoppable as any other.
        if (control.work != nullptr) {
            control.work->report(rowCount - 1, rowCount - 1);
            control.work->stopIfRequested();
        }
        content->fullRows = prepared->fullRows;
        content->partialDeviations = prepared->failure ? prepared->partialDeviations : -1;
        content->summedRows = prepared->summedRows;
        content->sums = prepared->sums;
        content->best = prepared->best;
        publish();
        if (prepared->failure)
            std::rethrow_exception(prepared->failure);
        if (prepared->sumFailure)
            std::rethrow_exception(prepared->sumFailure);
        return;
    }
    try {
        computeRowsInOrder<DeviationRow>(
            rowCount, control,
            [&] {
                return [&, reader = MomentReader(moments, decimalSeparator),
                        squared = std::vector<long double>()](int row) mutable {
                    DeviationRow outcome;
                    reader.startRow(row);
                    computeDeviationRow(
                        pointCount, testMoments, diagram, decimalSeparator, [&](int k) { return reader.moment(k); },
                        squared, outcome);
                    return outcome;
                };
            },
            [&](int row, DeviationRow& outcome) {
                if (outcome.failure) {
                    content->partialDeviations = outcome.deviations;
                    std::rethrow_exception(outcome.failure);
                }
                content->fullRows = row;
                if (outcome.sumFailure && !sumFailure)
                    sumFailure = outcome.sumFailure;
                if (!sumFailure) {
                    content->summedRows = row;
                    if (keepSums)
                        content->sums.push_back(outcome.sum);
                    content->best.offer(row, readBackNumber(outcome.sum));
                }
            });
    } catch (...) {
        // Every squared deviation is written before the first sum.
        content->summedRows = 0;
        content->sums.clear();
        content->best = BestFitSearch();
        publish();
        throw;
    }
    publish();
    // Each squared deviation enters its sum as its 15-digit text reads back: a sum
    // beyond the range fails where it is written, the rows before it summed.
    if (sumFailure)
        std::rethrow_exception(sumFailure);
}

void fillDeviationList(const TextTable& combinations, const TextTable& deviations, DeviationList& list)
{
    const int rowCount = combinations.rowCount();
    auto content = std::make_shared<DeviationList::Content>();
    content->rows = rowCount;
    content->numbers = rowNumbersOf(combinations, rowCount);
    content->deviations = deviations.snapshot();
    content->sumColumn = deviations.columnCount() - 1;
    list.setColumnCount(2);
    list.setRowCount(rowCount);
    list.forgetWrittenCells([rowCount](int column, int row) { return column <= 1 && row < rowCount; });
    list.setContent(std::move(content));
}

namespace {

// The best row's texts and the two comparison curves (test red, combination blue, both
// from the origin); `curvature(k)` and `moment(k)` read the best row's pair k.
template <class Curvature, class Moment>
BestFit bestFitOf(int chosen, std::string sum, int pointCount, const TextTable& combinations, const TextTable& diagram,
                  LineSeries& testCurve, LineSeries& combinationCurve, char decimalSeparator, Curvature&& curvature,
                  Moment&& moment)
{
    BestFit fit;
    fit.combination = chosen;
    fit.sum = std::move(sum);
    fit.texts = combinationTexts(combinations, chosen);

    testCurve.clear();
    combinationCurve.clear();
    testCurve.add(0.0L, 0.0L, colourRed);
    for (int k = 1; k < diagram.rowCount(); ++k)
        testCurve.add(readNumber(diagram, 2, k, decimalSeparator), readNumber(diagram, 3, k, decimalSeparator),
                      colourRed);
    combinationCurve.add(0.0L, 0.0L, colourBlue);
    for (int k = 1; k <= pointCount; ++k)
        combinationCurve.add(curvature(k), moment(k), colourBlue);
    return fit;
}

}  // namespace

BestFit findBestFit(const std::string& pointCountText, const TextTable& list, const TextTable& combinations,
                    const TextTable& diagram, const TextTable& moments, LineSeries& testCurve,
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
    const auto* numbers = dynamic_cast<const DeviationList*>(&list);
    const DeviationTable* complete = numbers != nullptr ? numbers->completeDeviations() : nullptr;
    if (complete != nullptr && numbers->content()->rows == rowCount &&
        complete->content()->separator == decimalSeparator) {
        // Every sum of the list is its deviation table's, read back as the search went.
        search = complete->content()->best;
    } else {
        for (int row = 1; row < rowCount; ++row)
            search.offer(row, readNumber(list, 1, row, decimalSeparator));
    }
    const int chosen = search.chosen();
    if (chosen == 0)
        throw refusal(Reason::noBestFit);
    return bestFitOf(
        chosen, list.cell(1, chosen), pointCount, combinations, diagram, testCurve, combinationCurve,
        decimalSeparator, [&](int k) { return readNumber(moments, 2 * k - 1, chosen, decimalSeparator); },
        [&](int k) { return readNumber(moments, 2 * k, chosen, decimalSeparator); });
}

}  // namespace prurez
