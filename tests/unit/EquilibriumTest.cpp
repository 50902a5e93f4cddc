// Every row of random realistic runs of the three sections is a state of equilibrium:
// the section forces balance the axial force within the 1 kN of the balance tests (in
// exact equilibrium within 1E-9 MN), the concrete resultants are the integrals of the
// laws' stresses over the zones at the row's curvature and neutral axis, and the moment
// is the sum of force × arm of all of them about the neutral axis.

#include "common/FixedPoint.h"
#include "common/FloatingPoint.h"
#include "mechanics/ConcreteLaws.h"
#include "mechanics/FibreConcreteLaw.h"
#include "flows/SectionAnalysis.h"
#include "mechanics/Sections.h"

#include "ZoneIntegral.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <vector>

using namespace prurez;

namespace {

long double uniform(std::mt19937& random, long double from, long double to)
{
    return from + (to - from) * std::uniform_real_distribution<double>(0.0, 1.0)(random);
}

// A realistic concrete of a random grade on a random rectangle.
HeldSectionInput randomConcrete(std::mt19937& random, Material material)
{
    HeldSectionInput in;
    in.material = material;
    in.diagram = static_cast<CompressionDiagram>(std::uniform_int_distribution<int>(0, 2)(random));
    in.concreteInTension = std::uniform_int_distribution<int>(0, 3)(random) != 0;
    in.fcp = Fixed::store(std::round(uniform(random, 20, 60)));
    in.fct = Fixed::store(std::round(uniform(random, 15, 45)) / 10);
    in.E = Fixed::store(std::round(uniform(random, 25, 40)) * 1000);
    in.epsCu = uniform(random, 0.002L, 0.0045L);
    in.epsTu = ratio(in.fct, in.E) * uniform(random, 1.2L, 5);  // beyond the elastic limit
    in.epsC1 = uniform(random, 0.0015L, 0.0025L);
    in.width = Single(uniform(random, 0.15L, 0.5L));
    in.height = Single(uniform(random, 0.2L, 0.8L));
    return in;
}

// A curvature step that reaches εcu at the top edge in about 25 steps.
Single stepFor(const HeldSectionInput& in) { return Single(in.epsCu / (0.3L * in.height) / 25); }

long double relative(long double value, long double reference, long double scale)
{
    return std::fabs(value - reference) / scale;
}

// The largest residual |N − ΣF| [MN] of a row: the scans' window, or exact equilibrium.
long double balanceTolerance(bool exact) { return exact ? 1e-9L : 0.001L; }

}  // namespace

class Equilibrium : public testing::TestWithParam<bool> {};
INSTANTIATE_TEST_SUITE_P(ScanAndExact, Equilibrium, testing::Bool());

