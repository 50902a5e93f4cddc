#pragma once
// A grid of text cells addressed (column, row), both from 0; row 0 holds the headers.
// A smaller row or column count hides cells without clearing them; a larger one shows
// their old texts again. Cells beyond the counts can be written. How a table is shown
// (its pixels) is the windows' business.
//
// The cells of a row are kept together in one buffer (a table of a quarter of a
// million combinations holds millions of cells).

#include "prurez/InverseAnalysis.h"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace prurez {

// The texts of a row's cells one after another, cell c ending at ends[c]: a row built
// before it is written whole.
struct RowTexts {
    std::string texts;
    std::vector<std::uint32_t> ends;

    void endCell() { ends.push_back(static_cast<std::uint32_t>(texts.size())); }
    void add(std::string_view text)
    {
        texts.append(text);
        endCell();
    }
};

class GridTable final : public TableTexts {
public:
    GridTable(int columnCount = 5, int rowCount = 5);

    int columnCount() const override { return columnCount_; }
    int rowCount() const override { return rowCount_; }
    void setColumnCount(int count);
    void setRowCount(int count);  // never fewer than 1 row

    // An unwritten cell reads as the empty text.
    std::string cell(int column, int row) const override;
    // The same text in place, valid until the row is written again.
    std::string_view cellView(int column, int row) const;
    void setCell(int column, int row, std::string_view text);
    // Writes the cells 0, 1, … of a row at once. A row without cells takes the buffers
    // as they are (no allocation per cell); others get the cells one by one.
    void setRow(int row, RowTexts&& cells);
    // A table with the same counts and no cells.
    GridTable blankCopy() const;
    // Reserves room for `rows` rows (a capacity hint only).
    void reserveRows(int rows);

    // The rows as text: rows 0 … rowCount − 1, each row's columnCount cells joined by
    // TAB, '\n' after every row.
    void writeTsv(std::ostream& out) const override;
    std::string toTsv() const;

private:
    // The texts of a row's cells one after another; cell c is text[begin(c), ends[c]).
    struct Row {
        std::string text;
        std::vector<std::uint32_t> ends;
        std::uint32_t begin(size_t column) const { return column == 0 ? 0 : ends[column - 1]; }
    };
    std::vector<Row> rows_;  // grown on write
    int columnCount_;
    int rowCount_;
};

}  // namespace prurez
