#pragma once
// The moment–curvature run of a section: the curvature is stepped by Δκ, the neutral
// axis found by equilibrium at every step, and one row of values is produced per step
// until the section crushes or tears.

#include "common/FloatingPoint.h"
#include "mechanics/NeutralAxisScan.h"
#include "mechanics/SectionInput.h"

#include <optional>
#include <vector>

namespace prurez {

// The balanced state of a section at one curvature. Forces in MN, moments in MNm,
// stresses in MPa; strains are fractions, positive as each column is named.
struct SectionRow {
    long double kappa = 0;        // curvature [1/m]
    long double moment = 0;       // about the neutral axis
    long double x = 0;            // depth of the compression zone [m]
    long double topStress = 0;    // concrete at the top edge (fibre concrete: negative in compression)
    long double bottomStress = 0; // concrete at the bottom edge
    long double topStrain = 0;    // concrete at the top edge, positive in compression
    long double bottomStrain = 0; // concrete at the bottom edge, positive in tension
    long double tension = 0;      // concrete resultant FT ≥ 0
    long double compression = 0;  // concrete resultant FP ≤ 0
    // Reinforced concrete: the bars (top strain positive in compression, bottom strain
    // positive in tension; forces positive in tension) and whether the concrete's
    // bottom edge has reached its ultimate tensile strain.
    long double topBarStress = 0;
    long double bottomBarStress = 0;
    long double topBarStrain = 0;
    long double bottomBarStrain = 0;
    long double topBarForce = 0;
    long double bottomBarForce = 0;
    bool cracked = false;
    // The moment of all the section's forces about mid-height, the moment an axial force
    // acting at mid-height meets (the interaction diagram's); the same as `moment` when
    // the forces sum to zero.
    long double midHeightMoment = 0;

    // The compressive and the tensile force of the whole section.
    long double compressiveForce() const { return compression + topBarForce; }
    long double tensileForce() const { return tension + bottomBarForce; }
};

// Why a run ended.
enum class RunEnd {
    crushed,        // the top edge passed εcu
    torn,           // the concrete's bottom edge passed εtu (plain and fibre concrete)
    steelTorn,      // the bottom bars passed εsu (reinforced concrete)
    noEquilibrium,  // no depth of the neutral axis balances the forces at the curvature
    tooManySteps,   // more steps than the 16-bit step counter holds
    cancelled,      // stopped from outside (ScanOptions::cancel)
};

struct RunOutcome {
    RunEnd end = RunEnd::crushed;
    long double kappa = 0;  // the curvature at which the run ended
    int rows = 0;           // rows produced, the last one past a limit when one was passed
};

// The largest number of curvature steps (a 16-bit step counter).
inline constexpr int maximumCurvatureSteps = 65535;

// The step driver shared by the section analyses. `section` offers
//   static constexpr bool startsAtZeroCurvature  — the first row at κ = 0 (else at Δκ),
//   std::optional<SectionRow> balanceAt(κ, options) — the balanced state, none when no
//                                                     position balances,
//   std::optional<RunEnd> limitPassed(row)          — the end a row has reached, if any;
// `onRow(index, row)` receives the rows 1, 2, … in order. The cancel flag of the
// options is looked at before every step and inside long scans.
template <class Section, class OnRow>
RunOutcome runMomentCurvature(const Section& section, long double kappaStep, const ScanOptions& options,
                              OnRow&& onRow)
{
    long double kappa = Section::startsAtZeroCurvature ? -kappaStep : 0.0L;
    for (int index = 1;; ++index) {
        if (index > maximumCurvatureSteps)
            return {RunEnd::tooManySteps, kappa, index - 1};
        if (options.cancel != nullptr && options.cancel->load())
            return {RunEnd::cancelled, kappa, index - 1};
        kappa = kappa + kappaStep;
        std::optional<SectionRow> row;
        try {
            row = section.balanceAt(kappa, options);
        } catch (const ScanCancelled&) {
            return {RunEnd::cancelled, kappa, index - 1};
        }
        if (!row)
            return {RunEnd::noEquilibrium, kappa, index - 1};
        onRow(index, *row);
        if (const std::optional<RunEnd> end = section.limitPassed(*row))
            return {*end, kappa, index};
    }
}

// A whole diagram: every row and how the run ended.
struct MomentCurvatureDiagram {
    std::vector<SectionRow> rows;
    RunOutcome outcome;
};

// The moment–curvature diagram of a section with the curvature step Δκ (> 0). A
// floating-point fault throws Failure.
MomentCurvatureDiagram momentCurvature(const SectionInput& input, Single kappaStep,
                                       const ScanOptions& options = ScanOptions());

}  // namespace prurez
