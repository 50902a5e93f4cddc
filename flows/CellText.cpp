#include "flows/CellText.h"

#include "common/Failure.h"
#include "common/NumberText.h"

namespace prurez {

long double readExtended(const std::string& text, char decimalSeparator)
{
    try {
        return parseNumber(text, decimalSeparator);
    } catch (const Failure& failure) {
        throw TextFailure(failure, &text);
    }
}

Single readSingle(const std::string& text, char decimalSeparator)
{
    const Single stored(readExtended(text, decimalSeparator));
    checkFloatingPointFaults();
    return stored;
}

Fixed readFixed(const std::string& text, char decimalSeparator)
{
    return Fixed::store(readExtended(text, decimalSeparator));
}

long double readPercent(const std::string& text, char decimalSeparator)
{
    return readExtended(text, decimalSeparator) * 0.01L;
}

std::int32_t readInteger(const std::string& text)
{
    try {
        return parseInteger(text);
    } catch (const Failure& failure) {
        throw TextFailure(failure, &text);
    }
}

void writeNumber(TextTable& table, int column, int row, long double value, char decimalSeparator)
{
    checkFloatingPointFaults();
    table.setCell(column, row, formatNumber(value, decimalSeparator));
}

void writeFixed(TextTable& table, int column, int row, Fixed value, char decimalSeparator)
{
    writeNumber(table, column, row, value.value(), decimalSeparator);
}

long double readNumber(const TextTable& table, int column, int row, char decimalSeparator)
{
    try {
        return table.number(column, row, decimalSeparator);
    } catch (const Failure& failure) {
        throw TextFailure(failure, &table, column, row);
    }
}

KeptNumber keepNumber(const TextTable& table, int column, int row, char decimalSeparator)
{
    KeptNumber read;
    const FaultFlags before;
    clearFloatingPointFaults();
    try {
        read.value = readNumber(table, column, row, decimalSeparator);
    } catch (...) {
        read.failure = std::current_exception();
    }
    read.kept = !FaultFlags::faultRaised();
    before.restore();
    return read;
}

long double keptValue(const KeptNumber& read, const TextTable& table, int column, int row, char decimalSeparator)
{
    if (!read.kept)
        return readNumber(table, column, row, decimalSeparator);
    if (read.failure)
        std::rethrow_exception(read.failure);
    return read.value;
}

}  // namespace prurez
