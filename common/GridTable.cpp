#include "common/GridTable.h"

#include <algorithm>

namespace prurez {

namespace {
const std::string emptyText;
}

GridTable::GridTable(int columnCount, int rowCount)
    : columnCount_(std::max(1, columnCount)), rowCount_(std::max(1, rowCount))
{
}

void GridTable::setColumnCount(int count)
{
    columnCount_ = std::max(1, count);
    ++revision_;
}

void GridTable::setRowCount(int count)
{
    rowCount_ = std::max(1, count);
    ++revision_;
}

const std::string& GridTable::cell(int column, int row) const
{
    if (row < 0 || column < 0 || static_cast<size_t>(row) >= rows_.size())
        return emptyText;
    const auto& cells = rows_[static_cast<size_t>(row)];
    if (static_cast<size_t>(column) >= cells.size())
        return emptyText;
    return cells[static_cast<size_t>(column)];
}

void GridTable::setCell(int column, int row, std::string text)
{
    if (row < 0 || column < 0)
        return;
    if (static_cast<size_t>(row) >= rows_.size())
        rows_.resize(static_cast<size_t>(row) + 1);
    auto& cells = rows_[static_cast<size_t>(row)];
    if (static_cast<size_t>(column) >= cells.size()) {
        if (text.empty())
            return;
        cells.resize(static_cast<size_t>(std::max(column + 1, columnCount_)));
    }
    cells[static_cast<size_t>(column)] = std::move(text);
}

GridTable GridTable::blankCopy() const
{
    GridTable copy(*this);
    copy.rows_.clear();
    copy.rows_.shrink_to_fit();
    return copy;
}

void GridTable::reserve(int columns, int rows)
{
    if (static_cast<size_t>(rows) > rows_.size())
        rows_.reserve(static_cast<size_t>(rows));
    (void)columns;
}

std::string GridTable::toTsv() const
{
    std::string text;
    for (int row = 0; row < rowCount_; ++row) {
        for (int column = 0; column < columnCount_; ++column) {
            if (column > 0)
                text += '\t';
            text += cell(column, row);
        }
        text += '\n';
    }
    return text;
}

}  // namespace prurez
