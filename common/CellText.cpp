#include "common/CellText.h"

#include "common/FloatingPoint.h"
#include "common/NumberText.h"

namespace prurez {

void writeNumber(GridTable& table, int column, int row, long double value, char decimalSeparator)
{
    checkFloatingPointFaults();
    table.setCell(column, row, formatNumber(value, decimalSeparator));
}

void writeFixed(GridTable& table, int column, int row, Fixed value, char decimalSeparator)
{
    writeNumber(table, column, row, value.value(), decimalSeparator);
}

long double readNumber(const GridTable& table, int column, int row, char decimalSeparator)
{
    return parseNumber(table.cell(column, row), decimalSeparator);
}

}  // namespace prurez
