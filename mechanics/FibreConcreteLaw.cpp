#include "mechanics/FibreConcreteLaw.h"

#include "common/FloatingPoint.h"

namespace prurez {

namespace {

// The lever arms, softened depths and stress excesses, held in single precision where
// the caller asks for it.
inline long double hold(const FibreConcreteLaw& law, long double v) { return law.singleIntermediates ? single(v) : v; }

// The softened depths and stress excesses: as hold(), extended for exact equilibrium.
inline long double holdPiece(const FibreConcreteLaw& law, long double v)
{
    return law.continuousForces ? v : hold(law, v);
}

}  // namespace

FibreConcreteLaw sectionFibreLaw(Fixed E, Fixed fcp, Fixed fct, Single a, Single b, long double etu)
{
    FibreConcreteLaw law;
    law.E = E.value();
    law.fcp = fcp.value();
    law.fct = fct.value();
    law.a = a;
    law.b = b;
    law.ec0 = single(ratio(fcp, E));
    law.et0 = single(ratio(fct, E));
    law.et1 = single(ratio(fct, E) + a * law.fct / law.E);
    law.etu = etu;
    law.singleIntermediates = true;
    return law;
}

FibreConcreteLaw extendedFibreLaw(long double E, long double fcp, long double fct, Single a, Single b,
                                  long double etu)
{
    return continuousFibreLaw(E, fcp, fct, a, b, etu);
}

FibreConcreteLaw continuousFibreLaw(long double E, long double fcp, long double fct, long double a, long double b,
                                    long double etu)
{
    FibreConcreteLaw law;
    law.E = E;
    law.fcp = fcp;
    law.fct = fct;
    law.a = a;
    law.b = b;
    law.et0 = fct / E;
    law.ec0 = fcp / E;
    law.et1 = fct / E + a * fct / E;
    law.etu = etu;
    law.singleIntermediates = false;
    return law;
}

long double fibreCompressionStress(const FibreConcreteLaw& law, long double strain)
{
    return strain <= law.ec0 ? law.E * strain : law.fcp;
}

long double fibreTensionStress(const FibreConcreteLaw& law, long double strain)
{
    const long double fct = law.fct;
    if (strain <= law.et0)
        return law.E * strain;
    if (strain <= law.et1)
        return (1.0L - law.a) * fct + law.a * fct * (law.et1 - strain) / (law.et1 - law.et0);
    return law.b * fct + (1.0L - law.a - law.b) * fct * (1.0L - (strain - law.et1) / (law.etu - law.et1));
}

template <bool whole>
FibreStressBlock FibreAtCurvature::compressionBlock(long double x, long double epsh) const
{
    const FibreConcreteLaw& law = law_;
    const long double w = w_;
    FibreStressBlock block;
    if (epsh <= law.ec0) {
        // The section analysis writes −0.5·epsh·E·w·x, the inverse analysis −(0.5·E·epsh·w·x):
        // halving is exact, so (0.5·epsh)·E and (0.5·E)·epsh are the same number.
        block.force = -(0.5L * epsh * law.E * w * x);
        if (whole) {
            block.arm = hold(law, 2.0L / 3.0L * x);
            block.faceStress = law.E * epsh;
        }
        return block;
    }
    if (!plateau_.ready) {
        plateau_.xc0 = law.ec0 / kappa_;
        plateau_.triangle = 0.5L * law.fcp * w * plateau_.xc0;
        plateau_.triangleArm = hold(law, 2.0L / 3.0L * plateau_.xc0);
        plateau_.ready = true;
    }
    const long double xc0 = plateau_.xc0;
    const long double triangle = plateau_.triangle;
    const long double plateau = law.fcp * w * (x - xc0);
    // Divided by F1 + F2 (the section analysis) or by −FP (the inverse analysis): the
    // same number, FP being the negated sum.
    const long double sum = triangle + plateau;
    block.force = -sum;
    if (whole) {
        const long double plateauArm = hold(law, xc0 + (x - xc0) / 2.0L);
        block.arm = hold(law, (triangle * plateau_.triangleArm + plateau * plateauArm) / sum);
        block.faceStress = law.fcp;
    }
    return block;
}

template <bool whole>
FibreStressBlock FibreAtCurvature::tensionBlock(long double xt, long double epsd) const
{
    const FibreConcreteLaw& law = law_;
    const long double w = w_;
    FibreStressBlock block;
    const long double a = law.a;
    const long double b = law.b;
    const long double fct = law.fct;
    if (epsd <= law.et0) {
        block.force = 0.5L * epsd * law.E * w * xt;
        if (whole) {
            block.arm = hold(law, 2.0L / 3.0L * xt);
            block.faceStress = law.E * epsd;
        }
        return block;
    }
    if (!cracked_.ready) {
        cracked_.xe = law.et0 / kappa_;  // end of the elastic part below the neutral axis
        cracked_.elastic = 0.5L * fct * w * cracked_.xe;
        cracked_.elasticArm = hold(law, 2.0L / 3.0L * cracked_.xe);
        cracked_.elasticMoment = cracked_.elastic * cracked_.elasticArm;
        cracked_.ready = true;
    }
    const long double xe = cracked_.xe;
    const long double elastic = cracked_.elastic;
    if (epsd <= law.et1) {
        // The steep branch reaches the face: four pieces over the softened depth s.
        if (!steep_.ready) {
            steep_.aFct = a * fct;
            steep_.steepSpan = law.et1 - law.et0;
            steep_.floorStress = (1.0L - a) * fct;
            steep_.floorStressW = steep_.floorStress * w;
            steep_.ready = true;
        }
        const long double s = holdPiece(law, xt - xe);
        const long double e = holdPiece(law, steep_.aFct * (law.et1 - epsd) / steep_.steepSpan);
        const long double floor = steep_.floorStressW * s;
        const long double excess = e * w * s;
        const long double softening = 0.5L * (steep_.aFct - e) * w * s;
        block.force = elastic + floor + excess + softening;
        if (whole) {
            const long double floorArm = hold(law, xt - s / 2.0L);
            const long double excessArm = hold(law, xt - s / 2.0L);
            const long double softeningArm = hold(law, xe + s / 3.0L);
            block.arm = hold(law, (cracked_.elasticMoment + floor * floorArm + excess * excessArm +
                                   softening * softeningArm) /
                                      block.force);
            block.faceStress = steep_.floorStress + e;
        }
        return block;
    }
    // The steep band is complete; the gentle branch reaches the face: six pieces.
    if (!band_.ready) {
        band_.x1 = (law.et1 - law.et0) / kappa_;
        band_.bandEnd = law.et1 / kappa_;
        band_.ready = true;
    }
    const long double x1 = band_.x1;
    const long double bandEnd = band_.bandEnd;
    const long double s = holdPiece(law, xt - bandEnd);
    const long double along = (epsd - law.et1) / (gentle_.ready ? gentle_.gentleSpan : law.etu - law.et1);
    // εtu = εt1 divides by zero here, before the infinite excess makes the sums invalid.
    checkTrialFaults();
    if (!gentle_.ready) {
        gentle_.gentleSpan = law.etu - law.et1;
        gentle_.gentleExcess = (1.0L - a - b) * fct;
        gentle_.residualW = b * fct * w;
        const long double bandRectangle = (1.0L - a) * fct * w * x1;
        const long double bandRectangleArm = hold(law, xe + x1 / 2.0L);
        const long double bandTriangle = 0.5L * a * fct * w * x1;
        const long double bandTriangleArm = hold(law, xe + x1 / 3.0L);
        gentle_.forceBefore = elastic + bandRectangle + bandTriangle;
        gentle_.momentBefore =
            cracked_.elasticMoment + bandRectangle * bandRectangleArm + bandTriangle * bandTriangleArm;
        gentle_.ready = true;
    }
    const long double e2 = holdPiece(law, gentle_.gentleExcess * (1.0L - along));
    const long double residual = gentle_.residualW * s;
    const long double excess = e2 * w * s;
    const long double gentle = 0.5L * (gentle_.gentleExcess - e2) * w * s;
    block.force = gentle_.forceBefore + residual + excess + gentle;
    if (whole) {
        const long double residualArm = hold(law, bandEnd + s / 2.0L);
        const long double excessArm = hold(law, bandEnd + s / 2.0L);
        const long double gentleArm = hold(law, bandEnd + s / 3.0L);
        block.arm = hold(law, (gentle_.momentBefore + residual * residualArm + excess * excessArm +
                               gentle * gentleArm) /
                                  block.force);
        block.faceStress = b * fct + e2;
    }
    return block;
}

long double FibreAtCurvature::forceSum(long double h, long double x) const
{
    const long double xt = h - x;
    const long double epsh = x * kappa_;
    const long double epsd = xt * kappa_;
    const long double compression = compressionBlock<false>(x, epsh).force;
    return tensionBlock<false>(xt, epsd).force + compression;
}

FibreTrial FibreAtCurvature::trial(long double h, long double x) const
{
    FibreTrial trial;
    trial.x = x;
    trial.xt = h - x;
    trial.epsh = x * kappa_;
    trial.epsd = trial.xt * kappa_;
    trial.compression = compression(x, trial.epsh);
    trial.tension = tension(trial.xt, trial.epsd);
    return trial;
}

FibreStressBlock fibreCompression(const FibreConcreteLaw& law, long double w, long double x, long double epsh,
                                  long double kappa)
{
    return FibreAtCurvature(law, w, kappa).compression(x, epsh);
}

FibreStressBlock fibreTension(const FibreConcreteLaw& law, long double w, long double xt, long double epsd,
                              long double kappa)
{
    return FibreAtCurvature(law, w, kappa).tension(xt, epsd);
}

FibreTrial fibreTrial(const FibreConcreteLaw& law, long double w, long double h, long double kappa, long double x)
{
    return FibreAtCurvature(law, w, kappa).trial(h, x);
}

}  // namespace prurez
