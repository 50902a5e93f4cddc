#pragma once
// The inverse analysis of fibre concrete without windows: each function is the whole
// flow of one handler over the tables (grids) and field texts of the windows.
// A text that is not a number or a floating-point fault throws Failure; what was
// written before stays.

#include "common/GridTable.h"
#include "common/LineSeries.h"

#include <array>
#include <atomic>
#include <functional>
#include <string>

namespace prurez {

// ---- test points (input window, page 1)

// The size of the test point grid for p points.
void applyTestPointGridSize(GridTable& points, int pointCount);

// The count arrow: column count 2; an empty count text stops there; otherwise the
// count (an integer text) sets the row count p + 1, the headers and the size.
void setTestPointCount(const std::string& countText, GridTable& points);

// True for a name that is a file mask, not a file ("*.*", "*.txt", …).
bool isFileMask(const std::string& name);

// Reads a test data file into the grid (values in pairs, force then deflection),
// sets headers, row count and size; returns the number of points p. Fails with the
// file messages, or "Invalid numeric input" (the values before it stay written).
int readTestDataFile(const std::string& fileName, GridTable& points, char decimalSeparator);

// ---- the test moment–curvature (page 2)

// The page change: headers, row count and size of the diagram table, forces and
// deflections copied; columns 2 and 3 stay.
void copyTestPoints(const GridTable& points, GridTable& diagram);

struct TestDiagramFields {
    std::string Edit2;  // E [MPa]
    std::string Edit3;  // distance a of the loading forces [m]
    std::string Edit4;  // section dimension s [m]
};

// "Výpočet momentu a křivosti": κ and M of every row into columns 2 and 3, the test
// curve rebuilt (origin, then each point, red). `fixDiagramChoice` runs after a, s and
// E were read, before the first row (it selects and disables the bilinear choice).
void computeTestDiagram(const TestDiagramFields& fields, GridTable& diagram, LineSeries& curve,
                        char decimalSeparator, const std::function<void()>& fixDiagramChoice);

// ---- parameter ranges and combinations (page 3)

struct CombinationFields {
    std::string Edit5;   // fcp
    std::string Edit6;   // ecpm [%]
    std::string Edit7, Edit12;   // E min, max
    std::string Edit8, Edit13;   // fct min, max
    std::string Edit9, Edit14;   // ectm min, max [%]
    std::string Edit10, Edit15;  // a min, max
    std::string Edit11, Edit16;  // b min, max
    std::string Edit17 = "0";    // number of intermediate values n
};

// Generates the value table (n + 2 rows, 5 columns) and the combination table
// (N + 1 rows, 8 columns).
void generateCombinations(const CombinationFields& fields, GridTable& values, GridTable& combinations,
                          char decimalSeparator);

// ---- the moment of every combination at every test curvature

struct MomentFields {
    std::string Edit18;  // section height h [m] (input window, page 3)
    std::string Edit19;  // section width [m]
    std::string Edit1;   // number of test points p (page 1)
};

struct MomentRunControl {
    int threads = 0;              // 0: all hardware threads
    bool exhaustiveScan = false;  // the plain fixed-step scans
    // Called with the row about to be computed (1 … R − 1), from the calling thread.
    std::function<void(int row)> progress;
    // Set from outside to stop; the computation then throws Failure with the
    // cancellation message.
    const std::atomic<bool>* cancel = nullptr;
};

// Fills the combination moment table (2p + 1 columns, R rows).
void computeCombinationMoments(const MomentFields& fields, const GridTable& diagram, const GridTable& combinations,
                               GridTable& moments, char decimalSeparator,
                               const MomentRunControl& control = MomentRunControl());

// ---- deviations and the best fit

// "Spočítej odchylky": the deviation table (p + 2 columns, R rows).
void computeDeviations(const std::string& pointCountText, const GridTable& moments, const GridTable& diagram,
                       const GridTable& combinations, GridTable& deviations, char decimalSeparator);

// The page change: the deviation list (2 columns, R rows) from the deviation table.
void fillDeviationList(const GridTable& combinations, const GridTable& deviations, GridTable& list);

struct BestFit {
    int row = 0;                         // the combination number
    std::array<std::string, 7> texts;    // E, fcp, fct, ecpm, ectm, a, b as in the combination table
};

// "Najdi nejvýstižnější kombinaci": the smallest summed deviation (strictly less,
// from 10 000 000; the lowest row wins ties) and the two comparison curves (test red,
// combination blue, both from the origin).
BestFit findBestFit(const std::string& pointCountText, const GridTable& list, const GridTable& combinations,
                    const GridTable& diagram, const GridTable& moments, LineSeries& testCurve,
                    LineSeries& combinationCurve, char decimalSeparator);

}  // namespace prurez
