#pragma once
// Tables taken elsewhere: cells as tab-separated rows for the clipboard, and a whole
// table as CSV for a spreadsheet. The cells hold the texts the windows show (numbers
// with the locale's decimal separator); only the blanks around a text, which align it
// in its cell, are left out.

#include "flows/GridTable.h"

#include <functional>
#include <string>

namespace prurez {

// The cells of columns first…last and rows first…last as rows of tab-separated
// texts, each row ending with '\n'. A cell for which `included` says false is left
// empty (a selection that is not a whole rectangle).
struct CellRange {
    int firstColumn = 0;
    int firstRow = 0;
    int lastColumn = -1;
    int lastRow = -1;
};
CellRange wholeTable(const TextTable& table);
std::string tabSeparatedText(const TextTable& table, const CellRange& range,
                             const std::function<bool(int column, int row)>& included = nullptr);

// The whole table as CSV in the dialect a spreadsheet of the same locale reads
// without questions: with the decimal comma the fields are separated by ';' (',' is
// in the numbers), with the decimal point by ','; a field holding the separator, a
// quote or a line end is quoted and its quotes doubled; lines end with CR LF; the
// text is UTF-8 after a byte order mark, by which spreadsheets recognise UTF-8 ("Síla").
std::string csvText(const TextTable& table, char decimalSeparator);

}  // namespace prurez
