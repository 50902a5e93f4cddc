#pragma once
// The PDF reports of the program (A4, Czech): a section run, and an inverse analysis.
// Each holds the inputs with their units, the charts with legends, the tables (all their
// rows when they fit a few pages, otherwise every k-th row with the peak and the last
// one, saying so), how the computation ended, the date and the program's version. A
// report is written whole or not at all (saveBytes); one that cannot be written fails
// with a Czech message.

#include "flows/GridTable.h"
#include "flows/SectionFlow.h"
#include "prurez/InverseAnalysis.h"

#include <QString>

namespace prurez {

class InverseAnalysis;

// The report of a section run: its texts as typed, its results table and what the run
// left (its texts, inputs and rows, how it ended). Numbers with the decimal separator
// given.
void writeSectionReport(const QString& fileName, const GridTable& table, const SectionRunReport& run,
                        char decimalSeparator);

// The report of an inverse analysis: the input as typed (the test points' source too),
// the session's test diagram, best fit and refinement (when there is one), and its
// comparison chart.
void writeInverseReport(const QString& fileName, const InverseInput& input, InverseAnalysis& session);

// How many table rows a report prints in full; a longer table is thinned out.
inline constexpr int reportFullTableRows = 200;

// The table rows (1 … rowCount − 1) a report prints: all when there are at most
// reportFullTableRows, otherwise every k-th from the first, the row with the largest
// value in `peakColumn` and the last row, ascending; `step` is set to k (1 for all).
std::vector<int> reportRows(const GridTable& table, int peakColumn, char decimalSeparator, int& step);

}  // namespace prurez
