// Every material law against itself: the resultant, the arm (or moment) and the edge
// stress a law gives for a zone are compared with a numerical integration of the
// law's own stress σ(ε) over that zone, in every branch of the law.

#include "common/FixedPoint.h"
#include "common/FloatingPoint.h"
#include "mechanics/ConcreteLaws.h"
#include "mechanics/FibreConcreteLaw.h"

#include "ZoneIntegral.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

using namespace prurez;

namespace {

// ∫ σ(κ·y)·w dy and ∫ σ(κ·y)·w·y dy over 0 ≤ y ≤ depth by Simpson's rule on each piece
// between the depths where the strain passes one of the law's breaks.
ConcreteProperties concrete(LawGrouping grouping)
{
    ConcreteProperties c;
    c.fcp = Fixed::store(30);
    c.fct = Fixed::store(2.9L);
    c.E = Fixed::store(32000);
    c.epsC1 = 0.002L;
    c.epsT0 = single(ratio(c.fct, c.E));
    c.epsTu = 0.0001L;
    c.width = Single(0.3L);
    c.grouping = grouping;
    return c;
}

// Relative difference.
long double relative(long double value, long double reference)
{
    return std::fabs(value - reference) / std::max(std::fabs(reference), 1e-30L);
}

}  // namespace

TEST(Laws, CompressionDiagramsMatchTheIntegralOfTheirStress)
{
    for (LawGrouping grouping : {LawGrouping::plainConcrete, LawGrouping::reinforcedConcrete}) {
        const ConcreteProperties c = concrete(grouping);
        const long double width = c.width;
        for (CompressionDiagram diagram :
             {CompressionDiagram::bilinear, CompressionDiagram::parabolicRectangular, CompressionDiagram::parabolic}) {
            const CompressionLaw law(c, diagram);
            // The top strain in every branch: below and above εc0 or εc1, beyond 2·εc1
            // where the falling parabola has turned to tension.
            for (long double epsh : {0.0004L, 0.0015L, 0.0025L, 0.0035L, 0.0045L}) {
                const long double x = 0.2L;
                const long double kappa = epsh / x;
                const CompressionZone zone = law.zone(x, kappa, epsh);
                const ZoneIntegral exact = integrateZone([&](long double e) { return law.stress(e); }, width, x, kappa,
                                                 {single(30.0L / 32000.0L), c.epsC1, 2 * c.epsC1});
                SCOPED_TRACE(testing::Message() << "diagram " << static_cast<int>(diagram) << " grouping "
                                                << static_cast<int>(grouping) << " epsh " << (double)epsh);
                EXPECT_LT(relative(-zone.FP, exact.force), 1e-7L);
                EXPECT_NEAR(zone.sigh.value(), law.stress(epsh), 0.00005L);
                // The arm of a curved block comes from three pieces, and that of the
                // falling branch from a trapezoid: approximations, meant for stresses
                // that have not turned to tension.
                const long double arm = exact.moment / exact.force;
                if (diagram == CompressionDiagram::bilinear) {
                    EXPECT_LT(std::fabs(zone.zc - arm), 1e-6L * x);
                } else if (epsh <= 2 * c.epsC1) {
                    EXPECT_LT(std::fabs(zone.zc - arm), 0.03L * x) << zone.zc << " " << arm;
                }
            }
        }
    }
}

TEST(Laws, SofteningTensionMatchesTheIntegralOfItsStress)
{
    for (LawGrouping grouping : {LawGrouping::plainConcrete, LawGrouping::reinforcedConcrete}) {
        const ConcreteProperties c = concrete(grouping);
        const SofteningTension law(c);
        // Uncracked, softening, and torn beyond εtu.
        for (long double epsd : {0.00005L, 0.00008L, 0.0001L, 0.0003L}) {
            const long double xt = 0.25L;
            const long double kappa = epsd / xt;
            const TensionZone zone = law.zone(xt, kappa, epsd);
            const ZoneIntegral exact =
                integrateZone([&](long double e) { return law.stress(e); }, c.width, xt, kappa, {c.epsT0, c.epsTu});
            SCOPED_TRACE(testing::Message() << "grouping " << static_cast<int>(grouping) << " epsd " << (double)epsd);
            EXPECT_LT(relative(zone.FT, exact.force), 1e-6L);
            EXPECT_LT(relative(zone.Mt, exact.moment), 1e-6L);
            EXPECT_NEAR(zone.sigd.value(), law.stress(epsd), 0.00005L);
        }
        // The stress falls from fct at εt0 to zero at εtu and stays there.
        EXPECT_NEAR(law.stress(c.epsT0), 2.9L, 1e-5L);
        EXPECT_NEAR(law.stress(c.epsTu), 0.0L, 1e-6L);
        EXPECT_EQ(law.stress(2 * c.epsTu), 0.0L);
    }
}

