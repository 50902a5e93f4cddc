#include "flows/GridTable.h"

#include "common/NumberText.h"

#include <algorithm>
#include <ostream>
#include <sstream>

namespace prurez {

void TableTexts::writeTsv(std::ostream& out) const
{
    for (int row = 0; row < rowCount(); ++row) {
        for (int column = 0; column < columnCount(); ++column) {
            if (column > 0)
                out.put('\t');
            out << cell(column, row);
        }
        out.put('\n');
    }
}

// ---- TextTable

TextTable::TextTable(int columnCount, int rowCount)
    : columnCount_(std::max(1, columnCount)), rowCount_(std::max(1, rowCount))
{
}

void TextTable::setColumnCount(int count) { columnCount_ = std::max(1, count); }

void TextTable::setRowCount(int count) { rowCount_ = std::max(1, count); }

std::string TextTable::cell(int column, int row) const
{
    std::string scratch;
    const std::string_view text = cellText(column, row, scratch);
    return text.data() == scratch.data() && text.size() == scratch.size() ? std::move(scratch) : std::string(text);
}

long double TextTable::number(int column, int row, char decimalSeparator) const
{
    std::string scratch;
    return parseNumber(cellText(column, row, scratch), decimalSeparator);
}

void TextTable::writeTsv(std::ostream& out) const
{
    std::string line;
    std::string scratch;
    for (int row = 0; row < rowCount(); ++row) {
        line.clear();
        for (int column = 0; column < columnCount(); ++column) {
            if (column > 0)
                line += '\t';
            line.append(cellText(column, row, scratch));
        }
        line += '\n';
        out.write(line.data(), static_cast<std::streamsize>(line.size()));
    }
}

std::string TextTable::toTsv() const
{
    std::ostringstream text;
    writeTsv(text);
    return text.str();
}

// ---- GridTable

GridTable::GridTable(int columnCount, int rowCount) : TextTable(columnCount, rowCount) {}

std::string_view GridTable::cellText(int column, int row, std::string&) const { return cellView(column, row); }

std::string_view GridTable::cellView(int column, int row) const
{
    if (row < 0 || column < 0 || static_cast<size_t>(row) >= rows_.size())
        return std::string_view();
    const Row& cells = rows_[static_cast<size_t>(row)];
    const auto c = static_cast<size_t>(column);
    if (c >= cells.ends.size())
        return std::string_view();
    return std::string_view(cells.text).substr(cells.begin(c), cells.ends[c] - cells.begin(c));
}

void GridTable::setCell(int column, int row, std::string_view text)
{
    if (row < 0 || column < 0)
        return;
    if (static_cast<size_t>(row) >= rows_.size()) {
        if (text.empty())
            return;
        rows_.resize(static_cast<size_t>(row) + 1);
    }
    Row& cells = rows_[static_cast<size_t>(row)];
    const auto c = static_cast<size_t>(column);
    if (c >= cells.ends.size()) {
        if (text.empty())
            return;
        cells.ends.resize(c + 1, static_cast<std::uint32_t>(cells.text.size()));
    }
    const std::uint32_t begin = cells.begin(c);
    const std::uint32_t oldLength = cells.ends[c] - begin;
    cells.text.replace(begin, oldLength, text);
    const auto shift = static_cast<std::int64_t>(text.size()) - static_cast<std::int64_t>(oldLength);
    if (shift != 0)
        for (size_t k = c; k < cells.ends.size(); ++k)
            cells.ends[k] = static_cast<std::uint32_t>(cells.ends[k] + shift);
}

CellExtent GridTable::extent() const
{
    CellExtent extent;
    extent.rows = static_cast<int>(rows_.size());
    for (const Row& row : rows_)
        extent.columns = std::max(extent.columns, static_cast<int>(row.ends.size()));
    return extent;
}

std::shared_ptr<const TextTable> GridTable::snapshot() const { return std::make_shared<GridTable>(*this); }

void GridTable::setRow(int row, RowTexts&& cells)
{
    if (row < 0 || cells.ends.empty())
        return;
    if (static_cast<size_t>(row) >= rows_.size())
        rows_.resize(static_cast<size_t>(row) + 1);
    Row& written = rows_[static_cast<size_t>(row)];
    if (written.ends.empty()) {
        written.text = std::move(cells.texts);
        written.ends = std::move(cells.ends);
        return;
    }
    const std::string_view all(cells.texts);
    std::uint32_t begin = 0;
    for (size_t column = 0; column < cells.ends.size(); ++column) {
        setCell(static_cast<int>(column), row, all.substr(begin, cells.ends[column] - begin));
        begin = cells.ends[column];
    }
}

GridTable GridTable::blankCopy() const
{
    GridTable copy(columnCount(), rowCount());
    return copy;
}

void GridTable::reserveRows(int rows)
{
    if (rows > 0 && static_cast<size_t>(rows) > rows_.size())
        rows_.reserve(static_cast<size_t>(rows));
}

void GridTable::writeTsv(std::ostream& out) const
{
    const int rowCount = this->rowCount();
    const int columnCount = this->columnCount();
    for (int row = 0; row < rowCount; ++row) {
        const Row* cells = static_cast<size_t>(row) < rows_.size() ? &rows_[static_cast<size_t>(row)] : nullptr;
        for (int column = 0; column < columnCount; ++column) {
            if (column > 0)
                out.put('\t');
            const auto c = static_cast<size_t>(column);
            if (cells != nullptr && c < cells->ends.size())
                out.write(cells->text.data() + cells->begin(c), cells->ends[c] - cells->begin(c));
        }
        out.put('\n');
    }
}

}  // namespace prurez
