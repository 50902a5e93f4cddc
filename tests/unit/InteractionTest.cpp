// The N–M interaction diagram and the stresses across the depth, checked as an engineer
// checks them: the diagram at N = 0 against the moment–curvature run, its ends against
// the section's capacities, a profile integrated back to its row.

#include "mechanics/DepthProfile.h"
#include "mechanics/Interaction.h"
#include "flows/InteractionFlow.h"
#include "flows/SectionAnalysis.h"
#include "mechanics/Sections.h"

#include "SectionTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace prurez;

namespace {

HeldSectionInput concrete(Material material, CompressionDiagram diagram)
{
    HeldSectionInput in;
    in.material = material;
    in.diagram = diagram;
    in.fcp = Fixed::store(30);
    in.fct = Fixed::store(3);
    in.E = Fixed::store(32000);
    in.epsCu = 0.0035L;
    in.epsTu = material == Material::fibreConcrete ? 0.02L : 0.0002L;
    in.epsC1 = 0.002L;
    in.a = Single(0.3L);
    in.b = Single(0.4L);
    in.width = Single(0.3L);
    in.height = Single(0.5L);
    return in;
}

HeldSectionInput reinforcedBeam(long double top, long double bottom, bool tension)
{
    HeldSectionInput in = concrete(Material::reinforcedConcrete, CompressionDiagram::parabolicRectangular);
    in.concreteInTension = tension;
    in.fy = Fixed::store(500);
    in.Es = Fixed::store(200000);
    in.epsSu = 0.01L;
    in.topBars = {top, 0.05L};
    in.bottomBars = {bottom, 0.05L};
    return in;
}

ScanOptions exact()
{
    ScanOptions options;
    options.exactEquilibrium = true;
    return options;
}

RunOptions exactRun()
{
    RunOptions options;
    options.exactEquilibrium = true;
    return options;
}

InteractionDiagram interactionOf(const HeldSectionInput& in, int points, int threads = 0)
{
    RunOptions options;
    options.threads = threads;
    return heldSectionAnalysis(in).interactionDiagram(points, options);
}

// The state of the section at a curvature in exact equilibrium, its neutral axis
// between the faces or (counted in `beyond`) beyond one.
template <class Section>
std::optional<SectionRow> stateAt(const HeldSectionInput& in, long double kappa, int& beyond)
{
    const Section section(in);
    std::optional<SectionRow> row = section.balanceAt(kappa, exact());
    if (!row) {
        row = section.balanceBeyondFaces(kappa);
        ++beyond;
    }
    return row;
}

// The largest moment of the exact run with a fine step.
long double runPeak(const HeldSectionInput& in, long double step)
{
    const MomentCurvatureDiagram run = heldSectionAnalysis(in).run(Single(step), exactRun());
    long double peak = 0;
    for (const SectionRow& row : run.rows)
        if (&row != &run.rows.back() || run.outcome.end == RunEnd::noEquilibrium)
            peak = std::max(peak, row.moment);
    return peak;
}

}  // namespace

// At N = 0 the diagram's moment is the peak of the exact moment–curvature run (whose
// moment is then the moment about mid-height too), found to 0,1 %.
TEST(Interaction, AtZeroForceTheMomentIsThePeakOfTheExactRun)
{
    // fcp 30 and fct 3 of a plain section: 45 forces put N = 0 on the grid.
    const HeldSectionInput plain = concrete(Material::plainConcrete, CompressionDiagram::parabolic);
    const InteractionDiagram diagram = interactionOf(plain, 45);
    ASSERT_EQ(diagram.positive.size(), 45u);
    const InteractionPoint& zero = diagram.positive[40];
    ASSERT_EQ(zero.N, 0.0L);
    ASSERT_TRUE(zero.hasMoment);
    const long double plainPeak = runPeak(plain, 1e-6L);
    EXPECT_NEAR(zero.moment / plainPeak, 1.0L, 0.001L);
    // The peak is searched out between the run's rows: no finer row lies above it.
    EXPECT_GE(zero.moment, plainPeak * (1 - 1e-9L));

    for (const HeldSectionInput& in : {concrete(Material::fibreConcrete, CompressionDiagram::bilinear),
                                   reinforcedBeam(400e-6L, 1000e-6L, true)}) {
        const InteractionPoint point = peakMomentUnderForce(in);
        ASSERT_TRUE(point.hasMoment);
        const long double peak = runPeak(in, point.kappa / 1000);
        EXPECT_NEAR(point.moment / peak, 1.0L, 0.001L);
        EXPECT_GE(point.moment, peak * (1 - 1e-9L));
    }
}

