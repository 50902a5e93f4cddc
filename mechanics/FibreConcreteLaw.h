#pragma once
// The stress–strain law of steel-fibre-reinforced concrete, shared by the section
// analysis of fibre concrete and by the moment of the inverse analysis:
//
// - compression, bilinear: σ = E·ε up to εc0 = fcp/E, then fcp without limit;
// - tension, three branches: σ = E·ε up to εt0 = fct/E; a steep fall (slope −E) from
//   fct to (1 − a)·fct at εt1 = (1 + a)·εt0; then a gentle line from (1 − a)·fct to
//   b·fct at εtu, continued beyond εtu without cut-off.
//
// Strains and stresses follow the sign convention of ConcreteLaws.h. The resultants
// are integrated piece by piece over a rectangle of width w. The two
// callers hold the law's values differently: the section analysis holds the strain
// limits, the lever arms, the softened depths and the stress excesses in single
// precision and reads the strengths and the modulus from fixed-point values; the
// inverse analysis holds everything in extended precision. The law takes its values as
// they are held, and `singleIntermediates` says how its own intermediates are held.

#include "common/FixedPoint.h"
#include "common/FloatingPoint.h"

namespace prurez {

struct FibreConcreteLaw {
    long double E = 0;    // modulus of elasticity [MPa]
    long double fcp = 0;  // compressive strength [MPa]
    long double fct = 0;  // tensile strength [MPa]
    long double a = 0;    // coefficient of the steep loss of strength (a single value)
    long double b = 0;    // coefficient of the residual strength (a single value)
    long double ec0 = 0;  // end of the elastic compression branch
    long double et0 = 0;  // end of the elastic tension branch
    long double et1 = 0;  // end of the steep softening branch
    long double etu = 0;  // ultimate tensile strain (the gentle branch reaches b·fct there)
    // True: the lever arms, the softened depths s and the stress excesses e, e2 are
    // stored in single precision (the section analysis). False: extended (the inverse
    // analysis).
    bool singleIntermediates = false;
    // Exact equilibrium: the softened depths s and the stress excesses e, e2, which
    // enter the resultant, kept extended even where singleIntermediates holds the
    // arms single, so that the resultant is continuous in the depth.
    bool continuousForces = false;
};

// The law as the section analysis holds it: E, fcp, fct fixed-point; εc0 = fcp/E and
// εt0 = fct/E as ratios of the raw values, εt1 = fct/E + (a·fct)/E, all three stored
// in single precision; a and b single; εtu extended.
FibreConcreteLaw sectionFibreLaw(Fixed E, Fixed fcp, Fixed fct, Single a, Single b, long double etu);

// The law as the inverse analysis holds it: E, fcp, fct, εtu extended, a and b single,
// εc0 = fcp/E, εt0 = fct/E, εt1 = fct/E + a·fct/E in extended precision.
FibreConcreteLaw extendedFibreLaw(long double E, long double fcp, long double fct, Single a, Single b,
                                  long double etu);

// The same law with a and b not held single: for a fit that varies them more finely
// than single precision resolves (extendedFibreLaw is this law of the single values).
FibreConcreteLaw continuousFibreLaw(long double E, long double fcp, long double fct, long double a, long double b,
                                    long double etu);

// The stress at a compressive strain: E·ε up to εc0, then fcp without limit.
long double fibreCompressionStress(const FibreConcreteLaw& law, long double strain);
// The stress at a tensile strain: E·ε up to εt0, the steep branch down to (1 − a)·fct
// at εt1, then the gentle line through b·fct at εtu and on.
long double fibreTensionStress(const FibreConcreteLaw& law, long double strain);

// A resultant of one zone: its force [MN], its lever arm from the neutral axis [m] and
// the stress at the zone's face [MPa, positive].
struct FibreStressBlock {
    long double force = 0;
    long double arm = 0;
    long double faceStress = 0;
};

// The compression zone of depth x at curvature kappa, face strain epsh = x·κ. The
// force is FP ≤ 0. Above εc0 the plateau depth divides by κ (formed only there).
FibreStressBlock fibreCompression(const FibreConcreteLaw& law, long double w, long double x, long double epsh,
                                  long double kappa);

// The tension zone of depth xt at curvature kappa, face strain epsd = xt·κ. The force
// is FT ≥ 0 (below zero only where the gentle line runs below zero far beyond εtu).
FibreStressBlock fibreTension(const FibreConcreteLaw& law, long double w, long double xt, long double epsd,
                              long double kappa);

// One trial position of the neutral axis: depth x below the compressed face of a
// w × h rectangle at curvature kappa.
struct FibreTrial {
    long double x = 0;
    long double xt = 0;    // h − x
    long double epsh = 0;  // x·κ, compressed face
    long double epsd = 0;  // xt·κ, tensioned face
    FibreStressBlock compression;  // FP, zc, |sigh|
    FibreStressBlock tension;      // FT, zt, sigd
};
FibreTrial fibreTrial(const FibreConcreteLaw& law, long double w, long double h, long double kappa, long double x);

// The zones of a w-wide rectangle at one curvature, for the trials of one scan: the
// pieces of the resultants that do not depend on where the neutral axis lies (the
// elastic triangles, the steep band, the depths that divide by κ) are formed once, at
// their first use and with the very operations of a single trial, so that every trial
// gives the numbers fibreCompression and fibreTension give (κ = 0 divides by nothing).
// forget() drops what was formed, so that a scan run again forms it again (and raises
// again any fault it raised).
class FibreAtCurvature {
public:
    FibreAtCurvature(const FibreConcreteLaw& law, long double w, long double kappa) : law_(law), w_(w), kappa_(kappa)
    {
    }
    FibreStressBlock compression(long double x, long double epsh) const { return compressionBlock<true>(x, epsh); }
    FibreStressBlock tension(long double xt, long double epsd) const { return tensionBlock<true>(xt, epsd); }
    FibreTrial trial(long double h, long double x) const;
    // FT + FP of trial(h, x), the same number, without the arms and face stresses (a
    // search judges a position by it).
    long double forceSum(long double h, long double x) const;
    void forget() { plateau_.ready = cracked_.ready = steep_.ready = band_.ready = gentle_.ready = false; }

private:
    // The resultant of a zone; without `whole`, its force alone (the arm and the face
    // stress left at 0).
    template <bool whole>
    FibreStressBlock compressionBlock(long double x, long double epsh) const;
    template <bool whole>
    FibreStressBlock tensionBlock(long double xt, long double epsd) const;

    const FibreConcreteLaw& law_;
    long double w_;
    long double kappa_;
    // Beyond εc0: the elastic triangle above the plateau.
    mutable struct {
        bool ready = false;
        long double xc0, triangle, triangleArm;
    } plateau_;
    // Beyond εt0: the elastic triangle below the neutral axis.
    mutable struct {
        bool ready = false;
        long double xe, elastic, elasticArm, elasticMoment;
    } cracked_;
    // The constants of the steep branch.
    mutable struct {
        bool ready = false;
        long double aFct, steepSpan, floorStress, floorStressW;
    } steep_;
    // Beyond εt1, before the division by εtu − εt1: the depths of the steep band.
    mutable struct {
        bool ready = false;
        long double x1, bandEnd;
    } band_;
    // Beyond εt1, after it: the steep band's pieces and the gentle line's constants.
    mutable struct {
        bool ready = false;
        long double gentleSpan, gentleExcess, residualW, forceBefore, momentBefore;
    } gentle_;
};

}  // namespace prurez
