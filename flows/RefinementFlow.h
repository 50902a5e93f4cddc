#pragma once
// The refinement of the best fit of the inverse analysis beyond the grid (see
// mechanics/Refinement.h for the method): one call for the windows and the batch tool.

#include "flows/GridTable.h"
#include "flows/InverseFlow.h"
#include "mechanics/NeutralAxisScan.h"

#include <array>
#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace prurez {

struct RefinementRunControl {
    ScanOptions scan;
    // Called from the calling thread before each step of the fit with the step and the
    // most steps there can be, and at the end with both equal.
    std::function<void(int step, int stepCount)> progress;
    // Set from outside to stop (the fit and its scans); the refinement then throws
    // Failure with the cancellation message. `scan.cancel` is not read.
    const std::atomic<bool>* cancel = nullptr;
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
    std::vector<std::string> curvatures;  // the test curvatures (the diagram's texts)
    std::vector<std::string> moments;     // the result's moment at each, as the moment table writes it
    long long momentEvaluations = 0;      // of the fit and of the reported moments
};

// "Zpřesnit nalezenou kombinaci": refines the combination `bestRow` of the table
// (as findBestFit chose it) within the ranges of `ranges` (fcp, ecpm and n are not
// read) against the test diagram. The moments and summed deviations reported are those
// computeCombinationMoments and computeDeviations give for the texts reported. A text
// that is not a number, a floating-point fault in the best combination or an unknown
// row throws Failure.
RefinedFit refineBestFit(const BeamTexts& beam, const GridTable& diagram, const GridTable& combinations, int bestRow,
                         const CombinationTexts& ranges, char decimalSeparator,
                         const RefinementRunControl& control = RefinementRunControl());

}  // namespace prurez
