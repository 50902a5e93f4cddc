// The public interface as an outside program uses it (prurez/prurez.h only): what it
// refuses, how its limits end a run, a caller's floating-point state, and a stop asked
// through the one progress callback.

#include "prurez/prurez.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfenv>
#include <limits>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using namespace prurez;

namespace {

// examples/reinforced-beam.txt in the interface's units.
SectionInput reinforcedBeam()
{
    SectionInput in;
    in.material = Material::reinforcedConcrete;
    in.diagram = CompressionDiagram::parabolicRectangular;
    in.fcp = 30;
    in.fct = 2.9L;
    in.E = 32000;
    in.epsCu = 0.0035L;
    in.epsTu = 0.0001L;
    in.epsC1 = 0.002L;
    in.fy = 500;
    in.Es = 200000;
    in.epsSu = 0.01L;
    in.bottomBars = {1000e-6L, 0.05L};
    in.topBars = {400e-6L, 0.05L};
    in.width = 0.3L;
    in.height = 0.5L;
    return in;
}

SectionInput plainBeam()
{
    SectionInput in = reinforcedBeam();
    in.material = Material::plainConcrete;
    in.diagram = CompressionDiagram::bilinear;
    return in;
}

SectionInput fibreBeam()
{
    SectionInput in;
    in.material = Material::fibreConcrete;
    in.fcp = 40;
    in.fct = 3;
    in.E = 34000;
    in.epsCu = 0.0035L;
    in.epsTu = 0.02L;
    in.a = 0.4L;
    in.b = 0.3L;
    in.width = 0.15L;
    in.height = 0.15L;
    return in;
}

Reason reasonOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const Failure& failure) {
        return failure.reason();
    }
    return Reason::other;
}

// A fibre-concrete law for one moment of the inverse analysis.
FibreLaw fibreLaw()
{
    FibreLaw law;
    law.E = 30000;
    law.fcp = 40;
    law.fct = 3;
    law.epsTu = 0.02L;
    law.a = 0.4L;
    law.b = 0.3L;
    return law;
}

// A bending test typed as four points, on a grid of 4^5 combinations.
InverseInput bendingTest()
{
    InverseInput in;
    in.points = {{"5", "0.00001"}, {"14", "0.00004"}, {"14.2", "0.0003"}, {"10.6", "0.0015"}};
    in.test = {"30000", "0.15", "0.15"};
    in.height = "0.15";
    in.width = "0.15";
    in.combinations.fcp = "40";
    in.combinations.ecpm = "0.35";
    in.combinations.E = {"25000", "35000"};
    in.combinations.fct = {"2.5", "4.5"};
    in.combinations.ectm = {"2", "4"};
    in.combinations.a = {"0.2", "0.6"};
    in.combinations.b = {"0.2", "0.6"};
    in.combinations.intermediateCount = "2";
    return in;
}

std::string tsv(const TableTexts& table)
{
    std::ostringstream text;
    table.writeTsv(text);
    return text.str();
}

}  // namespace