TEST(Laws, SteelYieldsOnTheLoadedSideOnly)
{
    const ElasticPlasticSteel steel(Fixed::store(500), Fixed::store(200000));
    EXPECT_EQ(steel.yieldStrain(), 500.0L / 200000.0L);
    EXPECT_EQ(steel.stress(0.001L), 0.001L * 200000.0L);
    EXPECT_EQ(steel.stress(0.01L), 500.0L);
    EXPECT_EQ(steel.stress(-0.01L), -0.01L * 200000.0L);  // no yield on the other side
    const BarForce yielding = steel.layer(0.001L, 0.01L);
    EXPECT_EQ(yielding.force, 0.001L * 500.0L);
    EXPECT_EQ(yielding.stress.value(), 500.0L);
    const BarForce elastic = steel.layer(0.001L, 0.002L);
    EXPECT_EQ(elastic.force, 0.001L * 0.002L * 200000.0L);
    EXPECT_EQ(elastic.stress.value(), 400.0L);
}

TEST(Laws, FibreConcreteZonesMatchTheIntegralOfItsStress)
{
    const FibreConcreteLaw laws[] = {
        sectionFibreLaw(Fixed::store(34000), Fixed::store(40), Fixed::store(3), Single(0.4L), Single(0.3L), 0.02L),
        extendedFibreLaw(30000, 40, 3, Single(0.4L), Single(0.3L), 0.02L),
        extendedFibreLaw(30000, 40, 3, Single(0.0L), Single(0.3L), 0.02L),  // no steep branch
        extendedFibreLaw(30000, 40, 3, Single(0.4L), Single(0.6L), 0.02L),  // constant beyond εt1
    };
    for (const FibreConcreteLaw& law : laws) {
        // The arms, depths and excesses held in single precision in the section analysis.
        const long double tolerance = law.singleIntermediates ? 1e-6L : 1e-9L;
        const long double w = 0.15L;
        // Tension: elastic, the steep branch, the gentle branch, beyond εtu.
        for (long double epsd : {0.5L * law.et0, (law.et0 + law.et1) / 2, 0.01L, 0.03L}) {
            const long double xt = 0.1L;
            const long double kappa = epsd / xt;
            const FibreStressBlock block = fibreTension(law, w, xt, epsd, kappa);
            auto stress = [&](long double e) { return fibreTensionStress(law, e); };
            const ZoneIntegral exact = integrateZone(stress, w, xt, kappa, {law.et0, law.et1, law.etu});
            SCOPED_TRACE(testing::Message() << "a " << (double)law.a << " b " << (double)law.b << " epsd "
                                            << (double)epsd);
            EXPECT_LT(relative(block.force, exact.force), tolerance);
            EXPECT_LT(relative(block.arm, exact.moment / exact.force), tolerance);
            EXPECT_LT(relative(block.faceStress, fibreTensionStress(law, epsd)), tolerance);
        }
        // Compression: elastic and beyond εc0.
        for (long double epsh : {0.5L * law.ec0, 3 * law.ec0}) {
            const long double x = 0.05L;
            const long double kappa = epsh / x;
            const FibreStressBlock block = fibreCompression(law, w, x, epsh, kappa);
            const ZoneIntegral exact =
                integrateZone([&](long double e) { return fibreCompressionStress(law, e); }, w, x, kappa, {law.ec0});
            EXPECT_LT(relative(-block.force, exact.force), tolerance);
            EXPECT_LT(relative(block.arm, exact.moment / exact.force), tolerance);
            EXPECT_EQ(block.faceStress, fibreCompressionStress(law, epsh));
        }
    }
}

TEST(Laws, FibreTensionIsContinuousAndReachesTheResidualAtTheUltimateStrain)
{
    const FibreConcreteLaw law = extendedFibreLaw(30000, 40, 3, Single(0.4L), Single(0.3L), 0.02L);
    const long double a = law.a;
    const long double b = law.b;
    EXPECT_NEAR(fibreTensionStress(law, law.et0), 3.0L, 1e-15L);
    EXPECT_NEAR(fibreTensionStress(law, law.et0 * (1 + 1e-12L)), 3.0L, 1e-6L);
    EXPECT_NEAR(fibreTensionStress(law, law.et1), (1 - a) * 3, 1e-15L);
    EXPECT_NEAR(fibreTensionStress(law, law.et1 * (1 + 1e-12L)), (1 - a) * 3, 1e-6L);
    EXPECT_NEAR(fibreTensionStress(law, law.etu), b * 3, 1e-15L);
    // The gentle line goes on below the residual, no cut-off.
    EXPECT_LT(fibreTensionStress(law, 2 * law.etu), b * 3);
}
