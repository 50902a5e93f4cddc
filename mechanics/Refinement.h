#pragma once
// The refinement of the inverse analysis's best grid combination: a bounded
// least-squares fit of E, fct, εtm, a and b to the moments of the test, starting from
// the best combination of the grid, each parameter kept inside its range, fcp held.
//
// The fitted function. MomentAtCurvature accepts the first 10 µm position whose forces
// balance within 1 kN, so its moment is a fine staircase in the parameters, which no
// derivative can follow. The fit works on a smooth stand-in built from the same law
// and resultants (continuousFibreLaw, fibreTrial): the neutral axis is the depth where
// FT + FP reaches −1 kN, the edge of the balance window the scan enters (found by
// Newton's method on dFT/dx + dFP/dx = −w·(σt + σc), kept inside a bisection
// bracket), moved on by half a scan step, the mean of the positions the scan accepts.
// The stand-in misses the scan's moment by at most the change over half a step. With
// ScanOptions::exactEquilibrium (RefinementProblem::scan) the moments fitted are those
// of exact equilibrium: the depth where FT + FP = 0, not moved.
//
// The method. Levenberg–Marquardt on the residuals M − Mtest of the stand-in, with
// each parameter mapped onto [0, 1] over its range, forward-difference Jacobians,
// Marquardt's scaling, and steps projected onto the box (a parameter at a limit whose
// gradient points outwards is left out of the step). A handful of parameters and
// test points make the linear algebra trivial; the cost is the moments, a few trials
// of the law each (Newton starts from the point's previous root).
//
// What the moments cannot tell. Beyond εt1 the tension law is the gentle line
// σ = (1 − a)·fct − S·(ε − εt1), S = (1 − a − b)·fct / (εtu − εt1), continued beyond
// εtu: b and εtu enter the moments only through the slope S, whatever the strains.
// The fit therefore holds b at its grid value and fits εtm, which then carries S.
// Should εtm end pressed against a limit of its range, it is held there and b is
// fitted instead. When no test point strains the tensioned face beyond εt1, neither
// of them shows and both keep their grid values.
//
// The refined values are held as the rest of the program holds them: E and fct
// rounded to 4 decimals (the section analysis reads them as fixed-point values),
// a and b to single precision, εtm as computed; a value that rounding would take
// outside its range, or that ended at a limit, is the limit itself.

#include "common/FloatingPoint.h"
#include "mechanics/Combinations.h"
#include "mechanics/MomentAtCurvature.h"
#include "mechanics/NeutralAxisScan.h"

#include <array>
#include <vector>

namespace prurez {

// The most steps of the fit (two stages of at most 100 iterations).
inline constexpr int refinementStepCount = 200;

// The varied parameters in the grid's order (that of the value table).
enum FitParameter { fitE, fitFct, fitEctm, fitA, fitB };

// E [MPa], fct [MPa], εtm [%], a, b.
using FitValues = std::array<long double, gridParameterCount>;

// A parameter's range; a range typed from the larger value down is the same interval.
struct FitRange {
    long double low = 0;
    long double high = 0;
};

struct RefinementProblem {
    BeamSection beam;
    long double fcp = 0;                   // [MPa], held
    std::vector<Single> curvatures;        // κ of each test point [1/m]
    std::vector<long double> testMoments;  // M of each test point [kNm]
    FitValues start{};                     // the best grid combination
    std::array<FitRange, gridParameterCount> ranges{};
    ScanOptions scan;                      // for the balanced positions judged at the end
};


struct Refinement {
    FitValues values{};                             // the refined values, held as described above
    std::array<bool, gridParameterCount> kept{};     // the start value itself (not moved by the fit)
    // The limit that holds the fit back: −1 the lower, +1 the upper, 0 none.
    std::array<int, gridParameterCount> limitSide{};
    // Some test point strains the tensioned face beyond εt1 at the refined values: the
    // moments show the slope of the gentle branch (never b and εtm apart).
    bool gentleBranchReached = false;
    // The slope was carried by b, εtm being held (at a limit of its range, or fixed by a
    // range of no width); otherwise by εtm, b held at its grid value.
    bool slopeCarriedByB = false;
    long long momentEvaluations = 0;
};

// The fibre parameters of a combination as MomentAtCurvature takes them (εtu = εtm·0.01,
// a and b single).
FibreParameters fibreParametersOf(long double fcp, const FitValues& values);

// The slope of the gentle branch, (1 − a − b)·fct / (εtu − εt1) [MPa], of the law as the
// inverse analysis holds it.
long double gentleSlope(const FibreParameters& parameters);

// True when, at the position MomentAtCurvature accepts, some curvature strains the
// tensioned face beyond εt1. A curvature without balance counts as not.
bool gentleBranchReached(const BeamSection& beam, const FibreParameters& parameters,
                         const std::vector<Single>& curvatures, const ScanOptions& options = ScanOptions());

// Runs the fit. Its moments are evaluated with the floating-point flags cleared and
// cleared again afterwards; a combination whose moments cannot be formed (a fault, no
// balance) is never accepted as a step. The work control of the problem's scan options
// is told each step of the fit (the step from 0, and the most steps there can be) and
// at the end both equal; a stop asked through it throws Cancelled.
Refinement refineFit(const RefinementProblem& problem);

}  // namespace prurez