TEST(Interface, WhatNoSectionCanBeIsRefusedAtOnceWithItsReason)
{
    SectionInput flat = plainBeam();
    flat.width = 0;
    try {
        SectionAnalysis analysis(flat);
        ADD_FAILURE() << "a width of 0 was taken";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.reason(), Reason::dimensionsNotPositive);
        EXPECT_EQ(failure.message(), "Rozměry průřezu musí být kladná čísla.");
    }
    const SectionAnalysis beam(plainBeam());
    EXPECT_EQ(reasonOf([&] { beam.run(-0.001L); }), Reason::curvatureStepNotPositive);
    EXPECT_EQ(reasonOf([&] { beam.run(0); }), Reason::curvatureStepNotPositive);
    SectionInput noModulus = plainBeam();
    noModulus.E = 0;
    EXPECT_EQ(reasonOf([&] { SectionAnalysis{noModulus}; }), Reason::modulusNotPositive);
    // Fibre concrete has no such refusal: its law divides by E.
    SectionInput fibre = fibreBeam();
    fibre.E = 0;
    EXPECT_EQ(reasonOf([&] { SectionAnalysis{fibre}; }), Reason::divisionByZero);
    SectionInput bars = reinforcedBeam();
    bars.topBars.area = -1e-6L;
    EXPECT_EQ(reasonOf([&] { SectionAnalysis{bars}; }), Reason::topBarAreaNegative);
    // A value that is no number fails at once, as a fault; the interaction diagram
    // drew points that balance nowhere from it.
    SectionInput unlimited = reinforcedBeam();
    unlimited.epsCu = std::numeric_limits<long double>::quiet_NaN();
    EXPECT_EQ(reasonOf([&] { SectionAnalysis{unlimited}.interactionDiagram(3); }), Reason::invalidOperation);
    unlimited = fibreBeam();
    unlimited.b = std::numeric_limits<long double>::infinity();
    EXPECT_EQ(reasonOf([&] { SectionAnalysis{unlimited}; }), Reason::overflow);
    // Nor what no depth profile can be drawn at.
    const MomentCurvatureDiagram run = beam.run(0.001L);
    EXPECT_EQ(reasonOf([&] { beam.depthProfile(run.rows[1], 1); }), Reason::profilePointsOutOfRange);
    EXPECT_EQ(reasonOf([&] { beam.depthProfile(run.rows[1], maximumProfilePoints + 1); }),
              Reason::profilePointsOutOfRange);
    EXPECT_EQ(beam.depthProfile(run.rows[1], 2).depth.size(), 2u);
}

// The one moment of the inverse analysis refuses a beam and a curvature none can have;
// typed test points are numbered 1 … 100.
TEST(Interface, TheInverseAnalysisRefusesWhatNoBeamOrTestCanBe)
{
    const FibreLaw law = fibreLaw();
    EXPECT_EQ(reasonOf([&] { fibreMomentAtCurvature({-0.15L, 0.15L}, law, 0.05L); }), Reason::dimensionsNotPositive);
    EXPECT_EQ(reasonOf([&] { fibreMomentAtCurvature({0.15L, 0}, law, 0.05L); }), Reason::dimensionsNotPositive);
    EXPECT_EQ(reasonOf([&] { fibreMomentAtCurvature({0.15L, 0.15L}, law, -0.05L); }), Reason::curvatureNegative);
    EXPECT_EQ(reasonOf([&] { fibreMomentAtCurvature({0.15L, 0.15L}, law, std::numeric_limits<long double>::quiet_NaN()); }),
              Reason::curvatureNegative);
    EXPECT_EQ(fibreMomentAtCurvature({0.15L, 0.15L}, law, 0), 0.0L);

    InverseAnalysis session;
    session.fields().beam.pointCount = "2";
    session.setTestPointCount();
    EXPECT_EQ(reasonOf([&] { session.setTestPoint(0, {"1", "1"}); }), Reason::tooManyTestPoints);
    EXPECT_EQ(reasonOf([&] { session.setTestPoint(2000000000, {"1", "1"}); }), Reason::tooManyTestPoints);
    session.setTestPoint(2, {"1", "1"});
    EXPECT_EQ(session.testPoints().cell(0, 2), "1");
}

// A strain equal to its limit goes on; the run ends at the first row past it.
TEST(Interface, AStrainEqualToItsLimitContinuesTheRun)
{
    struct Case {
        const char* name;
        SectionInput input;
        long double step;
        RunEnd end;  // the limit tried: εcu (crushed) or εsu (steelTorn)
    };
    const Case cases[] = {{"plain", plainBeam(), 0.00001L, RunEnd::crushed},
                          {"fibre", fibreBeam(), 0.005L, RunEnd::crushed},
                          {"reinforced", reinforcedBeam(), 0.001L, RunEnd::crushed},
                          {"steel", reinforcedBeam(), 0.001L, RunEnd::steelTorn}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const MomentCurvatureDiagram first = momentCurvature(c.input, c.step);
        ASSERT_GE(first.rows.size(), 4u);
        // The strain of the row before the last one computed becomes the limit.
        const size_t equal = first.rows.size() - 3;
        SectionInput limited = c.input;
        if (c.end == RunEnd::crushed)
            limited.epsCu = first.rows[equal].topStrain;
        else
            limited.epsSu = first.rows[equal].bottomBarStrain;
        const MomentCurvatureDiagram again = momentCurvature(limited, c.step);
        EXPECT_EQ(again.outcome.end, c.end);
        EXPECT_EQ(again.outcome.rows, static_cast<int>(equal) + 2);
        EXPECT_EQ(again.outcome.kappa, first.rows[equal + 1].kappa);
    }
}

