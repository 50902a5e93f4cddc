#pragma once
// The inverse analysis of steel-fibre-reinforced concrete from a four-point bending
// test, as one session: the test points → the test's moment–curvature → every
// combination of five parameters of the fibre-concrete law on a grid → the moment of
// each combination at each test curvature → their squared deviations from the test →
// the best-fitting combination → its refinement beyond the grid.
//
// The analysis is defined on texts: every value that passes from one step to the next
// passes through a table cell's text of up to 15 significant digits, so its inputs are
// the texts of its fields (InverseFields) and its results are tables of texts
// (TableTexts), both in the units the fields and the table headers show (forces kN,
// deflections and lengths m, stresses MPa, strains per cent, curvatures 1/m, moments
// kNm, squared deviations kNm²). Only the typed values of the interface follow its one
// unit system (prurez/Section.h): FibreLaw, and fibreMomentAtCurvature.
//
// Each step is a method; a step fails with prurez::Failure (its reason typed, its
// message the program's), and what the step wrote before the failure stays, as in the
// program's windows. The long steps take RunOptions (progress, stop, threads) and end
// as Completion::cancelled when stopped, leaving the session as it was before them.
// Every call keeps the caller's floating-point environment as it was.

#include "prurez/Failure.h"
#include "prurez/Progress.h"

#include <array>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace prurez {

// A table of text cells addressed (column, row), both from 0; row 0 holds the headers.
class TableTexts {
public:
    virtual ~TableTexts() = default;
    virtual int columnCount() const = 0;
    virtual int rowCount() const = 0;
    // An unwritten cell is the empty text.
    virtual std::string cell(int column, int row) const = 0;
    // Rows 0 … rowCount − 1, each row's cells joined by TAB and ended by '\n'.
    virtual void writeTsv(std::ostream& out) const;
};

// ---- the inputs, as typed into the fields

struct TestPointTexts {
    std::string force;       // [kN]
    std::string deflection;  // [m]
};

struct BendingTestTexts {
    std::string E;                 // initial modulus of the test [MPa]
    std::string loadDistance;      // distance a of the loading forces [m]
    std::string sectionDimension;  // section dimension s [m]
};

struct RangeTexts {
    std::string min;
    std::string max;
};

struct CombinationTexts {
    std::string fcp;   // compressive strength [MPa], the same in every combination
    std::string ecpm;  // ultimate compressive strain [%], the same in every combination
    RangeTexts E;      // [MPa]
    RangeTexts fct;    // [MPa]
    RangeTexts ectm;   // [%]
    RangeTexts a;
    RangeTexts b;
    std::string intermediateCount = "0";  // n: each parameter takes n + 2 values
};

struct BeamTexts {
    std::string height;            // section height h [m]
    std::string width;             // section width [m]
    std::string pointCount = "0";  // number of test points p
};

// The texts the steps read: those of the input window's fields, and its choice of
// exact equilibrium for the moments and the refinement (see RunOptions).
struct InverseFields {
    BendingTestTexts test;
    CombinationTexts combinations;
    BeamTexts beam;
    bool exactEquilibrium = false;
};

// A whole input, as prurez-batch reads it from its INPUT file.
struct InverseInput {
    // The test points from a test data file (a path; also an empty one when given, which
    // then names no file), or typed by hand.
    std::string testFile;
    bool testFileGiven = false;
    std::vector<TestPointTexts> points;
    BendingTestTexts test;
    CombinationTexts combinations;
    std::string height;              // section height h [m]
    std::string width;               // section width [m]
    bool exactEquilibrium = false;   // the moments and the refinement in exact equilibrium
};

// ---- typed values, in the unit system of the interface

// The parameters of the fibre-concrete law: E, fcp, fct [MPa]; the ultimate compressive
// strain εcpm and the ultimate tensile strain εtu as fractions; a and b.
struct FibreLaw {
    long double E = 0;
    long double fcp = 0;
    long double fct = 0;
    long double epsCu = 0;
    long double epsTu = 0;
    long double a = 0;
    long double b = 0;
};

// The tested beam's rectangle [m].
struct FibreBeam {
    long double width = 0;
    long double height = 0;
};

// The moment [MNm] the inverse analysis computes for a combination at one curvature
// κ [1/m] (MomentAtCurvature: the neutral axis scanned from mid-height towards the
// compressed face in steps of 0.00001 m until the resultants balance within 1 kN,
// pure bending). The width, the height, κ, a and b are held in single precision. No
// value where no position balances; a floating-point fault fails (E = 0 divides by
// zero, as in a fibre section). Refused: a width or height not above 0
// (dimensionsNotPositive), κ below 0 (curvatureNegative). Of the options, the
// scan's (exhaustive, exact equilibrium): one moment is one short scan, it has no
// progress to tell.
std::optional<long double> fibreMomentAtCurvature(const FibreBeam& beam, const FibreLaw& law, long double kappa,
                                                  const RunOptions& options = RunOptions());

// ---- results

struct BestFit {
    int combination = 0;  // its number (its row in the combination table)
    // E, fcp, fct, ecpm, ectm, a, b as the combination table shows them.
    std::array<std::string, 7> texts;
    std::string sum;  // its summed deviation, as the deviation list shows it
};

