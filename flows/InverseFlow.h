#pragma once
// The inverse analysis of fibre concrete over its tables and field texts: each
// function is the whole flow of one handler of its windows, which the session
// (prurez/InverseAnalysis.h) sequences for the windows, the batch tool and other
// programs alike. A text that is not a number or a floating-point fault throws Failure;
// what was written before stays; a stop asked through a work control throws Cancelled.

#include "common/WorkControl.h"
#include "flows/GridTable.h"
#include "flows/LineSeries.h"
#include "flows/NumberTables.h"
#include "mechanics/Combinations.h"
#include "mechanics/NeutralAxisScan.h"
#include "prurez/InverseAnalysis.h"

#include <array>
#include <functional>
#include <optional>
#include <string>

namespace prurez {

// The tables of the inverse analysis as its windows start them.
struct InverseTables {
    GridTable testPoints{2, 8};     // force and deflection of each test point
    GridTable testDiagram{4, 8};    // force, deflection, curvature and moment
    GridTable values{5, 2};                // the values of the five varied parameters (never shown)
    CombinationTable combinations{8, 20};  // every combination of them
    MomentTable moments{5, 5};             // the moment of each combination at each test curvature
    DeviationTable deviations{2, 1};       // the squared deviations and their sums (never shown)
    DeviationList deviationList{2, 5};     // the summed deviation of each combination
};

// ---- test points

// The count arrow: 2 columns; an empty count text stops there (no value returned);
// otherwise the count (an integer text, at most 100) sets the row count p + 1 and the
// headers, and p is returned.
std::optional<int> setTestPointCount(const std::string& countText, GridTable& points);

// True for a name that is a file mask, not a file ("*.*", "*.txt", …).
bool isFileMask(const std::string& name);

// Reads a test data file into the table (values in pairs, force then deflection),
// sets headers and row count; returns the number of points p. Fails with the file
// messages, "Invalid numeric input" or, beyond maximumTestFilePointCount points,
// testFilePointCountMessage (the values before either stay written).
int readTestDataFile(const std::string& fileName, GridTable& points, char decimalSeparator);

// The two steps of it: the content of the file, as every file is read (readFile) with
// the file messages above ("File not found", "File access denied", …; too large or
// stopped: the program's own); and the points read from that content.
std::string testDataFileContent(const std::string& fileName, const std::atomic<bool>* cancel = nullptr);
int readTestData(const std::string& content, GridTable& points, char decimalSeparator);

// ---- the test moment–curvature

// The page change: headers and row count of the diagram table, forces and deflections
// copied; columns 2 and 3 stay.
void copyTestPoints(const GridTable& points, GridTable& diagram);

// "Výpočet momentu a křivosti": κ and M of every row into columns 2 and 3, the test
// curve rebuilt (origin, then each point, red). `fixDiagramChoice` runs after a, s and
// E were read, before the first row (it selects and disables the bilinear choice).
void computeTestDiagram(const BendingTestTexts& texts, GridTable& diagram, LineSeries& curve, char decimalSeparator,
                        const std::function<void()>& fixDiagramChoice);

// ---- parameter ranges and combinations

// The ranges of the five varied parameters in the value table's order: E, fct, ectm, a, b.
inline std::array<const RangeTexts*, gridParameterCount> gridRanges(const CombinationTexts& texts)
{
    return {&texts.E, &texts.fct, &texts.ectm, &texts.a, &texts.b};
}

// Generates the value table (n + 2 rows, 5 columns) and the combination table
// (N + 1 rows, 8 columns).
void generateCombinations(const CombinationTexts& texts, GridTable& values, CombinationTable& combinations,
                          char decimalSeparator);

// E, fcp, fct, ecpm, ectm, a and b of combination `row` as the table holds them
// (columns 1 … 7).
std::array<std::string, 7> combinationTexts(const TableTexts& combinations, int row);

// ---- the moment of every combination at every test curvature

// Watching a computation over the combination rows.
struct RowRunControl {
    // Told the row about to be computed (1 … R − 1, of R − 1), from the calling thread;
    // a stop asked through it ends the computation with Cancelled (the rows written
    // stay).
    WorkControl* work = nullptr;
    int threads = 0;  // 0: all hardware threads
};

// The most moments a moment table keeps (16 bytes each: 256 MiB); a larger table
// computes a row again whenever its cells are read.
inline constexpr long long defaultKeptMomentLimit = 1LL << 24;

struct MomentRunControl : RowRunControl {
    ScanOptions scan;
    long long keptMomentLimit = defaultKeptMomentLimit;
};

// Fills the combination moment table (2p + 1 columns, R rows). Its moments are kept
// up to control.keptMomentLimit of them, otherwise computed again whenever a cell is
// read. The squared deviations from the test moments as they now stand are found on the
// way: a press of "Spočítej odchylky" with the same test moments takes them as they are.
void computeCombinationMoments(const BeamTexts& beam, const TextTable& diagram, const TextTable& combinations,
                               MomentTable& moments, char decimalSeparator,
                               const MomentRunControl& control = MomentRunControl());

// ---- deviations and the best fit

// "Spočítej odchylky": the deviation table (p + 2 columns, R rows).
void computeDeviations(const std::string& pointCountText, const TextTable& moments, const TextTable& diagram,
                       const TextTable& combinations, DeviationTable& deviations, char decimalSeparator,
                       const RowRunControl& control = RowRunControl());

// The page change: the deviation list (2 columns, R rows) from the deviation table.
void fillDeviationList(const TextTable& combinations, const TextTable& deviations, DeviationList& list);

// "Najdi nejvýstižnější kombinaci": the smallest summed deviation (strictly less,
// from 10 000 000; the lowest row wins ties), its number, texts and sum, and the two
// comparison curves (test red, combination blue, both from the origin).
BestFit findBestFit(const std::string& pointCountText, const TextTable& list, const TextTable& combinations,
                    const TextTable& diagram, const TextTable& moments, LineSeries& testCurve,
                    LineSeries& combinationCurve, char decimalSeparator);

}  // namespace prurez
