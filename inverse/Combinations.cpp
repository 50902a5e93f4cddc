// The value table of the five varied parameters and the table of all their combinations.

#include "inverse/InverseAnalysis.h"
#include "inverse/InverseMessages.h"

#include "common/CellText.h"
#include "common/Failure.h"
#include "common/FloatingPoint.h"
#include "common/NumberText.h"

#include <array>
#include <cstdint>

namespace prurez {

namespace {

const std::array<const char*, 8> combinationHeaders{" kombinace", "   E [MPa]",  "  fcp [MPa]", "  fct [MPa]",
                                                    "  ecpm [%]", "  ectm [%]", "        a",   "        b"};

// The combination table column of each value table column (E, fct, ectm, a, b).
constexpr std::array<int, 5> parameterColumns{1, 3, 5, 6, 7};

}  // namespace

void generateCombinations(const CombinationFields& fields, GridTable& values, GridTable& combinations,
                          char decimalSeparator)
{
    clearFloatingPointFaults();
    for (int column = 0; column < 8; ++column)
        combinations.setCell(column, 0, combinationHeaders[static_cast<size_t>(column)]);

    const long double fcp = parseNumber(fields.Edit5, decimalSeparator);
    const long double ecpm = parseNumber(fields.Edit6, decimalSeparator);
    const std::array<const std::string*, 5> minTexts{&fields.Edit7, &fields.Edit8, &fields.Edit9, &fields.Edit10,
                                                     &fields.Edit11};
    const std::array<const std::string*, 5> maxTexts{&fields.Edit12, &fields.Edit13, &fields.Edit14, &fields.Edit15,
                                                     &fields.Edit16};
    std::array<long double, 5> minimum{};
    std::array<long double, 5> maximum{};
    for (size_t parameter = 0; parameter < 5; ++parameter) {
        minimum[parameter] = parseNumber(*minTexts[parameter], decimalSeparator);
        maximum[parameter] = parseNumber(*maxTexts[parameter], decimalSeparator);
    }
    const std::int32_t typedCount = parseInteger(fields.Edit17);
    const long double nx = parseNumber(fields.Edit17, decimalSeparator);
    // Only the low 8 bits of the count would count; a count beyond what can be computed
    // and held is refused rather than wrapped.
    if (typedCount < 0 || typedCount > maximumIntermediateValueCount)
        throw Failure(intermediateValueCountMessage());
    const int n = static_cast<std::uint8_t>(typedCount);

    const int m = n + 2;
    const int combinationCount = m * m * m * m * m;
    checkFloatingPointFaults();
    const std::string fcpText = formatNumber(fcp, decimalSeparator);
    const std::string ecpmText = formatNumber(ecpm, decimalSeparator);
    // The combination rows get their number, fcp and ecpm before the value table is
    // formed; they are written together with the parameters in one pass, so a
    // failure of the value table writes them on its way out.
    auto prepareRows = [&] {
        combinations.reserveRows(combinationCount + 1);
        combinations.setRowCount(combinationCount + 1);
    };
    auto writeFixedColumns = [&](int row) {
        combinations.setCell(0, row, formatInteger(row));
        combinations.setCell(2, row, fcpText);
        combinations.setCell(4, row, ecpmText);
    };

    try {
        values.setColumnCount(5);
        values.setRowCount(n + 2);
        for (int parameter = 0; parameter < 5; ++parameter) {
            writeNumber(values, parameter, 0, minimum[static_cast<size_t>(parameter)], decimalSeparator);
            writeNumber(values, parameter, n + 1, maximum[static_cast<size_t>(parameter)], decimalSeparator);
        }
        for (int k = 1; k <= n; ++k) {
            const long double step = static_cast<long double>(k);
            for (size_t parameter = 0; parameter < 5; ++parameter) {
                const long double value =
                    ((maximum[parameter] - minimum[parameter]) / (nx + 1.0L)) * step + minimum[parameter];
                writeNumber(values, static_cast<int>(parameter), k, value, decimalSeparator);
            }
        }
    } catch (...) {
        prepareRows();
        for (int row = 1; row <= combinationCount; ++row)
            writeFixedColumns(row);
        throw;
    }

    // Row r holds the base-m digits of r − 1, E slowest, b fastest; the texts are
    // those of the value table.
    prepareRows();
    std::array<int, 5> digits{};
    for (int row = 1; row <= combinationCount; ++row) {
        writeFixedColumns(row);
        for (size_t parameter = 0; parameter < 5; ++parameter)
            combinations.setCell(parameterColumns[parameter], row,
                                 values.cell(static_cast<int>(parameter), digits[parameter]));
        for (int place = 4; place >= 0; --place) {
            if (++digits[static_cast<size_t>(place)] < m)
                break;
            digits[static_cast<size_t>(place)] = 0;
        }
    }
}

}  // namespace prurez