// The window's texts are read as VÝPOČET reads them, but for the axial force, which the
// diagram does not use: a text that is not a number fails naming the window's own text,
// whose field the window then shows.
TEST(Interaction, ReadsTheWindowsOwnTextsButNotTheAxialForce)
{
    SectionTexts texts = sectiontest::reinforcedBeam(0, 1);
    texts.N = "no force";
    EXPECT_EQ(computeInteraction(texts, ',', 3).positive.size(), 3u);
    texts.Es = "2E5x";
    try {
        computeInteraction(texts, ',', 3);
        ADD_FAILURE() << "'2E5x' was read";
    } catch (const TextFailure& failure) {
        EXPECT_EQ(failure.message(), "'2E5x' is not a valid floating point value");
        EXPECT_EQ(failure.text(), &texts.Es);
    }
}

// The ends: the concrete's and the bars' full capacity in compression, the bars' yield
// force (concrete off in tension) or the tensile strength over the area in tension; a
// section with equal layers has one branch, one with unequal layers two that meet at the
// ends.
TEST(Interaction, EndsAreTheCapacitiesAndEqualLayersBendAlike)
{
    const long double As = 1000e-6L;
    const long double area = Single(0.3L) * Single(0.5L);  // the section holds b and h single
    const InteractionDiagram equal = interactionOf(reinforcedBeam(As, As, false), 5);
    EXPECT_TRUE(equal.symmetric);
    EXPECT_TRUE(equal.negative.empty());
    EXPECT_NEAR(equal.compressiveCapacity, -(area * 30.0L + 2 * As * 500.0L), 1e-14L);
    EXPECT_NEAR(equal.tensileCapacity, 2 * As * 500.0L, 1e-12L);
    ASSERT_EQ(equal.positive.size(), 5u);
    EXPECT_EQ(equal.positive.front().end, InteractionEnd::capacity);
    EXPECT_EQ(equal.positive.front().N, equal.compressiveCapacity);
    EXPECT_EQ(equal.positive.back().N, equal.tensileCapacity);
    EXPECT_NEAR(equal.positive.front().moment, 0.0L, 1e-15L);
    for (size_t k = 1; k + 1 < equal.positive.size(); ++k) {
        EXPECT_TRUE(equal.positive[k].hasMoment) << k;
        EXPECT_GT(equal.positive[k].moment, 0.0L) << k;
    }

    for (Material material : {Material::plainConcrete, Material::fibreConcrete}) {
        const InteractionDiagram plain = interactionOf(concrete(material, CompressionDiagram::bilinear), 3);
        EXPECT_NEAR(plain.compressiveCapacity, -area * 30.0L, 1e-14L);
        // E·εt0 with εt0 = fct / E held single.
        EXPECT_NEAR(plain.tensileCapacity / (area * 3.0L), 1.0L, 1e-7L);
        EXPECT_TRUE(plain.negative.empty());
    }

    const InteractionDiagram unequal = interactionOf(reinforcedBeam(400e-6L, As, true), 9);
    EXPECT_FALSE(unequal.symmetric);
    // The same on one thread as on several.
    const InteractionDiagram alone = interactionOf(reinforcedBeam(400e-6L, As, true), 9, 1);
    for (size_t k = 0; k < 9; ++k)
        for (const auto& [a, b] : {std::pair{&unequal.positive[k], &alone.positive[k]},
                                  std::pair{&unequal.negative[k], &alone.negative[k]}}) {
            EXPECT_EQ(a->N, b->N);
            EXPECT_EQ(a->moment, b->moment);
            EXPECT_EQ(a->kappa, b->kappa);
            EXPECT_EQ(a->end, b->end);
        }
    ASSERT_EQ(unequal.negative.size(), 9u);
    for (size_t end : {size_t(0), size_t(8)}) {
        EXPECT_EQ(unequal.negative[end].N, unequal.positive[end].N);
        EXPECT_NEAR(unequal.negative[end].moment, unequal.positive[end].moment, 1e-12L);
    }
    // The bars at their yield force off mid-height: 0,2 MN × 0,2 m − 0,5 MN × 0,2 m.
    EXPECT_NEAR(unequal.positive[0].moment, -0.06L, 1e-12L);
    for (size_t k = 1; k + 1 < 9; ++k) {
        EXPECT_GT(unequal.positive[k].moment, 0.0L) << k;
        EXPECT_LT(unequal.negative[k].moment, 0.0L) << k;
        EXPECT_LT(unequal.negative[k].kappa, 0.0L) << k;
    }
}

