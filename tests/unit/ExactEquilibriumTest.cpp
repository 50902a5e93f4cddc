// Exact equilibrium: the neutral axis where the forces balance to the last bits, in the
// section analyses, MomentAtCurvature and the refinement.

#include "flows/SectionAnalysis.h"
#include "mechanics/MomentAtCurvature.h"
#include "mechanics/Refinement.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace prurez;

namespace {

ScanOptions exact()
{
    ScanOptions options;
    options.exactEquilibrium = true;
    return options;
}

}  // namespace

// The square whose scan reads the neutral axis 0 → 0,009 → 0,031 and a first moment of
// four times E·I·κ: in exact equilibrium its elastic rows lie at mid-height with
// M = E·I·κ, and the moment rises from the first row on.
TEST(ExactEquilibrium, ElasticRowsOfASmallSquareLieAtMidHeightWithTheBeamMoment)
{
    HeldSectionInput in;
    in.material = Material::plainConcrete;
    in.fcp = Fixed::store(30);
    in.fct = Fixed::store(2.9L);
    in.E = Fixed::store(32000);
    in.epsCu = 0.0035L;
    in.epsTu = 0.0001L;
    in.width = Single(0.15L);
    in.height = Single(0.15L);
    const long double b = in.width;
    const long double h = in.height;
    const long double EI = in.E.value() * (b * h * h * h / 12.0L);
    const long double epsT0 = single(ratio(in.fct, in.E));

    RunOptions options;
    options.exactEquilibrium = true;
    const MomentCurvatureDiagram diagram = heldSectionAnalysis(in).run(Single(1e-5L), options);
    ASSERT_EQ(diagram.outcome.end, RunEnd::torn);
    int elastic = 0;
    long double previous = 0;
    for (const SectionRow& row : diagram.rows) {
        SCOPED_TRACE(testing::Message() << "curvature " << static_cast<double>(row.kappa));
        EXPECT_LT(std::fabs(row.tension + row.compression), 1e-9L);
        if (row.bottomStrain > epsT0)
            continue;
        ++elastic;
        EXPECT_NEAR(row.x / (h / 2.0L), 1.0L, 1e-12L);
        EXPECT_NEAR(row.moment / (EI * row.kappa), 1.0L, 1e-6L);
        EXPECT_GT(row.moment, previous);
        previous = row.moment;
    }
    EXPECT_GT(elastic, 100);
}

// MomentAtCurvature in exact equilibrium balances FT + FP to the last bits and differs
// from the scan's moment by no more than the 1 kN window lets it.
TEST(ExactEquilibrium, MomentAtCurvatureBalancesAndStaysNearTheScan)
{
    const BeamSection beam{Single(0.15L), Single(0.15L)};
    FibreParameters p;
    p.E = 32150;
    p.fcp = 40;
    p.fct = 3.37L;
    p.a = Single(0.43L);
    p.b = Single(0.27L);
    p.epsTu = 0.0273L;
    for (long double k : {0.0001L, 0.001L, 0.005L, 0.02L, 0.1L}) {
        SCOPED_TRACE(testing::Message() << "curvature " << static_cast<double>(k));
        const Single kappa(k);
        const std::optional<FibreTrial> trial = balancedTrialAtCurvature(beam, p, kappa, exact());
        ASSERT_TRUE(trial);
        EXPECT_LT(std::fabs(trial->tension.force + trial->compression.force), 1e-9L);
        const long double exactMoment = *MomentAtCurvature(beam, p, kappa, exact());
        const long double scanMoment = *MomentAtCurvature(beam, p, kappa);
        EXPECT_EQ(exactMoment, momentOfTrial(*trial));
        // 1 kN of imbalance moves the axis by at most 1 kN / (w·σ) and the moment by
        // about that times the couple's force.
        EXPECT_LT(std::fabs(exactMoment - scanMoment) / exactMoment, 0.05L);
    }
}

// The refinement fits the exact moments when asked to: from a grid point it recovers the
// parameters that made a test diagram of exact moments.
TEST(ExactEquilibrium, RefinementRecoversParametersFromExactMoments)
{
    RefinementProblem problem;
    problem.beam = BeamSection{Single(0.15L), Single(0.15L)};
    problem.fcp = 40;
    problem.scan = exact();
    const FitValues truth{32150.0L, 3.37L, 2.73L, 0.43L, 0.27L};
    for (long double k : {0.002L, 0.005L, 0.01L, 0.02L, 0.04L, 0.07L, 0.1L, 0.15L}) {
        problem.curvatures.push_back(Single(k));
        problem.testMoments.push_back(
            *MomentAtCurvature(problem.beam, fibreParametersOf(problem.fcp, truth), Single(k), exact()));
    }
    problem.start = {37000.0L, 2.5L, 2.73L, 0.2L, 0.27L};
    problem.ranges = {FitRange{25000, 37000}, FitRange{2.5L, 4.5L}, FitRange{2.73L, 2.73L}, FitRange{0.2L, 0.6L},
                      FitRange{0.27L, 0.27L}};
    const Refinement refined = refineFit(problem);
    EXPECT_NEAR(refined.values[fitE] / truth[fitE], 1.0L, 1e-5L);
    EXPECT_NEAR(refined.values[fitFct] / truth[fitFct], 1.0L, 1e-5L);
    EXPECT_NEAR(refined.values[fitA] / truth[fitA], 1.0L, 1e-5L);
}
