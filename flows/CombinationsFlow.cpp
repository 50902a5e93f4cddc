// The value table of the five varied parameters and the table of all their combinations.

#include "flows/InverseFlow.h"

#include "common/Failure.h"
#include "common/FloatingPoint.h"
#include "common/NumberText.h"
#include "flows/CellText.h"
#include "flows/InverseMessages.h"
#include "flows/Refusals.h"
#include "mechanics/Combinations.h"

#include <array>
#include <cstdint>

namespace prurez {

namespace {

const std::array<const char*, 8> combinationHeaders{" kombinace", "   E [MPa]",  "  fcp [MPa]", "  fct [MPa]",
                                                    "  ecpm [%]", "  ectm [%]", "        a",   "        b"};

}  // namespace

void generateCombinations(const CombinationTexts& texts, GridTable& values, CombinationTable& combinations,
                          char decimalSeparator)
{
    clearFloatingPointFaults();
    for (int column = 0; column < 8; ++column)
        combinations.setCell(column, 0, combinationHeaders[static_cast<size_t>(column)]);

    const long double fcp = readExtended(texts.fcp, decimalSeparator);
    const long double ecpm = readExtended(texts.ecpm, decimalSeparator);
    const auto ranges = gridRanges(texts);
    std::array<long double, gridParameterCount> minimum{};
    std::array<long double, gridParameterCount> maximum{};
    for (size_t parameter = 0; parameter < gridParameterCount; ++parameter) {
        minimum[parameter] = readExtended(ranges[parameter]->min, decimalSeparator);
        maximum[parameter] = readExtended(ranges[parameter]->max, decimalSeparator);
    }
    const std::int32_t typedCount = readInteger(texts.intermediateCount);
    const long double nx = readExtended(texts.intermediateCount, decimalSeparator);
    // Only the low 8 bits of the count would count; a count beyond what can be computed
    // and held is refused rather than wrapped.
    if (typedCount < 0 || typedCount > maximumIntermediateValueCount)
        throw refusal(Reason::intermediateCountOutOfRange);
    const int n = static_cast<std::uint8_t>(typedCount);

    const int m = n + 2;
    const int combinationCount = prurez::combinationCount(m);
    checkFloatingPointFaults();
    const std::string fcpText = formatNumber(fcp, decimalSeparator);
    const std::string ecpmText = formatNumber(ecpm, decimalSeparator);
    // The combination rows get their number, fcp and ecpm before the value table is
    // formed; they are written together with the parameters, so a failure of the value
    // table writes them on its way out (the parameter columns keep what they held).
    try {
        values.setColumnCount(gridParameterCount);
        values.setRowCount(n + 2);
        for (int parameter = 0; parameter < gridParameterCount; ++parameter) {
            writeNumber(values, parameter, 0, minimum[static_cast<size_t>(parameter)], decimalSeparator);
            writeNumber(values, parameter, n + 1, maximum[static_cast<size_t>(parameter)], decimalSeparator);
        }
        for (int k = 1; k <= n; ++k)
            for (size_t parameter = 0; parameter < gridParameterCount; ++parameter)
                writeNumber(values, static_cast<int>(parameter), k,
                            intermediateValue(minimum[parameter], maximum[parameter], nx, k), decimalSeparator);
    } catch (...) {
        combinations.setRowCount(combinationCount + 1);
        combinations.writeFixedColumns(combinationCount, fcpText, ecpmText);
        throw;
    }

    // The texts of each combination's values are those of the value table.
    std::array<std::vector<std::string>, gridParameterCount> valueTexts;
    for (int parameter = 0; parameter < gridParameterCount; ++parameter)
        for (int k = 0; k < m; ++k)
            valueTexts[static_cast<size_t>(parameter)].push_back(values.cell(parameter, k));
    combinations.setRowCount(combinationCount + 1);
    combinations.writeFixedColumns(combinationCount, fcpText, ecpmText);
    combinations.writeParameterColumns(m, valueTexts);
}

std::array<std::string, 7> combinationTexts(const TableTexts& combinations, int row)
{
    std::array<std::string, 7> texts;
    for (size_t column = 1; column <= texts.size(); ++column)
        texts[column - 1] = combinations.cell(static_cast<int>(column), row);
    return texts;
}

}  // namespace prurez
