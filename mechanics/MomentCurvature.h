#pragma once
// The moment–curvature run of a section: the curvature is stepped by Δκ, the neutral
// axis found by equilibrium at every step, and one row of values (prurez/Section.h) is
// produced per step until the section crushes or tears.

#include "common/FloatingPoint.h"
#include "common/WorkControl.h"
#include "mechanics/NeutralAxisScan.h"
#include "prurez/Section.h"

#include <optional>

namespace prurez {

// The largest number of curvature steps (a 16-bit step counter).
inline constexpr int maximumCurvatureSteps = 65535;

// The step driver shared by the section analyses. `section` offers
//   static constexpr bool startsAtZeroCurvature  — the first row at κ = 0 (else at Δκ),
//   std::optional<SectionRow> balanceAt(κ, options) — the balanced state, none when no
//                                                     position balances,
//   std::optional<RunEnd> limitPassed(row)          — the end a row has reached, if any;
// `onRow(index, row)` receives the rows 1, 2, … in order. A stop asked through the
// options' work control is looked at before every step and inside long scans.
template <class Section, class OnRow>
RunOutcome runMomentCurvature(const Section& section, long double kappaStep, const ScanOptions& options,
                              OnRow&& onRow)
{
    long double kappa = Section::startsAtZeroCurvature ? -kappaStep : 0.0L;
    for (int index = 1;; ++index) {
        if (index > maximumCurvatureSteps)
            return {RunEnd::tooManySteps, kappa, index - 1};
        if (stopRequested(options.work))
            return {RunEnd::cancelled, kappa, index - 1};
        kappa = kappa + kappaStep;
        std::optional<SectionRow> row;
        try {
            row = section.balanceAt(kappa, options);
        } catch (const Cancelled&) {
            return {RunEnd::cancelled, kappa, index - 1};
        }
        if (!row)
            return {RunEnd::noEquilibrium, kappa, index - 1};
        onRow(index, *row);
        if (const std::optional<RunEnd> end = section.limitPassed(*row))
            return {*end, kappa, index};
    }
}

}  // namespace prurez