struct RefinedFit {
    // E, fcp, fct, ecpm, ectm, a, b as the combination table writes them: fcp and ecpm
    // (and any value the fit left alone) the best combination's own texts.
    std::array<std::string, 7> texts;
    std::string gridSum;     // the best combination's summed deviation
    std::string refinedSum;  // the refined combination's
    // False when the fit found no smaller sum: the best combination is the result.
    bool improved = false;
    // The lines to show: each parameter whose range holds the fit back, then what the
    // test leaves undetermined of b and ectm.
    std::vector<std::string> warnings;
    std::vector<std::string> curvatures;  // the test curvatures (the test table's texts)
    std::vector<std::string> moments;     // the result's moment at each, as the moment table writes it
    long long momentEvaluations = 0;      // of the fit and of the reported moments
};

struct InverseState;  // (inside the library) what a session holds

class InverseAnalysis {
public:
    // Number texts are read and written with this decimal separator (',' or '.'); test
    // data files always use the point.
    explicit InverseAnalysis(char decimalSeparator = ',');
    ~InverseAnalysis();
    InverseAnalysis(InverseAnalysis&&) noexcept;
    InverseAnalysis& operator=(InverseAnalysis&&) noexcept;

    char decimalSeparator() const;

    // The texts the steps read, as the fields show them (the windows keep them so).
    InverseFields& fields();
    const InverseFields& fields() const;

    // ---- the test points
    // The count arrow: the point table gets p + 1 rows (p from fields().beam.pointCount,
    // at most 100) and its headers; no value for an empty count.
    std::optional<int> setTestPointCount();
    // Test point `point` (1 … p) typed into the point table; a point outside 1 … 100 is
    // refused (tooManyTestPoints).
    void setTestPoint(int point, const TestPointTexts& texts);
    // Reads a test data file (pairs of force and deflection, decimal points) into the
    // point table and sets the count to the points read; returns it.
    int readTestFile(const std::string& fileName);
    // The same for the content of a test data file read elsewhere.
    int readTestData(const std::string& content);

    // ---- the test's moment–curvature
    // The page change: the points copied into the test table (its curvatures and
    // moments stay until computed again).
    void copyTestPoints();
    // The curvature and moment of every test point. `afterTestValues` runs once E, a
    // and s have been read, before the first point.
    void computeTestDiagram(const std::function<void()>& afterTestValues = {});

    // ---- the grid
    // The value table and every combination of the five parameters.
    void generateCombinations();
    // The moment of every combination at every test curvature. Finished, it forgets the
    // deviations, the best fit and the refinement of earlier moments; a failure keeps
    // the rows written before it (once the first row started), a stop keeps the table
    // as it was. Up to 2^24 moments are kept in memory (16 bytes each); the cells of a
    // larger table are computed again when they are read. The deviations from the test
    // as it now stands are summed on the way, so that computeDeviations takes them.
    Completion computeMoments(const RunOptions& options = RunOptions());
    // The squared deviations of every combination from the test and their sums (found
    // with the moments when the test moments are still those); a stop keeps the
    // deviations as they were.
    Completion computeDeviations(const RunOptions& options = RunOptions());
    // The deviation list (combination number and summed deviation) from the deviations.
    void fillDeviationList();
    // The combination with the smallest summed deviation of the list.
    const BestFit& findBestFit();
    // computeMoments, computeDeviations, fillDeviationList and findBestFit one after
    // another, with the same tables, texts, best fit and failures, but no moment kept in
    // memory (however many combinations there are): the deviations are summed as each
    // combination's moments are computed, and a cell of the tables is computed again
    // when it is read.
    Completion computeBestFit(const RunOptions& options = RunOptions());
    // The best combination refined beyond the grid, within the ranges the combinations
    // were generated from.
    Completion refine(const RunOptions& options = RunOptions());

    // ---- the whole road, in the order a user takes it
    enum class Step { testDiagram, combinations, moments, deviations, bestFit, refinement };
    // What the road keeps of the moment table when it goes on to the best fit: every
    // moment (up to 2^24 of them: fast to read again), or none (computeBestFit: the
    // memory does not grow with the combinations; their cells are computed again when
    // read).
    enum class Tables { kept, notKept };
    // Fills the fields from the input, takes its test points (file or typed), then every
    // step up to `last`. The progress callback is told the moments, the deviations and
    // the refinement as one piece of work.
    Completion run(const InverseInput& input, Step last, const RunOptions& options = RunOptions(),
                   Tables tables = Tables::kept);

    // ---- what the session holds
    const TableTexts& testPoints() const;     // force, deflection
    const TableTexts& testDiagram() const;    // force, deflection, curvature, moment
    const TableTexts& values() const;         // the values of E, fct, ectm, a, b
    const TableTexts& combinations() const;   // number, E, fcp, fct, ecpm, ectm, a, b
    const TableTexts& moments() const;        // number, then (curvature, moment) per test point
    const TableTexts& deviations() const;     // number, the squared deviations, their sum
    const TableTexts& deviationList() const;  // number, summed deviation
    const std::optional<BestFit>& bestFit() const;
    const std::optional<RefinedFit>& refinedFit() const;

    // The law of seven parameter texts (E, fcp, fct, ecpm, ectm, a, b), the strains from
    // per cent to fractions: the typed values of a best or refined fit.
    FibreLaw lawOf(const std::array<std::string, 7>& texts) const;

private:
    friend InverseState& stateOf(InverseAnalysis& session);
    std::unique_ptr<InverseState> state_;
};

}  // namespace prurez
