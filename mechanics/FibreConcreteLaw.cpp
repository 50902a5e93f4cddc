#include "mechanics/FibreConcreteLaw.h"

#include "common/FloatingPoint.h"

namespace prurez {

namespace {

// The lever arms, softened depths and stress excesses, held in single precision where
// the caller asks for it.
inline long double hold(const FibreConcreteLaw& law, long double v) { return law.singleIntermediates ? single(v) : v; }

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

FibreStressBlock fibreCompression(const FibreConcreteLaw& law, long double w, long double x, long double epsh,
                                  long double kappa)
{
    FibreStressBlock block;
    if (epsh <= law.ec0) {
        // The section analysis writes −0.5·epsh·E·w·x, the inverse analysis −(0.5·E·epsh·w·x):
        // halving is exact, so (0.5·epsh)·E and (0.5·E)·epsh are the same number.
        block.force = -(0.5L * epsh * law.E * w * x);
        block.arm = hold(law, 2.0L / 3.0L * x);
        block.faceStress = law.E * epsh;
        return block;
    }
    const long double xc0 = law.ec0 / kappa;
    const long double triangle = 0.5L * law.fcp * w * xc0;
    const long double triangleArm = hold(law, 2.0L / 3.0L * xc0);
    const long double plateau = law.fcp * w * (x - xc0);
    const long double plateauArm = hold(law, xc0 + (x - xc0) / 2.0L);
    // Divided by F1 + F2 (the section analysis) or by −FP (the inverse analysis): the
    // same number, FP being the negated sum.
    const long double sum = triangle + plateau;
    block.force = -sum;
    block.arm = hold(law, (triangle * triangleArm + plateau * plateauArm) / sum);
    block.faceStress = law.fcp;
    return block;
}

FibreStressBlock fibreTension(const FibreConcreteLaw& law, long double w, long double xt, long double epsd,
                              long double kappa)
{
    FibreStressBlock block;
    const long double a = law.a;
    const long double b = law.b;
    const long double fct = law.fct;
    if (epsd <= law.et0) {
        block.force = 0.5L * epsd * law.E * w * xt;
        block.arm = hold(law, 2.0L / 3.0L * xt);
        block.faceStress = law.E * epsd;
        return block;
    }
    const long double xe = law.et0 / kappa;  // end of the elastic part below the neutral axis
    const long double elastic = 0.5L * fct * w * xe;
    const long double elasticArm = hold(law, 2.0L / 3.0L * xe);
    if (epsd <= law.et1) {
        // The steep branch reaches the face: four pieces over the softened depth s.
        const long double s = hold(law, xt - xe);
        const long double e = hold(law, a * fct * (law.et1 - epsd) / (law.et1 - law.et0));
        const long double floor = (1.0L - a) * fct * w * s;
        const long double floorArm = hold(law, xt - s / 2.0L);
        const long double excess = e * w * s;
        const long double excessArm = hold(law, xt - s / 2.0L);
        const long double softening = 0.5L * (a * fct - e) * w * s;
        const long double softeningArm = hold(law, xe + s / 3.0L);
        block.force = elastic + floor + excess + softening;
        block.arm = hold(law, (elastic * elasticArm + floor * floorArm + excess * excessArm +
                               softening * softeningArm) /
                                  block.force);
        block.faceStress = (1.0L - a) * fct + e;
        return block;
    }
    // The steep band is complete; the gentle branch reaches the face: six pieces.
    const long double x1 = (law.et1 - law.et0) / kappa;
    const long double s = hold(law, xt - law.et1 / kappa);
    const long double along = (epsd - law.et1) / (law.etu - law.et1);
    // εtu = εt1 divides by zero here, before the infinite excess makes the sums invalid.
    checkTrialFaults();
    const long double e2 = hold(law, (1.0L - a - b) * fct * (1.0L - along));
    const long double bandRectangle = (1.0L - a) * fct * w * x1;
    const long double bandRectangleArm = hold(law, xe + x1 / 2.0L);
    const long double bandTriangle = 0.5L * a * fct * w * x1;
    const long double bandTriangleArm = hold(law, xe + x1 / 3.0L);
    const long double residual = b * fct * w * s;
    const long double residualArm = hold(law, law.et1 / kappa + s / 2.0L);
    const long double excess = e2 * w * s;
    const long double excessArm = hold(law, law.et1 / kappa + s / 2.0L);
    const long double gentle = 0.5L * ((1.0L - a - b) * fct - e2) * w * s;
    const long double gentleArm = hold(law, law.et1 / kappa + s / 3.0L);
    block.force = elastic + bandRectangle + bandTriangle + residual + excess + gentle;
    block.arm = hold(law, (elastic * elasticArm + bandRectangle * bandRectangleArm + bandTriangle * bandTriangleArm +
                           residual * residualArm + excess * excessArm + gentle * gentleArm) /
                              block.force);
    block.faceStress = b * fct + e2;
    return block;
}

FibreTrial fibreTrial(const FibreConcreteLaw& law, long double w, long double h, long double kappa, long double x)
{
    FibreTrial trial;
    trial.x = x;
    trial.xt = h - x;
    trial.epsh = x * kappa;
    trial.epsd = trial.xt * kappa;
    trial.compression = fibreCompression(law, w, x, trial.epsh, kappa);
    trial.tension = fibreTension(law, w, trial.xt, trial.epsd, kappa);
    return trial;
}

}  // namespace prurez
