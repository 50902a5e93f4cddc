#pragma once
// The moment of a fibre-concrete rectangle in pure bending at one curvature: the
// neutral axis scanned down from mid-height in steps of 0.00001 m until the
// resultants balance within 1 kN, then M = −FP·(zc + zt)·1000 [kNm].

#include <optional>

namespace prurez {

struct MomentScanOptions {
    // The plain fixed-step scan, trial by trial.
    bool exhaustiveScan = false;
};

// w, h [m], a, b and kappa [1/m] are the single-precision values of the inputs;
// E, fcp, fct [MPa] and etu (a fraction) are extended. The strains εt0 = fct/E,
// εc0 = fcp/E and εt1 = fct/E + a·fct/E are derived inside, in extended precision.
// Returns no value when no position between mid-height and the compressed face
// balances. A floating-point fault throws Failure.
std::optional<long double> MomentAtCurvature(long double w, long double h, long double E, long double fcp,
                                             long double fct, long double a, long double b, long double etu,
                                             long double kappa, const MomentScanOptions& options = MomentScanOptions());

}  // namespace prurez
