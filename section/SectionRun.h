#pragma once
// What the section analyses share beyond the concrete laws: reading the fields in
// their precision classes, preparing and sizing the results table, the neutral-axis
// scan and the ends of a run that stops before a strain limit.

#include "common/FixedPoint.h"
#include "common/FloatingPoint.h"
#include "common/GridTable.h"
#include "section/SectionAnalysis.h"

#include <cstdint>
#include <string>
#include <vector>

namespace prurez::sectionRun {

// The neutral-axis scan step [m].
inline constexpr long double scanStep = 5e-6L;

// Field readers: a text that is not a number fails with the parse message.
long double readExtended(const std::string& text, char decimalSeparator);
long double readSingle(const std::string& text, char decimalSeparator);
Fixed readFixed(const std::string& text, char decimalSeparator);
// A per-cent input as a fraction (× 0.01).
long double readPercent(const std::string& text, char decimalSeparator);

// The height of the section by its shape: the edge a of a square, Edit14 of a rectangle.
const std::string& heightText(const SectionFields& fields);

// The refusals of inputs that no section can have, checked after the fields were read
// and before the table is touched.
void checkSectionInputs(long double width, long double height, Fixed E, Fixed fcp);

// Column count, left position, column width and header row.
void prepareTable(GridTable& table, int left, int columnWidth, const std::vector<const char*>& headers);

// The nine columns of the plain- and fibre-concrete tables.
extern const std::vector<const char*> concreteHeaders;

// The geometry rule of the results table: a table of up to 12 rows is sized to its
// rows (28 pixels each and 2); a longer one is 340 pixels high and scrolls, wider and
// further left to make room for the scroll bar.
struct TableSizes {
    int smallWidth;
    int smallLeft;
    int largeWidth;
    int largeLeft;
};
// The nine-column tables (plain and fibre concrete) and the reinforced one.
inline constexpr TableSizes concreteSizes{515, 11, 531, 3};
inline constexpr TableSizes reinforcedSizes{522, 7, 538, 0};
void sizeTable(GridTable& table, int rowCount, const TableSizes& sizes);

// The balance test of a trial: the residual |N − ΣF| as a fixed-point value in MN is
// accepted when it is below 1 kN.
bool balanceAccepted(Fixed residual);

// The scan from the top edge down: xt = h − 5 µm, h − 10 µm, … . `trial(xt)` evaluates
// one position and returns true when it balances; the faults are checked after every
// trial. Returns false when the neutral axis passed the bottom edge without balance.
template <class Trial>
bool scanFromTopEdge(long double h, Trial&& trial)
{
    long double xt = h;
    for (;;) {
        xt = xt - scanStep;
        if (xt < -0.5L * scanStep)
            return false;
        const bool accepted = trial(xt);
        checkFloatingPointFaults();
        if (accepted)
            return true;
    }
}

// The largest step index the 16-bit row counter holds.
inline constexpr std::uint16_t lastStepIndex = 65535;

// Ends a run that stopped before a strain limit: the `rowCount` rows written so far
// stay visible, the table is sized for them and the message is handed over.
SectionOutcome stopWithRows(GridTable& table, int rowCount, const TableSizes& sizes, const std::string& message);

// The outcome of a run that reached a strain limit.
SectionOutcome finishedRun();

// The message of a curvature at which no depth of the neutral axis balances the forces.
std::string noEquilibriumMessage(long double kappa, char decimalSeparator);

// Overwrites a row with the curvature in column 0, the text in its column and empty
// cells elsewhere.
void writeEndRow(GridTable& table, int row, long double kappa, int textColumn, const char* text,
                 char decimalSeparator);

}  // namespace prurez::sectionRun
