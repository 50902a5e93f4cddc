#pragma once
// A test series: several bending tests of one fibre concrete (specimens of one mix,
// beams of one size tested alike), each fitted on its own and all together, and the
// statistics a design takes from them.
//
// Each specimen is one inverse analysis (prurez/InverseAnalysis.h) of its own test data
// file over the same grid of combinations: its test moment–curvature, the grid's best
// combination and its refinement. The joint fit is one set of the five parameters for
// the whole series: the combination whose sum of the specimens' summed deviations is
// the smallest (each specimen's deviations formed as its own analysis forms them; the
// sums added from 0 in the specimens' order; ties and the bound of 10 000 000 as for one
// test), refined as one test's best fit is, against the moments of every specimen at
// once. The statistics are those of the specimens' refined values.
//
// Like the inverse analysis it is defined on texts: its results are the texts the
// tables show (strains in per cent, the slope S in MPa). A failure of a specimen's
// analysis fails the series with that analysis's reason and message, which names the
// specimen when there are several.

#include "prurez/InverseAnalysis.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace prurez {

// A specimen's test data file.
struct SpecimenFile {
    std::string name;  // as the input names it (the tables show it so)
    std::string path;  // where it is read from
};

// A series as prurez-batch reads it from an INPUT with one `test_file` line per
// specimen: the files, and everything else as one inverse analysis takes it.
struct SeriesInput {
    std::vector<SpecimenFile> specimens;
    // The bending test's values, the beam, the fixed values, the ranges, n. With no
    // specimen files given, its own test points (a file or typed points) are the one
    // specimen.
    InverseInput common;
};

// A specimen's fit: what its inverse analysis found.
struct SpecimenFit {
    std::string name;
    BestFit best;        // the grid's best combination, its texts and summed deviation
    RefinedFit refined;  // its refinement (texts, sums, notes, the moments at its curvatures)
};

// The statistics of one quantity over the specimens' refined values, as the table
// shows them; an empty text where the value is not defined.
struct QuantityStatistics {
    std::string name;                 // E, fct, ectm, a, b, S
    std::string mean;
    std::string standardDeviation;    // with n − 1, from two specimens on
    std::string variation;            // coefficient of variation s / mean, where the mean is above zero
    std::string characteristic;       // Xk = mean · (1 − kn · V), from three specimens on
};

struct SeriesStatistics {
    int specimenCount = 0;
    std::string fractileFactor;  // kn, empty below three specimens
    std::array<QuantityStatistics, 6> quantities;
    // How the characteristic values are formed (kn, its table and its interpolation),
    // one line.
    std::string method;
    // The lines said under the table: fewer than three specimens give no characteristic
    // values, and why.
    std::vector<std::string> notes;
};

struct SeriesState;  // (inside the library) what a series holds

class TestSeries {
public:
    // Number texts are read and written with this decimal separator (',' or '.').
    explicit TestSeries(char decimalSeparator = ',');
    ~TestSeries();
    TestSeries(TestSeries&&) noexcept;
    TestSeries& operator=(TestSeries&&) noexcept;

    char decimalSeparator() const;

    // Fits every specimen, then the series. The progress callback is told the whole
    // work (each specimen's moments, deviations and refinement, then the joint
    // refinement). A stop ends it as cancelled and a failure throws, both leaving the
    // series as it was before.
    Completion run(const SeriesInput& input, const RunOptions& options = RunOptions());

    // ---- what the series holds (empty before a run)
    int specimenCount() const;
    const SpecimenFit& specimen(int index) const;  // 0 … specimenCount − 1
    // The test's moment–curvature of a specimen: force, deflection, curvature, moment.
    const TableTexts& testDiagram(int index) const;
    // The joint fit: the grid's combination whose sum of summed deviations is the
    // smallest (its sum that sum), and its refinement (its sums those sums, its
    // curvatures and moments every specimen's in turn).
    const std::optional<BestFit>& jointBest() const;
    const std::optional<RefinedFit>& jointRefined() const;
    const SeriesStatistics& statistics() const;

    // The tables as the windows show them and prurez-batch prints them, the headers in
    // row 0:
    // specimen, combination, E, fcp, fct, ecpm, ectm, a, b, summed deviation (grid best)
    const TableTexts& specimenTable() const;
    // specimen, E, fcp, fct, ecpm, ectm, a, b, summed deviation (refined)
    const TableTexts& refinedTable() const;
    // E, fcp, fct, ecpm, ectm, a, b, sum of the summed deviations (joint, refined)
    const TableTexts& jointTable() const;
    // quantity, mean, standard deviation, coefficient of variation, characteristic value
    const TableTexts& statisticsTable() const;

    // The law of seven parameter texts (E, fcp, fct, ecpm, ectm, a, b), as
    // InverseAnalysis::lawOf gives it.
    FibreLaw lawOf(const std::array<std::string, 7>& texts) const;

private:
    friend SeriesState& stateOf(TestSeries& series);
    std::unique_ptr<SeriesState> state_;
};

}  // namespace prurez
