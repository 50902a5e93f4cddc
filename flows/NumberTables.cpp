#include "flows/NumberTables.h"

#include "common/FloatingPoint.h"

#include <algorithm>
#include <ostream>

namespace prurez {

namespace {

std::string_view formattedInto(std::string& scratch, long double value, char decimalSeparator)
{
    scratch.clear();
    appendNumber(scratch, value, decimalSeparator);
    return scratch;
}

std::string_view integerInto(std::string& scratch, long long value)
{
    scratch = formatInteger(value);
    return scratch;
}

CellExtent largest(const CellExtent& a, const CellExtent& b)
{
    return CellExtent{std::max(a.columns, b.columns), std::max(a.rows, b.rows)};
}

}  // namespace

// ---- ComputedTable

std::string_view ComputedTable::cellText(int column, int row, std::string& scratch) const
{
    if (!written_.empty()) {
        const auto found = written_.find({row, column});
        if (found != written_.end())
            return found->second;
    }
    if (column < 0 || row < 0)
        return std::string_view();
    return computedText(column, row, scratch);
}

long double ComputedTable::number(int column, int row, char decimalSeparator) const
{
    long double value;
    if (column >= 0 && row >= 0 && (written_.empty() || written_.count({row, column}) == 0) &&
        computedNumber(column, row, decimalSeparator, value))
        return value;
    return TextTable::number(column, row, decimalSeparator);
}

bool ComputedTable::computedNumber(int, int, char, long double&) const { return false; }

void ComputedTable::writeTsv(std::ostream& out) const
{
    const DefaultFloatingPointScope reading;
    TextTable::writeTsv(out);
}

void ComputedTable::setCell(int column, int row, std::string_view text)
{
    if (column < 0 || row < 0)
        return;
    written_[{row, column}] = std::string(text);
}

CellExtent ComputedTable::extent() const
{
    CellExtent extent = computedExtent();
    for (const auto& [cell, text] : written_)
        extent = largest(extent, CellExtent{cell.second + 1, cell.first + 1});
    return extent;
}

void ComputedTable::forgetWrittenCells(const std::function<bool(int column, int row)>& rewritten)
{
    for (auto i = written_.begin(); i != written_.end();) {
        if (rewritten(i->first.second, i->first.first))
            i = written_.erase(i);
        else
            ++i;
    }
}

// ---- RowNumbers

std::string_view RowNumbers::text(int row, std::string& scratch) const
{
    if (!others.empty()) {
        const auto found = others.find(row);
        if (found != others.end())
            return found->second;
    }
    return integerInto(scratch, row);
}

RowNumbers rowNumbersOf(const TextTable& table, int rows)
{
    if (const auto* combinations = dynamic_cast<const CombinationTable*>(&table))
        return combinations->numbers(rows);
    RowNumbers numbers;
    numbers.rows = rows;
    std::string scratch;
    std::string own;
    for (int row = 1; row < rows; ++row) {
        const std::string_view text = table.cellText(0, row, scratch);
        if (text != numbers.text(row, own))
            numbers.others.emplace(row, std::string(text));
    }
    return numbers;
}

// ---- CombinationTable

CombinationTable::CombinationTable(int columnCount, int rowCount) : ComputedTable(columnCount, rowCount) {}

void CombinationTable::writeFixedColumns(int count, std::string fcpText, std::string ecpmText)
{
    auto columns = std::make_shared<FixedColumns>();
    columns->count = count;
    columns->fcp = std::move(fcpText);
    columns->ecpm = std::move(ecpmText);
    // Older columns that hold no more rows are written over entirely.
    fixed_.erase(std::remove_if(fixed_.begin(), fixed_.end(), [&](const auto& older) { return older->count <= count; }),
                 fixed_.end());
    fixed_.push_back(std::move(columns));
    forgetWrittenCells([count](int column, int row) {
        return row >= 1 && row <= count && (column == 0 || column == 2 || column == 4);
    });
}

void CombinationTable::writeParameterColumns(int m, const std::array<std::vector<std::string>, 5>& values)
{
    auto columns = std::make_shared<ParameterColumns>();
    columns->m = m;
    columns->count = m * m * m * m * m;
    columns->values = values;
    const int count = columns->count;
    parameters_.erase(std::remove_if(parameters_.begin(), parameters_.end(),
                                     [&](const auto& older) { return older->count <= count; }),
                      parameters_.end());
    parameters_.push_back(std::move(columns));
    forgetWrittenCells([count](int column, int row) {
        return row >= 1 && row <= count && (column == 1 || column == 3 || column >= 5) && column <= 7;
    });
}

std::string_view CombinationTable::computedText(int column, int row, std::string& scratch) const
{
    if (row == 0 || column > 7)
        return std::string_view();
    if (column == 0 || column == 2 || column == 4) {
        for (auto i = fixed_.rbegin(); i != fixed_.rend(); ++i) {
            const FixedColumns& fixed = **i;
            if (row > fixed.count)
                continue;
            if (column == 0)
                return integerInto(scratch, row);
            return column == 2 ? fixed.fcp : fixed.ecpm;
        }
        return std::string_view();
    }
    // Columns 1, 3, 5, 6, 7: E, fct, ectm, a, b; the digits of r − 1 in base m, E the
    // most significant.
    const int parameter = column == 1 ? 0 : column == 3 ? 1 : column - 3;
    for (auto i = parameters_.rbegin(); i != parameters_.rend(); ++i) {
        const ParameterColumns& parameters = **i;
        if (row > parameters.count)
            continue;
        int rest = row - 1;
        for (int place = 4; place > parameter; --place)
            rest /= parameters.m;
        return parameters.values[static_cast<size_t>(parameter)][static_cast<size_t>(rest % parameters.m)];
    }
    return std::string_view();
}

CellExtent CombinationTable::computedExtent() const
{
    int rows = 0;
    for (const auto& fixed : fixed_)
        rows = std::max(rows, fixed->count + 1);
    for (const auto& parameters : parameters_)
        rows = std::max(rows, parameters->count + 1);
    return CellExtent{rows > 0 ? 8 : 0, rows};
}

std::shared_ptr<const TextTable> CombinationTable::snapshot() const
{
    return std::make_shared<CombinationTable>(*this);
}

RowNumbers CombinationTable::numbers(int rows) const
{
    RowNumbers numbers;
    numbers.rows = rows;
    int numbered = 0;
    for (const auto& fixed : fixed_)
        numbered = std::max(numbered, fixed->count);
    std::string scratch;
    // Rows beyond every generation, and the numbers written over, are as the table shows.
    for (int row = numbered + 1; row < rows; ++row)
        numbers.others.emplace(row, std::string(cellText(0, row, scratch)));
    // Numbers written over: those of column 0 among the written texts.
    std::string own;
    for (const auto& [cell, text] : writtenCells()) {
        const auto& [row, column] = cell;
        if (column == 0 && row >= 1 && row < std::min(rows, numbered + 1) && text != numbers.text(row, own))
            numbers.others.emplace(row, text);
    }
    return numbers;
}

// ---- MomentTable

MomentTable::MomentTable(int columnCount, int rowCount) : ComputedTable(columnCount, rowCount) {}

void MomentTable::setContent(std::shared_ptr<const Content> content)
{
    content_ = std::move(content);
    cache_ = std::make_shared<Cache>();
}

int MomentTable::cellsOf(int row) const
{
    const Content& c = *content_;
    if (row >= 1 && row <= c.fullRows)
        return 2 * c.points + 1;
    return row == c.fullRows + 1 ? c.partialCells : 0;
}

void MomentTable::rowMoments(int row, std::vector<long double>& values) const
{
    values.clear();
    if (!content_)
        return;
    const int cells = cellsOf(row);
    const auto count = static_cast<size_t>(cells / 2);  // the moments written of the row
    if (count == 0)
        return;
    const Content& c = *content_;
    if (c.source) {
        c.source->moments(row, values);
        values.resize(std::min(values.size(), count));
        return;
    }
    const auto first = c.values.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(row - 1) * c.points);
    values.assign(first, first + static_cast<std::ptrdiff_t>(count));
}