// Each peak is a state of the section under its force: the stresses across the depth at
// the peak's curvature sum to N and their moment about mid-height (with the bars') is the
// diagram's moment; also where the neutral axis lies below the bottom face. Fibre
// concrete forms its moment about mid-height from the couple of its resultants.
TEST(Interaction, PeaksAreStatesBalancingTheForceWithTheirMomentAboutMidHeight)
{
    HeldSectionInput beam = reinforcedBeam(400e-6L, 1000e-6L, true);
    beam.diagram = CompressionDiagram::bilinear;
    const HeldSectionInput fibre = concrete(Material::fibreConcrete, CompressionDiagram::bilinear);
    for (const HeldSectionInput& section : {beam, fibre}) {
        const bool reinforced = section.material == Material::reinforcedConcrete;
        SCOPED_TRACE(reinforced ? "reinforced" : "fibre");
        const InteractionDiagram diagram = interactionOf(section, 11);
        int beyond = 0;
        for (size_t k = 1; k + 1 < diagram.positive.size(); ++k) {
            const InteractionPoint& point = diagram.positive[k];
            SCOPED_TRACE(testing::Message() << "N " << static_cast<double>(point.N));
            ASSERT_TRUE(point.hasMoment);
            HeldSectionInput loaded = section;
            loaded.N = Fixed::store(point.N * 1000);
            const std::optional<SectionRow> row = reinforced ? stateAt<ReinforcedSection>(loaded, point.kappa, beyond)
                                                             : stateAt<FibreSection>(loaded, point.kappa, beyond);
            ASSERT_TRUE(row);
            const DepthProfile profile = depthProfile(loaded, *row, 101, true);
            const long double w = section.width;
            const long double h = section.height;
            long double force = 0, moment = 0;
            for (size_t i = 0; i + 1 < profile.depth.size(); ++i) {
                const long double dy = profile.depth[i + 1] - profile.depth[i];
                const long double f = (profile.stress[i] + profile.stress[i + 1]) / 2 * w * dy;
                force += f;
                moment += f * ((profile.depth[i] + profile.depth[i + 1]) / 2 - h / 2) +
                          (profile.stress[i + 1] - profile.stress[i]) * w * dy * dy / 12;
            }
            for (const BarInProfile& bar : profile.bars) {
                force += bar.force;
                moment += bar.force * (bar.depth - h / 2);
            }
            EXPECT_NEAR(force / point.N, 1.0L, 1e-6L);
            EXPECT_NEAR(moment / point.moment, 1.0L, 1e-6L);
        }
        if (reinforced)
            EXPECT_GT(beyond, 0);
        else
            EXPECT_LT(beyond, 7);  // some peaks with the axis between the faces
    }
}

