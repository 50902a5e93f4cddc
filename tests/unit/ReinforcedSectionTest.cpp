#include "SectionTestSupport.h"

#include "common/NumberText.h"
#include "flows/SectionMessages.h"
#include "mechanics/ConcreteLaws.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace prurez;
using namespace sectiontest;

TEST(ReinforcedSection, TablesMatchTheIndependentComputation)
{
    struct Case {
        const char* name;
        int diagram;
        int tension;
        const char* N;
        const char* step;
    };
    const Case cases[] = {
        {"reinforced-bilinear-tension", 0, 0, "0", "0,001"},
        {"reinforced-parabolic-rectangular-no-tension", 1, 1, "0", "0,001"},
        {"reinforced-parabolic-tension", 2, 0, "0", "0,001"},
        {"reinforced-compressed-crushing", 1, 0, "-1500", "0,002"},
        {"reinforced-both-limits", 0, 0, "0", "0,1"},
    };
    for (const Case& c : cases) {
        SectionTexts f = reinforcedBeam(c.diagram, c.tension);
        f.N = c.N;
        f.kappaStep = c.step;
        SectionRunReport report;
        const GridTable table = run(f, &report);
        EXPECT_EQ(report.stopMessage, "");
        EXPECT_EQ(table.toTsv(), referenceTable(c.name)) << c.name;
    }
    // A finer step through the uncracked, softening and torn tension: the first rows.
    for (int diagram : {0, 2}) {
        SectionTexts f = reinforcedBeam(diagram, 0);
        f.kappaStep = "0,0001";
        GridTable table = run(f);
        table.setRowCount(30);
        EXPECT_EQ(table.toTsv(), referenceTable(diagram == 0 ? "reinforced-bilinear-first-rows"
                                                             : "reinforced-parabolic-first-rows"));
    }

    // The bottom steel tears in the beam; both limits at once say crushed.
    const GridTable torn = run(reinforcedBeam(0, 0));
    EXPECT_EQ(torn.cell(10, torn.rowCount() - 1), "Prvek roztržen");
    SectionTexts coarse = reinforcedBeam(0, 0);
    coarse.kappaStep = "0,1";
    const GridTable both = run(coarse);
    ASSERT_EQ(both.rowCount(), 3);
    EXPECT_EQ(both.cell(5, 2), "Prvek rozdrcen");
    EXPECT_EQ(both.cell(10, 2), "");
}

TEST(ReinforcedSection, ZeroRowFirstRowAndYieldedSteel)
{
    const GridTable table = run(reinforcedBeam(1, 0));
    EXPECT_EQ(table.columnCount(), 13);
    const char* zero[] = {"  0", "  0", "0,25", " 0", " 0", " 0", " 0", "0", "0", "0", "0", "0", "0"};
    for (int column = 0; column < 13; ++column)
        EXPECT_EQ(table.cell(column, 1), zero[column]);
    EXPECT_EQ(table.cell(7, 0), "Výztuž sigh");
    EXPECT_EQ(table.cell(12, 0), "Tah. síla");
    EXPECT_EQ(table.cell(0, 2), "0,00100000004749745");

    // Steel strain beyond fy/Es = 0,0025 on the yielding side: exactly fy.
    bool yielded = false;
    for (int row = 2; row < table.rowCount() - 1; ++row) {
        if (number(table, 10, row) > 0.0025L) {
            EXPECT_EQ(table.cell(8, row), "500");
            yielded = true;
        }
        // Each row balances: compression + tension within 1 kN of N = 0.
        EXPECT_LT(std::fabs(static_cast<double>(number(table, 11, row) + number(table, 12, row))), 0.00095);
    }
    EXPECT_TRUE(yielded);

    // Top steel yields in compression under a large axial compression.
    SectionTexts compressed = reinforcedBeam(1, 0);
    compressed.N = "-1500";
    compressed.kappaStep = "0,002";
    const GridTable c = run(compressed);
    EXPECT_EQ(c.cell(7, c.rowCount() - 2), "500");
    EXPECT_EQ(c.cell(5, c.rowCount() - 1), "Prvek rozdrcen");
}

TEST(ReinforcedSection, ConcreteTensionSwitchAndCrackMarks)
{
    // Tension off: sigd "0" while uncracked, the tensile force is the bottom steel's
    // alone (1000 mm2 · σsd); cracked rows keep "trhlina" and an empty sigd.
    SectionTexts off = reinforcedBeam(0, 1);
    off.kappaStep = "0,0001";
    const GridTable table = run(off);
    bool sawUncracked = false;
    bool sawCracked = false;
    for (int row = 2; row < table.rowCount() - 1; ++row) {
        const long double steelForce = 0.001L * number(table, 8, row);
        EXPECT_NEAR(static_cast<double>(number(table, 12, row)), static_cast<double>(steelForce), 1e-7);
        if (table.cell(6, row) == "trhlina") {
            EXPECT_EQ(table.cell(4, row), "");
            sawCracked = true;
        } else {
            EXPECT_EQ(table.cell(4, row), "0");
            EXPECT_LT(number(table, 6, row), 0.0001L);
            sawUncracked = true;
        }
    }
    EXPECT_TRUE(sawUncracked);
    EXPECT_TRUE(sawCracked);

    // Tension on: the run goes on well beyond the first crack.
    SectionTexts on = reinforcedBeam(0, 0);
    on.kappaStep = "0,0001";
    const GridTable withTension = run(on);
    int firstCrack = 0;
    for (int row = 2; row < withTension.rowCount() && firstCrack == 0; ++row)
        if (withTension.cell(6, row) == "trhlina")
            firstCrack = row;
    ASSERT_GT(firstCrack, 2);
    EXPECT_NE(withTension.cell(4, firstCrack - 1), "");
    EXPECT_NE(withTension.cell(4, firstCrack - 1), "0");
    EXPECT_GT(withTension.rowCount(), firstCrack + 5);
}

