#pragma once
// What an inverse analysis session holds (prurez/InverseAnalysis.h), for the windows,
// which edit its tables in place and draw its curves.

#include "flows/InverseFlow.h"
#include "flows/LineSeries.h"
#include "prurez/InverseAnalysis.h"

#include <optional>

namespace prurez {

struct InverseState {
    char separator = ',';
    InverseFields fields;
    InverseTables tables;
    CombinationTexts generatedRanges;  // the ranges the combinations were last generated from
    LineSeries testCurve;              // the test's moment–curvature (origin, then each point)
    // The comparison of the best fit (and of its refinement) with the test.
    LineSeries comparedTestCurve;
    LineSeries combinationCurve;
    LineSeries refinedCurve;
    std::optional<BestFit> best;
    std::optional<RefinedFit> refined;
};

InverseState& stateOf(InverseAnalysis& session);

// The fields of an input: the bending test, the ranges and n, the beam's height and
// width and the exact-equilibrium choice (the test points are not fields).
void setInputFields(InverseFields& fields, const InverseInput& input);
// The same fields the other way: the input of what the fields hold.
void getInputFields(InverseInput& input, const InverseFields& fields);

}  // namespace prurez