// The caller's rounding and raised flags change nothing inside, and are as they were
// afterwards.
TEST(Interface, TheCallersFloatingPointStateChangesNothingAndStays)
{
    const MomentCurvatureDiagram section = momentCurvature(reinforcedBeam(), 0.001L);
    const FibreLaw law = fibreLaw();
    const std::optional<long double> moment = fibreMomentAtCurvature({0.15L, 0.15L}, law, 0.05L);
    ASSERT_TRUE(moment);
    InverseAnalysis session('.');
    session.run(bendingTest(), InverseAnalysis::Step::bestFit);
    const std::string deviations = tsv(session.deviationList());
    const SectionAnalysis beam(reinforcedBeam());
    const InteractionDiagram interaction = beam.interactionDiagram(3);
    const DepthProfile profile = beam.depthProfile(section.rows[20], 11, true);
    const std::string tables = tsv(session.moments()) + tsv(session.deviations());
    // Tables that compute their cells when they are read, read in the caller's environment.
    InverseAnalysis notKept('.');
    notKept.run(bendingTest(), InverseAnalysis::Step::bestFit, RunOptions(), InverseAnalysis::Tables::notKept);

    const int faults = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;
    for (int rounding : {FE_TONEAREST, FE_UPWARD, FE_TOWARDZERO}) {
        SCOPED_TRACE(rounding);
        std::feclearexcept(FE_ALL_EXCEPT);
        volatile long double zero = 0;
        volatile long double invalid = zero / zero;  // as float("inf") - float("inf") leaves it
        (void)invalid;
        std::feraiseexcept(FE_DIVBYZERO | FE_OVERFLOW);
        std::fesetround(rounding);

        const MomentCurvatureDiagram again = momentCurvature(reinforcedBeam(), 0.001L);
        ASSERT_EQ(again.rows.size(), section.rows.size());
        for (size_t i = 0; i < section.rows.size(); ++i) {
            EXPECT_EQ(again.rows[i].moment, section.rows[i].moment) << i;
            EXPECT_EQ(again.rows[i].x, section.rows[i].x) << i;
        }
        EXPECT_EQ(fegetround(), rounding);
        EXPECT_EQ(std::fetestexcept(faults), faults);

        EXPECT_EQ(fibreMomentAtCurvature({0.15L, 0.15L}, law, 0.05L), moment);
        EXPECT_EQ(std::fetestexcept(faults), faults);

        const InteractionDiagram interactionAgain = beam.interactionDiagram(3);
        for (const auto& [a, b] : {std::pair{&interactionAgain.positive, &interaction.positive},
                                   std::pair{&interactionAgain.negative, &interaction.negative}})
            for (size_t k = 0; k < 3; ++k) {
                EXPECT_EQ((*a)[k].N, (*b)[k].N) << k;
                EXPECT_EQ((*a)[k].moment, (*b)[k].moment) << k;
            }
        EXPECT_EQ(beam.depthProfile(section.rows[20], 11, true).stress, profile.stress);
        EXPECT_EQ(fegetround(), rounding);
        EXPECT_EQ(std::fetestexcept(faults), faults);

        InverseAnalysis inverse('.');
        EXPECT_EQ(inverse.run(bendingTest(), InverseAnalysis::Step::bestFit), Completion::finished);
        EXPECT_EQ(tsv(inverse.deviationList()), deviations);
        EXPECT_EQ(fegetround(), rounding);
        EXPECT_EQ(std::fetestexcept(faults), faults);

        EXPECT_EQ(tsv(notKept.moments()) + tsv(notKept.deviations()), tables);
        EXPECT_EQ(notKept.deviationList().cell(1, 5), session.deviationList().cell(1, 5));
        EXPECT_EQ(fegetround(), rounding);
        EXPECT_EQ(std::fetestexcept(faults), faults);
    }
    std::fesetround(FE_TONEAREST);
    std::feclearexcept(FE_ALL_EXCEPT);

    // Nor does what the caller's own code raises or sets when the computation calls it.
    RunOptions raising;
    raising.progress = [](long long, long long) {
        std::feraiseexcept(FE_INVALID | FE_OVERFLOW);
        std::fesetround(FE_UPWARD);
        return true;
    };
    std::vector<SectionRow> sunk;
    const RunOutcome watched = beam.run(0.001L, raising, [&](int, const SectionRow& row) {
        sunk.push_back(row);
        std::feraiseexcept(FE_DIVBYZERO);
        std::fesetround(FE_DOWNWARD);
    });
    EXPECT_EQ(watched.end, section.outcome.end);
    ASSERT_EQ(sunk.size(), section.rows.size());
    for (size_t i = 0; i < sunk.size(); ++i)
        EXPECT_EQ(sunk[i].moment, section.rows[i].moment) << i;
    EXPECT_EQ(beam.interactionDiagram(3, raising).positive[1].moment, interaction.positive[1].moment);
    InverseAnalysis watchedInverse('.');
    EXPECT_EQ(watchedInverse.run(bendingTest(), InverseAnalysis::Step::bestFit, raising), Completion::finished);
    EXPECT_EQ(tsv(watchedInverse.deviationList()), deviations);
    std::fesetround(FE_TONEAREST);
    std::feclearexcept(FE_ALL_EXCEPT);
}