TEST(ReinforcedSection, CrackedTensionBranchesMeetAtTheUltimateStrain)
{
    for (LawGrouping grouping : {LawGrouping::plainConcrete, LawGrouping::reinforcedConcrete}) {
        ConcreteProperties c;
        c.fcp = Fixed::store(30);
        c.fct = Fixed::store(2.9L);
        c.E = Fixed::store(32000);
        c.epsC1 = 0.002L;
        c.epsT0 = static_cast<float>(2.9L / 32000.0L);
        c.epsTu = 0.0001L;
        c.width = Single(0.3L);
        c.grouping = grouping;
        const long double kappa = 0.001L;
        const long double xt = c.epsTu / kappa;
        const SofteningTension tension(c);
        const TensionZone softened = tension.zone(xt, kappa, c.epsTu);
        const TensionZone torn = tension.zone(xt, kappa, std::nextafter(c.epsTu, 1.0L));
        EXPECT_EQ(softened.sigd.raw(), 0);
        EXPECT_EQ(torn.sigd.raw(), 0);
        EXPECT_NEAR(static_cast<double>(softened.FT), static_cast<double>(torn.FT), 1e-9);
        EXPECT_NEAR(static_cast<double>(softened.Mt), static_cast<double>(torn.Mt), 1e-9);
        // ½·fct·b·εtu/κ: the whole triangle from the neutral axis down to the torn edge.
        EXPECT_NEAR(static_cast<double>(torn.FT), 0.5 * 2.9 * 0.3 * 0.1, 1e-7);
    }
}

TEST(ReinforcedSection, RowCountAroundElevenSteps)
{
    // A tiny section with no bars at the edge: εsd = (h − 5 µm)·κ; the run ends when
    // it passes εsu, set between steps 9 and 10, then between 10 and 11.
    auto tiny = [](const std::string& esu) {
        SectionTexts f = reinforcedBeam(0, 0);
        f.width = "0,001";
        f.height = "0,001";
        f.bottomArea = "0";
        f.topArea = "0";
        f.bottomDistance = "0";
        f.topDistance = "0";
        f.ecu = "100";
        f.esu = esu;
        f.kappaStep = "0,01";
        return f;
    };
    const GridTable ten = run(tiny("0,0095"));
    EXPECT_EQ(ten.rowCount(), 12);
    EXPECT_EQ(ten.cell(10, 11), "Prvek roztržen");
    const GridTable eleven = run(tiny("0,0105"));
    EXPECT_EQ(eleven.rowCount(), 13);
}

TEST(ReinforcedSection, FailuresAndStops)
{
    // All fields but the step are read before the table is touched.
    SectionTexts badSteel = reinforcedBeam(0, 0);
    badSteel.topArea = "4OO";
    GridTable table = initialResultsTable();
    table.setCell(0, 0, "old");
    SectionRunReport report;
    EXPECT_EQ(failureOf([&] { runSectionAnalysis(badSteel, ',', table, report); }),
              "'4OO' is not a valid floating point value");
    EXPECT_EQ(table.cell(0, 0), "old");
    // A negative bar area is no section: refused before the table, naming its layer.
    SectionTexts negative = reinforcedBeam(0, 0);
    negative.bottomArea = "-1";
    EXPECT_EQ(failureOf([&] { runSectionAnalysis(negative, ',', table, report); }),
              sectionMessages::bottomAreaNegative);
    negative = reinforcedBeam(0, 0);
    negative.topArea = "-1";
    EXPECT_EQ(failureOf([&] { runSectionAnalysis(negative, ',', table, report); }), sectionMessages::topAreaNegative);
    EXPECT_EQ(table.cell(0, 0), "old");

    SectionTexts badStep = reinforcedBeam(0, 0);
    badStep.kappaStep = "0";
    EXPECT_EQ(failureOf([&] { runSectionAnalysis(badStep, ',', table, report); }), sectionMessages::stepNotPositive);
    EXPECT_EQ(table.cell(0, 0), "  Křivost");
    EXPECT_EQ(table.cell(12, 1), "0");

    // The yield strain fy / Es is formed before the step is read: a zero steel modulus
    // fails there, whatever the step holds.
    SectionTexts noModulus = reinforcedBeam(0, 0);
    noModulus.Es = "0";
    noModulus.kappaStep = "x";
    table.setCell(0, 0, "old");
    EXPECT_EQ(failureOf([&] { runSectionAnalysis(noModulus, ',', table, report); }), "Floating point division by zero");
    EXPECT_EQ(table.cell(0, 0), "  Křivost");

    // A tension beyond bars and concrete together.
    SectionTexts pulled = reinforcedBeam(0, 0);
    pulled.N = "5000";
    const GridTable stopped = run(pulled, &report);
    EXPECT_EQ(report.stopMessage, std::string(sectionMessages::noEquilibriumStart) + "0,00100000004749745" +
                                      sectionMessages::noEquilibriumEnd);
    EXPECT_EQ(stopped.rowCount(), 2);
}
