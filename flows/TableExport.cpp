#include "flows/TableExport.h"

#include "common/FloatingPoint.h"
#include "flows/InputFile.h"

namespace prurez {

namespace {

// The text without its aligning blanks; a tab or line end inside (none of the tables
// writes one) would break the rows, so it becomes a space.
std::string exportedText(const TextTable& table, int column, int row)
{
    std::string text = trimBlanks(table.cell(column, row));
    for (char& c : text)
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    return text;
}

}  // namespace

CellRange wholeTable(const TextTable& table)
{
    return CellRange{0, 0, table.columnCount() - 1, table.rowCount() - 1};
}

std::string tabSeparatedText(const TextTable& table, const CellRange& range,
                             const std::function<bool(int column, int row)>& included)
{
    const DefaultFloatingPointScope reading;  // once for all the cells computed when read
    std::string text;
    for (int row = range.firstRow; row <= range.lastRow; ++row) {
        for (int column = range.firstColumn; column <= range.lastColumn; ++column) {
            if (column > range.firstColumn)
                text += '\t';
            if (!included || included(column, row))
                text += exportedText(table, column, row);
        }
        text += '\n';
    }
    return text;
}

std::string csvText(const TextTable& table, char decimalSeparator)
{
    const DefaultFloatingPointScope reading;  // once for all the cells computed when read
    const char separator = decimalSeparator == ',' ? ';' : ',';
    std::string text = "\xEF\xBB\xBF";
    for (int row = 0; row < table.rowCount(); ++row) {
        for (int column = 0; column < table.columnCount(); ++column) {
            if (column > 0)
                text += separator;
            const std::string field = trimBlanks(table.cell(column, row));
            if (field.find_first_of(std::string{separator, '"', '\n', '\r'}) == std::string::npos) {
                text += field;
                continue;
            }
            text += '"';
            for (char c : field) {
                if (c == '"')
                    text += '"';
                text += c;
            }
            text += '"';
        }
        text += "\r\n";
    }
    return text;
}

}  // namespace prurez
