#pragma once
// What a test series holds (prurez/Series.h), for the windows, which draw its curves.

#include "flows/GridTable.h"
#include "flows/LineSeries.h"
#include "prurez/Series.h"

#include <optional>
#include <vector>

namespace prurez {

struct SeriesSpecimen {
    SpecimenFit fit;
    // Its inverse analysis: the fields, the test's moment–curvature and curves; its grid
    // tables are not kept once its fit is found.
    InverseAnalysis session;
    LineSeries testCurve;    // the test (origin, then each point)
    LineSeries fittedCurve;  // its refined fit at its curvatures (origin, then each)
};

struct SeriesState {
    char separator = ',';
    std::vector<SeriesSpecimen> specimens;
    std::optional<BestFit> jointBest;
    std::optional<RefinedFit> jointRefined;
    LineSeries jointCurve;  // the joint fit at every specimen's curvatures (origin, then each)
    SeriesStatistics statistics;
    GridTable specimenTable{10, 1};
    GridTable refinedTable{9, 1};
    GridTable jointTable{8, 1};
    GridTable statisticsTable{5, 1};
};

SeriesState& stateOf(TestSeries& series);

}  // namespace prurez
