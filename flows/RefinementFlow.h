#pragma once
// The refinement of the best fit of the inverse analysis beyond the grid (see
// mechanics/Refinement.h for the method): one call for the windows and the batch tool.

#include "flows/GridTable.h"
#include "flows/InverseFlow.h"
#include "mechanics/NeutralAxisScan.h"

#include <array>
#include <string>
#include <vector>

namespace prurez {

struct RefinementRunControl {
    // `scan.work` is told each step of the fit (the step and the most steps there can
    // be) and at the end both equal; a stop asked through it ends the refinement with
    // Cancelled.
    ScanOptions scan;
};

// "Zpřesnit nalezenou kombinaci": refines the combination `bestRow` of the table
// (as findBestFit chose it) within the ranges of `ranges` (fcp, ecpm and n are not
// read) against the test diagram. The moments and summed deviations reported are those
// computeCombinationMoments and computeDeviations give for the texts reported. A text
// that is not a number, a floating-point fault in the best combination or an unknown
// row throws Failure; a stop asked throws Cancelled.
RefinedFit refineBestFit(const BeamTexts& beam, const TextTable& diagram, const TextTable& combinations, int bestRow,
                         const CombinationTexts& ranges, char decimalSeparator,
                         const RefinementRunControl& control = RefinementRunControl());

// The curve of a fit's moments at its curvatures, from the origin.
LineSeries fitCurve(const RefinedFit& fit, char decimalSeparator, std::uint32_t colour);

// A bending test a fit is judged against: its beam's texts (h, w and the point count)
// and its moment–curvature table.
struct FittedTest {
    const BeamTexts* beam = nullptr;
    const TextTable* diagram = nullptr;
};

// The same for several tests of one beam at once (a test series): one set of values
// for all, minimising the sum of their summed deviations. The sums reported are those
// sums, the tests' summed deviations (each formed as for a single test) added from 0 in
// the tests' order; the curvatures and moments are those of each test in turn. The
// height and the width are read from the first test's texts. With one test this is the
// single refinement above.
RefinedFit refineBestFit(const std::vector<FittedTest>& tests, const TextTable& combinations, int bestRow,
                         const CombinationTexts& ranges, char decimalSeparator,
                         const RefinementRunControl& control = RefinementRunControl());

}  // namespace prurez
