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
RefinedFit refineBestFit(const BeamTexts& beam, const GridTable& diagram, const GridTable& combinations, int bestRow,
                         const CombinationTexts& ranges, char decimalSeparator,
                         const RefinementRunControl& control = RefinementRunControl());

}  // namespace prurez
