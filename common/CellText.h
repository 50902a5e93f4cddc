#pragma once
// Writing computed values into cells and reading them back: every value passes
// the fault guard before it reaches a cell.

#include "common/FixedPoint.h"
#include "common/GridTable.h"

#include <string>

namespace prurez {

// Checks the floating-point flags, then writes the value in the general form.
void writeNumber(GridTable& table, int column, int row, long double value, char decimalSeparator);

// Writes a fixed-point value as its value (at most 4 decimals).
void writeFixed(GridTable& table, int column, int row, Fixed value, char decimalSeparator);

// Parses a cell's text (failing with the floating point message).
long double readNumber(const GridTable& table, int column, int row, char decimalSeparator);

}  // namespace prurez
