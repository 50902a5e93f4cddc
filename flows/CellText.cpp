#include "flows/CellText.h"

#include "common/NumberText.h"

namespace prurez {

long double readExtended(const std::string& text, char decimalSeparator)
{
    return parseNumber(text, decimalSeparator);
}

Single readSingle(const std::string& text, char decimalSeparator)
{
    const Single stored(parseNumber(text, decimalSeparator));
    checkFloatingPointFaults();
    return stored;
}

Fixed readFixed(const std::string& text, char decimalSeparator)
{
    return Fixed::store(parseNumber(text, decimalSeparator));
}

long double readPercent(const std::string& text, char decimalSeparator)
{
    return parseNumber(text, decimalSeparator) * 0.01L;
}

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
