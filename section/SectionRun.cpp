#include "section/SectionRun.h"

#include "common/CellText.h"
#include "common/Failure.h"
#include "common/NumberText.h"
#include "section/SectionMessages.h"

#include <cmath>

namespace prurez::sectionRun {

long double readExtended(const std::string& text, char decimalSeparator)
{
    return parseNumber(text, decimalSeparator);
}

long double readSingle(const std::string& text, char decimalSeparator)
{
    const long double stored = single(parseNumber(text, decimalSeparator));
    // A value beyond the single range overflows where it is stored, before anything
    // else is read or written.
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

const std::string& heightText(const SectionFields& fields)
{
    return fields.RadioGroup2 == 0 ? fields.Edit13 : fields.Edit14;
}

void checkSectionInputs(long double width, long double height, Fixed E, Fixed fcp)
{
    if (!(width > 0.0L) || !(height > 0.0L))
        throw Failure(sectionMessages::dimensionsNotPositive);
    if (E.raw() <= 0)
        throw Failure(sectionMessages::modulusNotPositive);
    if (fcp.raw() <= 0)
        throw Failure(sectionMessages::strengthNotPositive);
}

void prepareTable(GridTable& table, int left, int columnWidth, const std::vector<const char*>& headers)
{
    table.setColumnCount(static_cast<int>(headers.size()));
    table.setLeft(left);
    table.setDefaultColumnWidth(columnWidth);
    for (size_t column = 0; column < headers.size(); ++column)
        table.setCell(static_cast<int>(column), 0, headers[column]);
}

const std::vector<const char*> concreteHeaders{"  Křivost",   "  Moment",    " Neut. osa", " Beton sigh",
                                               " Beton sigd", " Beton epsh", " Beton epsd", "       FT",
                                               "       FP"};

void sizeTable(GridTable& table, int rowCount, const TableSizes& sizes)
{
    table.setRowCount(rowCount);
    if (rowCount <= 12) {
        table.setHeight(rowCount * 28 + 2);
        table.setWidth(sizes.smallWidth);
        table.setLeft(sizes.smallLeft);
    } else {
        table.setHeight(340);
        table.setWidth(sizes.largeWidth);
        table.setLeft(sizes.largeLeft);
    }
}

bool balanceAccepted(Fixed residual)
{
    return std::trunc(static_cast<long double>(residual.raw()) * 1000.0L / 10000.0L) == 0.0L;
}

SectionOutcome stopWithRows(GridTable& table, int rowCount, const TableSizes& sizes, const std::string& message)
{
    sizeTable(table, rowCount, sizes);
    SectionOutcome outcome = finishedRun();
    outcome.stopMessage = message;
    return outcome;
}

SectionOutcome finishedRun()
{
    SectionOutcome outcome;
    outcome.ran = true;
    outcome.showResults = true;
    return outcome;
}

std::string noEquilibriumMessage(long double kappa, char decimalSeparator)
{
    return std::string(sectionMessages::noEquilibriumStart) + formatNumber(kappa, decimalSeparator) +
           sectionMessages::noEquilibriumEnd;
}

void writeEndRow(GridTable& table, int row, long double kappa, int textColumn, const char* text,
                 char decimalSeparator)
{
    writeNumber(table, 0, row, kappa, decimalSeparator);
    for (int column = 1; column < table.columnCount(); ++column)
        table.setCell(column, row, column == textColumn ? text : "");
}

}  // namespace prurez::sectionRun