// One callback tells the progress from the calling thread and stops the work; the work
// then ends as cancelled and leaves what it would have replaced as it was.
TEST(Interface, AStopAskedThroughTheProgressCallbackEndsAsCancelled)
{
    const std::thread::id caller = std::this_thread::get_id();
    bool elsewhere = false;
    auto stopAt = [&](long long at) {
        RunOptions options;
        options.threads = 2;
        options.progress = [&, at](long long done, long long) {
            elsewhere = elsewhere || std::this_thread::get_id() != caller;
            return done < at;
        };
        return options;
    };

    // The section: the rows so far, ended as cancelled.
    const MomentCurvatureDiagram section = momentCurvature(reinforcedBeam(), 0.00001L, stopAt(100));
    EXPECT_EQ(section.outcome.end, RunEnd::cancelled);
    EXPECT_EQ(section.outcome.rows, 100);
    EXPECT_EQ(section.rows.size(), 100u);

    // The interaction diagram: told the forces done, no points when stopped.
    const SectionAnalysis beam(reinforcedBeam());
    long long forces = 0;
    RunOptions counted = stopAt(1000);
    counted.progress = [&](long long done, long long total) {
        elsewhere = elsewhere || std::this_thread::get_id() != caller;
        forces = std::max(forces, done);
        return done <= total;
    };
    const InteractionDiagram whole = beam.interactionDiagram(5, counted);
    EXPECT_EQ(whole.completion, Completion::finished);
    EXPECT_EQ(forces, 6);  // three between the ends, in both senses of bending
    const InteractionDiagram stopped = beam.interactionDiagram(41, stopAt(2));
    EXPECT_EQ(stopped.completion, Completion::cancelled);
    EXPECT_TRUE(stopped.positive.empty());
    EXPECT_TRUE(stopped.negative.empty());

    // The inverse analysis: each long step.
    InverseAnalysis session('.');
    EXPECT_EQ(session.run(bendingTest(), InverseAnalysis::Step::refinement, stopAt(300)), Completion::cancelled);
    EXPECT_EQ(session.moments().rowCount(), 5);  // as a session starts it
    EXPECT_EQ(session.moments().cell(0, 0), "");
    ASSERT_EQ(session.computeMoments(), Completion::finished);
    const std::string moments = tsv(session.moments());
    EXPECT_EQ(session.computeMoments(stopAt(500)), Completion::cancelled);
    EXPECT_EQ(tsv(session.moments()), moments);
    const std::string before = tsv(session.deviations());
    EXPECT_EQ(session.computeDeviations(stopAt(1)), Completion::cancelled);
    EXPECT_EQ(tsv(session.deviations()), before);
    ASSERT_EQ(session.computeDeviations(), Completion::finished);
    session.fillDeviationList();
    session.findBestFit();
    EXPECT_EQ(session.refine(stopAt(0)), Completion::cancelled);
    EXPECT_FALSE(session.refinedFit());
    EXPECT_EQ(session.refine(), Completion::finished);
    EXPECT_TRUE(session.refinedFit());
    EXPECT_FALSE(elsewhere);
}