long double MomentTable::momentAt(int row, int k) const
{
    const Content& c = *content_;
    if (!c.source)
        return c.values[static_cast<size_t>(row - 1) * static_cast<size_t>(c.points) + static_cast<size_t>(k - 1)];
    std::lock_guard<std::mutex> lock(cache_->mutex);
    if (cache_->row != row) {
        rowMoments(row, cache_->values);
        cache_->row = row;
    }
    return cache_->values[static_cast<size_t>(k - 1)];
}

std::string_view MomentTable::computedText(int column, int row, std::string& scratch) const
{
    if (!content_)
        return std::string_view();
    const Content& c = *content_;
    if (row == 0) {
        if (column == 0)
            return "kombinace";
        if (column <= 2 * c.points)
            return column % 2 == 1 ? " křivost" : "  Moment";
        return std::string_view();
    }
    if (column >= cellsOf(row))
        return std::string_view();
    if (column == 0)
        return c.numbers.text(row, scratch);
    if (column % 2 == 1)
        return c.curvatures[static_cast<size_t>(column / 2)];
    const DefaultFloatingPointScope reading;
    return formattedInto(scratch, momentAt(row, column / 2), c.separator);
}

bool MomentTable::computedNumber(int column, int row, char decimalSeparator, long double& value) const
{
    if (!content_ || row == 0 || column == 0 || column % 2 == 1 || decimalSeparator != content_->separator ||
        column >= cellsOf(row))
        return false;
    const DefaultFloatingPointScope reading;
    value = readBackNumber(momentAt(row, column / 2));
    return true;
}

CellExtent MomentTable::computedExtent() const
{
    if (!content_)
        return CellExtent();
    const Content& c = *content_;
    return CellExtent{2 * c.points + 1, c.fullRows + 1 + (c.partialCells > 0 ? 1 : 0)};
}

std::shared_ptr<const TextTable> MomentTable::snapshot() const { return std::make_shared<MomentTable>(*this); }