// The concrete's stress across the depth integrates back to the row's FT and FP, and with
// the bars to its moment about the neutral axis (bilinear diagrams: the arms are exact
// there; the parabolic ones use the three-piece arm).
TEST(DepthProfile, IntegratesBackToTheRowsForcesAndMoment)
{
    HeldSectionInput plain = concrete(Material::plainConcrete, CompressionDiagram::bilinear);
    plain.N = Fixed::store(-30);
    HeldSectionInput beam = reinforcedBeam(400e-6L, 1000e-6L, true);
    beam.diagram = CompressionDiagram::bilinear;
    beam.N = Fixed::store(-500);
    HeldSectionInput parabolic = reinforcedBeam(400e-6L, 1000e-6L, true);
    const HeldSectionInput fibre = concrete(Material::fibreConcrete, CompressionDiagram::bilinear);
    int checked = 0;
    for (const HeldSectionInput& in : {plain, beam, parabolic, fibre})
        for (bool exactly : {false, true}) {
            RunOptions options;
            options.exactEquilibrium = exactly;
            const long double step = in.material == Material::plainConcrete ? 0.00005L
                                     : in.material == Material::fibreConcrete ? in.epsTu / 0.5L / 12
                                                                                : in.epsCu / 0.5L / 12;
            const MomentCurvatureDiagram run = heldSectionAnalysis(in).run(Single(step), options);
            ASSERT_GT(run.rows.size(), 3u);
            const long double w = in.width;
            const long double scale = w * static_cast<long double>(in.height) * in.fcp.value();
            for (size_t i = 0; i + 1 < run.rows.size(); ++i) {
                const SectionRow& row = run.rows[i];
                SCOPED_TRACE(testing::Message() << "material " << static_cast<int>(in.material) << " exact " << exactly << " row " << i);
                // The straight branches integrate exactly between the breaks; the parabola needs points.
                const DepthProfile profile =
                    depthProfile(in, row, in.diagram == CompressionDiagram::bilinear ? 101 : 20001, true);
                long double compression = 0, tension = 0, compressionMoment = 0, tensionMoment = 0;
                for (size_t k = 0; k + 1 < profile.depth.size(); ++k) {
                    const long double dy = profile.depth[k + 1] - profile.depth[k];
                    const long double y = (profile.depth[k] + profile.depth[k + 1]) / 2;
                    // The stress taken as straight between two points (exact on straight branches).
                    const long double f = (profile.stress[k] + profile.stress[k + 1]) / 2 * w * dy;
                    const long double m =
                        f * (y - profile.neutralAxis) + (profile.stress[k + 1] - profile.stress[k]) * w * dy * dy / 12;
                    (y < profile.neutralAxis ? compression : tension) += f;
                    (y < profile.neutralAxis ? compressionMoment : tensionMoment) += m;
                }
                long double moment = compressionMoment + tensionMoment;
                for (const BarInProfile& bar : profile.bars)
                    moment += bar.force * (bar.depth - profile.neutralAxis);
                // Fibre concrete: the couple −FP·(zc + zt) of the two resultants.
                if (in.material == Material::fibreConcrete && row.kappa > 0)
                    moment = -compression * (-compressionMoment / compression + tensionMoment / tension);
                auto near = [&](long double value, long double reference) {
                    return std::fabs(value - reference) <= 1e-6L * std::max(std::fabs(reference), 1e-3L * scale);
                };
                EXPECT_TRUE(near(compression, row.compression)) << (double)compression << " " << (double)row.compression;
                EXPECT_TRUE(near(tension, row.tension)) << (double)tension << " " << (double)row.tension;
                if (in.diagram == CompressionDiagram::bilinear) {
                    EXPECT_TRUE(near(moment, row.moment)) << (double)moment << " " << (double)row.moment;
                }
                ++checked;
            }
        }
    EXPECT_GT(checked, 60);
}
