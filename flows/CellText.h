#pragma once
// Values and texts: field texts read into the precision class a quantity is held in,
// computed values written into cells and read back. Every value passes the fault
// guard before it reaches a cell.

#include "common/FixedPoint.h"
#include "common/FloatingPoint.h"
#include "flows/GridTable.h"

#include <cstdint>
#include <exception>
#include <string>

namespace prurez {

// Field readers: a text that is not a number fails with the parse message, as a
// TextFailure naming the text read (`text` itself, not a copy of it).
long double readExtended(const std::string& text, char decimalSeparator);
// A value beyond the single range fails with the overflow message where it is read.
Single readSingle(const std::string& text, char decimalSeparator);
Fixed readFixed(const std::string& text, char decimalSeparator);
// A per-cent input as a fraction (× 0.01).
long double readPercent(const std::string& text, char decimalSeparator);
// An integer field (parseInteger), failing as a TextFailure naming the text.
std::int32_t readInteger(const std::string& text);

// Checks the floating-point flags, then writes the value in the general form.
void writeNumber(TextTable& table, int column, int row, long double value, char decimalSeparator);

// Writes a fixed-point value as its value (at most 4 decimals).
void writeFixed(TextTable& table, int column, int row, Fixed value, char decimalSeparator);

// Parses a cell's text (failing with the floating point message, as a TextFailure
// naming the table and the cell).
long double readNumber(const TextTable& table, int column, int row, char decimalSeparator);

// A cell read once for many uses: its value and the failure its reading gave. Kept only
// when the reading raised no fault flag (the flags are put back as they were);
// otherwise keptValue reads the cell at each use, so that the flag is raised there.
struct KeptNumber {
    bool kept = false;
    long double value = 0;
    std::exception_ptr failure;
};
KeptNumber keepNumber(const TextTable& table, int column, int row, char decimalSeparator);
// The value readNumber would give at this use (or its failure).
long double keptValue(const KeptNumber& read, const TextTable& table, int column, int row, char decimalSeparator);

}  // namespace prurez