TEST_P(Equilibrium, PlainAndReinforcedRowsBalanceAndTheirMomentIsTheSumOfForceTimesArm)
{
    RunOptions options;
    options.exactEquilibrium = GetParam();
    std::mt19937 random(2026);
    int rows = 0;
    for (int run = 0; run < 24; ++run) {
        const bool reinforced = run % 2 == 1;
        HeldSectionInput in = randomConcrete(random, reinforced ? Material::reinforcedConcrete : Material::plainConcrete);
        if (reinforced) {
            in.fy = Fixed::store(std::round(uniform(random, 400, 550)));
            in.Es = Fixed::store(200000);
            in.epsSu = uniform(random, 0.01L, 0.05L);
            in.bottomBars = {uniform(random, 400e-6L, 3000e-6L), uniform(random, 0.03L, 0.07L)};
            in.topBars = {uniform(random, 0, 1000e-6L), uniform(random, 0.03L, 0.07L)};
            in.N = Fixed::store(std::round(uniform(random, -800, 100)));
        } else {
            in.concreteInTension = true;
        }
        const ConcreteProperties concrete =
            concreteProperties(in, reinforced ? LawGrouping::reinforcedConcrete : LawGrouping::plainConcrete);
        const CompressionLaw compression(concrete, in.diagram);
        const SofteningTension tension(concrete);
        const ElasticPlasticSteel steel(in.fy, in.Es);
        const long double h = in.height;
        const long double w = in.width;
        const long double epsC0 = single(ratio(in.fcp, in.E));

        const MomentCurvatureDiagram diagram = heldSectionAnalysis(in).run(stepFor(in), options);
        for (const SectionRow& row : diagram.rows) {
            SCOPED_TRACE(testing::Message() << "run " << run << " curvature " << (double)row.kappa);
            const long double kappa = row.kappa;
            const long double x = row.x;
            const long double xt = h - x;
            const long double sum = row.tension + row.compression + row.topBarForce + row.bottomBarForce;
            EXPECT_LT(std::fabs(sum - in.N.value() * 0.001L), balanceTolerance(options.exactEquilibrium));

            auto compressionStress = [&](long double e) { return compression.stress(e); };
            const ZoneIntegral compressed =
                integrateZone(compressionStress, w, x, kappa, {epsC0, in.epsC1, 2 * in.epsC1});
            const ZoneIntegral tensioned =
                in.concreteInTension
                    ? integrateZone([&](long double e) { return tension.stress(e); }, w, xt, kappa,
                                {concrete.epsT0, in.epsTu})
                    : ZoneIntegral();
            // The bars: the top one shortens, the bottom one lengthens when the strain is positive.
            const long double topArm = x - in.topBars.distance;
            const long double bottomArm = xt - in.bottomBars.distance;
            const long double topForce = reinforced ? -steel.layer(in.topBars.area, topArm * kappa).force : 0;
            const long double bottomForce =
                reinforced ? steel.layer(in.bottomBars.area, bottomArm * kappa).force : 0;
            const long double scale = w * h * in.fcp.value();  // the largest force of the section
            EXPECT_LT(relative(-row.compression, compressed.force, scale), 1e-6L);
            EXPECT_LT(relative(row.tension, tensioned.force, scale), 1e-6L);
            EXPECT_NEAR(row.topBarForce, topForce, 1e-12L * scale);
            EXPECT_NEAR(row.bottomBarForce, bottomForce, 1e-12L * scale);
            // Σ F·arm about the neutral axis. The arm of a curved stress block comes
            // from three pieces, an approximation.
            const long double moment =
                compressed.moment + tensioned.moment - topForce * topArm + bottomForce * bottomArm;
            const long double tolerance = in.diagram == CompressionDiagram::bilinear ? 1e-6L : 0.01L;
            EXPECT_LT(relative(row.moment, moment, scale * h), tolerance);
            ++rows;
        }
    }
    EXPECT_GT(rows, 200);
}

TEST_P(Equilibrium, FibreRowsBalanceAndTheirMomentIsTheCoupleOfTheResultants)
{
    RunOptions options;
    options.exactEquilibrium = GetParam();
    std::mt19937 random(12);
    int rows = 0;
    for (int run = 0; run < 12; ++run) {
        HeldSectionInput in = randomConcrete(random, Material::fibreConcrete);
        in.epsTu = uniform(random, 0.005L, 0.04L);
        in.a = Single(std::round(uniform(random, 0, 6)) / 10);
        in.b = Single(std::round(uniform(random, 1, 6)) / 10);
        const FibreConcreteLaw law = sectionFibreLaw(in.E, in.fcp, in.fct, in.a, in.b, in.epsTu);
        const long double h = in.height;
        const long double w = in.width;

        const MomentCurvatureDiagram diagram = heldSectionAnalysis(in).run(Single(in.epsTu / (0.5L * h) / 20), options);
        ASSERT_NE(diagram.outcome.end, RunEnd::noEquilibrium) << run;
        for (const SectionRow& row : diagram.rows) {
            SCOPED_TRACE(testing::Message() << "run " << run << " curvature " << (double)row.kappa);
            const long double kappa = row.kappa;
            EXPECT_LT(std::fabs(row.tension + row.compression), balanceTolerance(options.exactEquilibrium));
            if (kappa == 0) {
                EXPECT_EQ(row.moment, 0);
                continue;
            }
            auto compression = [&](long double e) { return fibreCompressionStress(law, e); };
            auto tension = [&](long double e) { return fibreTensionStress(law, e); };
            const ZoneIntegral compressed = integrateZone(compression, w, row.x, kappa, {law.ec0});
            const ZoneIntegral tensioned = integrateZone(tension, w, h - row.x, kappa, {law.et0, law.et1, law.etu});
            const long double scale = w * h * in.fcp.value();
            EXPECT_LT(relative(-row.compression, compressed.force, scale), 1e-6L);
            EXPECT_LT(relative(row.tension, tensioned.force, scale), 1e-6L);
            // M = −FP·(zc + zt): the couple, which is Σ F·arm while the forces balance.
            const long double couple = compressed.moment + compressed.force * (tensioned.moment / tensioned.force);
            EXPECT_LT(relative(row.moment, couple, scale * h), 1e-6L);
            ++rows;
        }
    }
    EXPECT_GT(rows, 100);
}
