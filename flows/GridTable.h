#pragma once
// The tables of the program: cells addressed (column, row), both from 0; row 0 holds the
// headers. A smaller row or column count hides cells without clearing them; a larger one
// shows their old texts again. Cells beyond the counts can be written. How a table is
// shown (its pixels) is the windows' business.
//
// TextTable is what every table can do: give a cell's text, the value the exact parser
// reads from it, and take a text written into a cell. GridTable holds its cells as
// texts; the large tables of the inverse analysis (flows/NumberTables.h) hold the
// numbers their texts are formatted from and make a text when it is asked for.

#include "prurez/InverseAnalysis.h"

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace prurez {

// How far a table's cells may be other than empty: columns [0, columns), rows [0, rows).
struct CellExtent {
    int columns = 0;
    int rows = 0;
    bool within(const CellExtent& other) const { return columns <= other.columns && rows <= other.rows; }
};

class TextTable : public TableTexts {
public:
    int columnCount() const override { return columnCount_; }
    int rowCount() const override { return rowCount_; }
    void setColumnCount(int count);  // never fewer than 1 column
    void setRowCount(int count);     // never fewer than 1 row

    // An unwritten cell reads as the empty text.
    std::string cell(int column, int row) const override;
    // The cell's text, in the table's own storage or made in `scratch`; valid until the
    // table or `scratch` changes.
    virtual std::string_view cellText(int column, int row, std::string& scratch) const = 0;
    // The value parseNumber reads from the cell's text with this separator; fails as it
    // does (an empty cell, a text that is no number).
    virtual long double number(int column, int row, char decimalSeparator) const;
    // Writes a text into a cell; it reads back as written.
    virtual void setCell(int column, int row, std::string_view text) = 0;
    // The cells that may hold a text.
    virtual CellExtent extent() const = 0;
    // A copy that keeps the cells as they now are, whatever happens to this table.
    virtual std::shared_ptr<const TextTable> snapshot() const = 0;

    // The rows as text: rows 0 … rowCount − 1, each row's columnCount cells joined by
    // TAB, '\n' after every row.
    void writeTsv(std::ostream& out) const override;
    std::string toTsv() const;

protected:
    TextTable(int columnCount, int rowCount);

private:
    int columnCount_;
    int rowCount_;
};

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

// A table of texts. The cells of a row are kept together in one buffer.
class GridTable final : public TextTable {
public:
    GridTable(int columnCount = 5, int rowCount = 5);

    std::string_view cellText(int column, int row, std::string& scratch) const override;
    // The same text in place, valid until the row is written again.
    std::string_view cellView(int column, int row) const;
    void setCell(int column, int row, std::string_view text) override;
    CellExtent extent() const override;
    std::shared_ptr<const TextTable> snapshot() const override;
    // Writes the cells 0, 1, … of a row at once. A row without cells takes the buffers
    // as they are (no allocation per cell); others get the cells one by one.
    void setRow(int row, RowTexts&& cells);
    // A table with the same counts and no cells.
    GridTable blankCopy() const;
    // Reserves room for `rows` rows (a capacity hint only).
    void reserveRows(int rows);

    void writeTsv(std::ostream& out) const override;

private:
    // The texts of a row's cells one after another; cell c is text[begin(c), ends[c]).
    struct Row {
        std::string text;
        std::vector<std::uint32_t> ends;
        std::uint32_t begin(size_t column) const { return column == 0 ? 0 : ends[column - 1]; }
    };
    std::vector<Row> rows_;  // grown on write
};

}  // namespace prurez