// ---- DeviationTable

DeviationTable::DeviationTable(int columnCount, int rowCount) : ComputedTable(columnCount, rowCount) {}

void DeviationTable::setContent(std::shared_ptr<const Content> content) { content_ = std::move(content); }

long double DeviationTable::deviation(int row, int k) const
{
    const Content& c = *content_;
    return squaredDeviation(c.moments->number(2 * k, row, c.separator), c.testMoments[static_cast<size_t>(k - 1)]);
}

long double DeviationTable::sum(int row) const
{
    const Content& c = *content_;
    if (!c.sums.empty())
        return c.sums[static_cast<size_t>(row - 1)];
    std::vector<long double> squared(static_cast<size_t>(c.points));
    for (int k = 1; k <= c.points; ++k)
        squared[static_cast<size_t>(k - 1)] = readBackNumber(deviation(row, k));
    return summedDeviation(squared);
}

bool DeviationTable::holdsDeviation(int column, int row) const
{
    const Content& c = *content_;
    return row >= 1 && row < c.rows && column >= 1 && column <= c.points &&
           (row <= c.fullRows || (row == c.fullRows + 1 && column <= c.partialDeviations));
}

bool DeviationTable::holdsSum(int column, int row) const
{
    const Content& c = *content_;
    return row >= 1 && row < c.rows && column == c.points + 1 && row <= c.summedRows;
}

std::string_view DeviationTable::computedText(int column, int row, std::string& scratch) const
{
    if (!content_)
        return std::string_view();
    const Content& c = *content_;
    if (row == 0 && column <= c.points + 1)
        return column == 0 ? "kombinace" : column <= c.points ? "odchylka" : "soucet";
    const DefaultFloatingPointScope reading;
    if (column == 0 && row >= 1 && row < c.rows &&
        (row <= c.fullRows || (row == c.fullRows + 1 && c.partialDeviations >= 0)))
        return integerInto(scratch, row);
    if (holdsDeviation(column, row))
        return formattedInto(scratch, deviation(row, column), c.separator);
    if (holdsSum(column, row))
        return formattedInto(scratch, sum(row), c.separator);
    if (c.previous)
        return c.previous->cellText(column, row, scratch);
    return std::string_view();
}

bool DeviationTable::computedNumber(int column, int row, char decimalSeparator, long double& value) const
{
    if (!content_ || decimalSeparator != content_->separator)
        return false;
    const DefaultFloatingPointScope reading;
    if (holdsDeviation(column, row)) {
        value = readBackNumber(deviation(row, column));
        return true;
    }
    if (holdsSum(column, row)) {
        value = readBackNumber(sum(row));
        return true;
    }
    return false;
}

CellExtent DeviationTable::computedExtent() const
{
    if (!content_)
        return CellExtent();
    const Content& c = *content_;
    CellExtent extent{c.points + 2, c.rows};
    return c.previous ? largest(extent, c.previous->extent()) : extent;
}

std::shared_ptr<const TextTable> DeviationTable::snapshot() const { return std::make_shared<DeviationTable>(*this); }

// ---- DeviationList

DeviationList::DeviationList(int columnCount, int rowCount) : ComputedTable(columnCount, rowCount) {}

void DeviationList::setContent(std::shared_ptr<const Content> content) { content_ = std::move(content); }

const DeviationTable* DeviationList::completeDeviations() const
{
    if (!content_ || hasWrittenCells())
        return nullptr;
    const auto* deviations = dynamic_cast<const DeviationTable*>(content_->deviations.get());
    if (deviations == nullptr || deviations->hasWrittenCells() || deviations->content() == nullptr)
        return nullptr;
    const DeviationTable::Content& c = *deviations->content();
    if (c.rows != content_->rows || content_->sumColumn != c.points + 1 || c.summedRows != c.rows - 1)
        return nullptr;
    return deviations;
}

std::string_view DeviationList::computedText(int column, int row, std::string& scratch) const
{
    if (!content_)
        return std::string_view();
    const Content& c = *content_;
    if (row == 0)
        return column == 0 ? " kombinace" : column == 1 ? "  odchylka" : std::string_view();
    if (row >= c.rows)
        return std::string_view();
    if (column == 0)
        return c.numbers.text(row, scratch);
    if (column == 1)
        return c.deviations->cellText(c.sumColumn, row, scratch);
    return std::string_view();
}

bool DeviationList::computedNumber(int column, int row, char decimalSeparator, long double& value) const
{
    if (!content_ || column != 1 || row < 1 || row >= content_->rows)
        return false;
    // The sum's own reading, its text being the one copied.
    try {
        value = content_->deviations->number(content_->sumColumn, row, decimalSeparator);
    } catch (...) {
        return false;  // read from the text, failing there
    }
    return true;
}

CellExtent DeviationList::computedExtent() const
{
    if (!content_)
        return CellExtent();
    return CellExtent{2, content_->rows};
}

std::shared_ptr<const TextTable> DeviationList::snapshot() const { return std::make_shared<DeviationList>(*this); }

}  // namespace prurez
