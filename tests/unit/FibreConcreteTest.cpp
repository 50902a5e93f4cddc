// The fibre-concrete law, the fibre-concrete section analysis and the moment of a
// fibre-concrete rectangle at one curvature. Expected cell texts of the realistic
// run and the moments come from tests/reference/fibre_reference.py, which emulates
// the extended, single and fixed-point arithmetic with exact integers.

#include "common/Failure.h"
#include "common/FloatingPoint.h"
#include "common/NumberText.h"
#include "flows/GridTable.h"
#include "flows/SectionFlow.h"
#include "flows/SectionMessages.h"
#include "mechanics/FibreConcreteLaw.h"
#include "mechanics/MomentAtCurvature.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

using namespace prurez;

namespace {

// fcp 40, fct 3, E 34000, εcu 0,35 %, εtu 2 %, a 0,4, b 0,3, 0,15 × 0,15 m, N 0, step 0,01.
SectionTexts realisticSection()
{
    SectionTexts fields;
    fields.material = 1;
    fields.diagram = 0;
    fields.tension = 0;
    fields.shape = 1;
    fields.fcp = "40";
    fields.fct = "3";
    fields.E = "34000";
    fields.ecu = "0,35";
    fields.etu = "2";
    fields.ec1OrA = "0,4";
    fields.b = "0,3";
    fields.width = "0,15";
    fields.height = "0,15";
    fields.N = "0";
    fields.kappaStep = "0,01";
    return fields;
}

// A section that stays elastic: strengths far above what the strains reach; both
// faces reach the same strain, κ·h/2, at every step.
SectionTexts elasticSection()
{
    SectionTexts fields = realisticSection();
    fields.shape = 0;
    fields.fcp = "1000";
    fields.fct = "1000";
    fields.E = "30000";
    fields.width = "0,2";
    return fields;
}

// VÝPOČET on `table`.
SectionRunReport analyse(const SectionTexts& texts, GridTable& table)
{
    SectionRunReport report;
    runSectionAnalysis(texts, ',', table, report);
    return report;
}

std::vector<std::string> row(const GridTable& table, int i)
{
    std::vector<std::string> cells;
    for (int column = 0; column < 9; ++column)
        cells.push_back(table.cell(column, i));
    return cells;
}

long double number(const std::string& text)
{
    std::string point = text;
    for (char& c : point)
        if (c == ',')
            c = '.';
    return std::strtold(point.c_str(), nullptr);
}

}  // namespace

// ------------------------------------------------------------------ the law

TEST(FibreConcreteLaw, SectionHoldsLimitsAndArmsInSinglePrecisionTheInverseAnalysisInExtended)
{
    const FibreConcreteLaw section = sectionFibreLaw(Fixed::store(34000), Fixed::store(40), Fixed::store(3),
                                                     Single(0.4L), Single(0.3L), 0.02L);
    EXPECT_EQ(section.et0, single(3.0L / 34000.0L));
    EXPECT_EQ(section.ec0, single(40.0L / 34000.0L));
    EXPECT_EQ(section.et1, single(3.0L / 34000.0L + single(0.4L) * 3.0L / 34000.0L));
    const FibreTrial trial = fibreTrial(section, 0.15L, 0.15L, 0.05L, 0.03L);
    EXPECT_EQ(trial.compression.arm, single(trial.compression.arm));
    EXPECT_EQ(trial.tension.arm, single(trial.tension.arm));
    const FibreConcreteLaw inverse = extendedFibreLaw(34000, 40, 3, Single(0.4L), Single(0.3L), 0.02L);
    EXPECT_EQ(inverse.et0, 3.0L / 34000.0L);
    const FibreTrial extended = fibreTrial(inverse, 0.15L, 0.15L, 0.05L, 0.03L);
    EXPECT_NE(extended.tension.arm, single(extended.tension.arm));
    EXPECT_NE(extended.compression.arm, single(extended.compression.arm));
    EXPECT_NE(extended.tension.force, trial.tension.force) << "limits and excesses differ in precision";
}

// ------------------------------------------------------------------ the section analysis

TEST(FibreConcreteAnalysis, RealisticRunMatchesIndependentlyComputedRows)
{
    GridTable table(13, 13);
    const SectionRunReport report = analyse(realisticSection(), table);
    EXPECT_TRUE(report.ran);
    EXPECT_TRUE(report.showResults);
    EXPECT_EQ(report.stopMessage, "");

    EXPECT_EQ(table.columnCount(), 9);
    EXPECT_EQ(row(table, 0), (std::vector<std::string>{"  Křivost", "  Moment", " Neut. osa", " Beton sigh",
                                                        " Beton sigd", " Beton epsh", " Beton epsd", "       FT",
                                                        "       FP"}));
    // κ = 0: no zero row before it, every value "0", x = h/2.
    EXPECT_EQ(row(table, 1), (std::vector<std::string>{"0", "0", "0,075", "0", "0", "0", "0", "0", "0"}));
    EXPECT_EQ(row(table, 2),
              (std::vector<std::string>{"0,00999999977648258", "0,00254888601355917", "0,0352", "-11,9527", "1,7536",
                                        "0,000351550021944567", "0,00114845000413246", "0,030572006446853",
                                        "-0,0315147935286483"}));
    EXPECT_EQ(row(table, 3),
              (std::vector<std::string>{"0,0199999995529652", "0,00263928726455372", "0,0256", "-17,4352", "1,693",
                                        "0,00051280004814267", "0,00248720000401139", "0,032588840693953",
                                        "-0,0335278979770142"}));
    EXPECT_EQ(row(table, 5),
              (std::vector<std::string>{"0,0399999991059303", "0,00262058612740527", "0,0183", "-24,9152", "1,5671",
                                        "0,000732800102829931", "0,00526720000147819", "0,0332875349588615",
                                        "-0,0342334965331019"}));
    EXPECT_EQ(row(table, 8),
              (std::vector<std::string>{"0,0699999984353781", "0,00248113015660524", "0,0137", "-32,5703", "1,3735",
                                        "0,000957950187204401", "0,00954204999533481", "0,0324901092625639",
                                        "-0,0334293568037192"}));
    // Step 16 (κ ≈ 0,15) tears the bottom face; top stress had reached -fcp.
    EXPECT_EQ(row(table, 16), (std::vector<std::string>{"0,149999996647239", "", "", "", "", "", "bet.roztržen",
                                                         "", ""}));
    EXPECT_EQ(table.rowCount(), 17);

    // Signs on every computed row; the top stress is -E·epsh or -fcp.
    for (int i = 1; i < 16; ++i) {
        const long double sigh = number(table.cell(3, i)), FT = number(table.cell(7, i)),
                          FP = number(table.cell(8, i));
        EXPECT_LE(sigh, 0) << i;
        EXPECT_GE(sigh, -40) << i;
        EXPECT_GE(FT, 0) << i;
        EXPECT_LE(FP, 0) << i;
        EXPECT_LE(std::fabs(FT + FP), 0.00095L) << i;
        if (i > 1) {
            EXPECT_LT(sigh, 0) << i;
            EXPECT_GT(number(table.cell(1, i)), 0) << i;
        }
    }
}

TEST(FibreConcreteAnalysis, UncrackedSectionBalancesAtMidHeightWithTheElasticMoment)
{
    SectionTexts fields = elasticSection();
    fields.height = "0,3";
    fields.shape = 1;  // 0,2 wide, 0,3 high
    fields.kappaStep = "0,001";
    fields.etu = "0,02";  // ends after a few steps
    fields.ecu = "10";
    GridTable table;
    analyse(fields, table);
    ASSERT_GE(table.rowCount(), 4);
    for (int i = 1; i < table.rowCount() - 1; ++i) {
        EXPECT_EQ(table.cell(2, i), "0,15") << i;
        const long double kappa = number(table.cell(0, i));
        // w and h as held (single); the lever arms are single too (relative 2^-23).
        const long double w = single(0.2L), h = single(0.3L);
        const long double elastic = 30000 * kappa * w * h * h * h / 12;
        EXPECT_NEAR(number(table.cell(1, i)), elastic, 1.2e-7L * elastic) << i;
        EXPECT_EQ(number(table.cell(7, i)), -number(table.cell(8, i))) << i;
        EXPECT_EQ(number(table.cell(3, i)), -number(table.cell(4, i))) << i;
    }
}

TEST(FibreConcreteAnalysis, EndRowsAndRowCounts)
{
    struct Case {
        const char* ultimateTension;
        const char* ultimateCompression;
        int rows;
        int textColumn;
        const char* text;
    };
    // Elastic, N = 0: both faces reach κ·0,1 = (i − 1)·0,001 at step i.
    const Case cases[] = {
        {"0,95", "10", 12, 6, "bet.roztržen"},
        {"1,05", "10", 13, 6, "bet.roztržen"},
        {"10", "0,95", 12, 5, "bet.rozdrcen"},
        {"0,95", "0,95", 12, 5, "bet.rozdrcen"},  // both in one step
    };
    for (const Case& c : cases) {
        SectionTexts fields = elasticSection();
        fields.etu = c.ultimateTension;
        fields.ecu = c.ultimateCompression;
        GridTable table(13, 40);
        for (int i = 0; i < 40; ++i)
            table.setCell(8, i, "old");
        analyse(fields, table);
        const int last = c.rows - 1;
        EXPECT_EQ(table.rowCount(), c.rows) << c.text;
        for (int column = 1; column < 9; ++column)
            EXPECT_EQ(table.cell(column, last), column == c.textColumn ? c.text : "") << column;
        EXPECT_NEAR(number(table.cell(0, last)), number(table.cell(0, 2)) * (last - 1), 1e-12L);
        EXPECT_NE(table.cell(8, last - 1), "old");
        EXPECT_EQ(table.cell(8, c.rows), "old");  // beyond the rows: not cleared
    }
}

TEST(FibreConcreteAnalysis, DegenerateInputsFailWithTheFloatingPointMessages)
{
    struct Case {
        std::function<void(SectionTexts&)> change;
        const char* message;
    };
    const Case cases[] = {
        {[](SectionTexts& f) { f.E = "0"; }, "Floating point division by zero"},
        {[](SectionTexts& f) { f.E = "0"; f.fcp = "0"; }, "Invalid floating point operation"},
        {[](SectionTexts& f) { f.fct = "0"; }, "Invalid floating point operation"},
        // fct/E = 1/1024 exactly, a = 0: εt1 = 0,0009765625 = εtu.
        {[](SectionTexts& f) { f.fct = "1"; f.E = "1024"; f.ec1OrA = "0"; f.etu = "0,09765625"; },
         "Floating point division by zero"},
    };
    for (const Case& c : cases) {
        SectionTexts fields = realisticSection();
        c.change(fields);
        GridTable table(13, 13);
        EXPECT_EQ(failureOf([&] { analyse(fields, table); }), c.message);
        EXPECT_EQ(table.cell(0, 0), "  Křivost");  // the header was written before
    }
}

TEST(FibreConcreteAnalysis, RefusalsAndParseFailuresInReadingOrder)
{
    {
        SectionTexts fields = realisticSection();
        fields.height = "0";
        GridTable table(13, 13);
        EXPECT_EQ(failureOf([&] { analyse(fields, table); }),
                  sectionMessages::dimensionsNotPositive);
        EXPECT_EQ(table.cell(0, 0), "");  // the table untouched
        EXPECT_EQ(table.columnCount(), 13);
        // A bad axial force text is read before the dimensions are judged.
        fields.N = "x";
        EXPECT_EQ(failureOf([&] { analyse(fields, table); }),
                  "'x' is not a valid floating point value");
    }
    {
        SectionTexts fields = realisticSection();
        fields.ec1OrA = "0.4";  // read first
        fields.E = "";
        GridTable table(13, 13);
        EXPECT_EQ(failureOf([&] { analyse(fields, table); }),
                  "'0.4' is not a valid floating point value");
        EXPECT_EQ(table.cell(0, 0), "");
    }
    {
        SectionTexts fields = realisticSection();
        fields.shape = 0;  // square: the edge is the height; the height text is not read
        fields.height = "nonsense";
        GridTable table(13, 13);
        EXPECT_NO_THROW(analyse(fields, table));
        EXPECT_EQ(table.cell(2, 1), "0,075");
    }
    for (const char* step : {"0", "-0,01", ""}) {
        SectionTexts fields = realisticSection();
        fields.kappaStep = step;
        GridTable table(13, 13);
        EXPECT_EQ(failureOf([&] { analyse(fields, table); }),
                  *step ? std::string(sectionMessages::stepNotPositive) : "'' is not a valid floating point value");
        EXPECT_EQ(table.cell(8, 0), "       FP");  // the header was written before the step
    }
}

TEST(FibreConcreteAnalysis, NoEquilibriumStopsTheRunKeepingTheRowsSoFar)
{
    for (const char* force : {"5", "-50", "1"}) {
        SectionTexts fields = realisticSection();
        fields.N = force;
        GridTable table(13, 13);
        const SectionRunReport report = analyse(fields, table);
        EXPECT_TRUE(report.ran);
        EXPECT_TRUE(report.showResults);
        EXPECT_EQ(report.stopMessage, std::string(sectionMessages::noEquilibriumStart) + "0" +
                                          sectionMessages::noEquilibriumEnd);
        EXPECT_EQ(table.rowCount(), 1);
    }
    // Below 1 kN the first step balances at mid-height.
    SectionTexts fields = realisticSection();
    fields.N = "0,9";
    GridTable table(13, 13);
    EXPECT_EQ(analyse(fields, table).stopMessage, "");
    EXPECT_EQ(table.cell(2, 1), "0,075");
}

TEST(FibreConcreteAnalysis, MoreStepsThanTheRowCounterHoldsStopTheRun)
{
    SectionTexts fields = elasticSection();
    fields.ecu = "10";
    fields.etu = "10";
    fields.kappaStep = "0,000001";  // 65535 steps reach κ ≈ 0,0655, strains ≈ 0,0066
    GridTable table(13, 13);
    const SectionRunReport report = analyse(fields, table);
    EXPECT_EQ(report.stopMessage, sectionMessages::tooManySteps);
    EXPECT_TRUE(report.showResults);
    EXPECT_EQ(table.rowCount(), 65536);
    EXPECT_NE(table.cell(1, 65535), "");
    EXPECT_EQ(table.cell(0, 65536), "");
}

// ------------------------------------------------------------------ the moment at a curvature

namespace {

std::optional<long double> momentAt(long double E, long double fcp, long double fct, long double a, long double b,
                                    long double etu, long double kappa)
{
    return MomentAtCurvature(BeamSection{Single(0.15L), Single(0.15L)},
                             FibreParameters{E, fcp, fct, Single(a), Single(b), etu}, Single(kappa));
}

std::string text(const std::optional<long double>& value)
{
    return value ? formatNumber(*value, ',') : "(none)";
}

}  // namespace

TEST(MomentAtCurvature, ZeroAndElasticCurvatures)
{
    EXPECT_EQ(text(momentAt(30000, 40, 3, 0.4L, 0.3L, 0.02L, 0)), "0");
    const long double kappa = single(0.0001L);  // faces at 7,5e-6, far below fct/E = 1e-4
    const long double h = single(0.15L), w = single(0.15L);
    const long double elastic = 1000 * 30000 * w * h * h * h * kappa / 12;
    const std::optional<long double> moment = momentAt(30000, 40, 3, 0.4L, 0.3L, 0.02L, 0.0001L);
    ASSERT_TRUE(moment);
    EXPECT_NEAR(*moment, elastic, 1e-15L * elastic);
    // Compressive strength below the tensile: no position balances.
    EXPECT_EQ(text(momentAt(30000, 1, 30, 0, 1, 0.02L, 0.05L)), "(none)");
    // A section of no height: the first position, h/2 = 0 at the face, balances.
    for (bool exhaustive : {false, true}) {
        ScanOptions options;
        options.exhaustiveScan = exhaustive;
        EXPECT_EQ(text(MomentAtCurvature(BeamSection{Single(0.15L), Single(0.0L)},
                                         FibreParameters{30000, 40, 3, Single(0.4L), Single(0.3L), 0.02L},
                                         Single(0.01L), options)),
                  "0");
    }
}

TEST(MomentAtCurvature, ScansMatchAnIndependentComputationOfTheSameScan)
{
    struct Case {
        long double a, b, kappa;
        const char* expected;
    };
    // E 30000, fcp 40, fct 3, εtu 0,02 on a 0,15 × 0,15 m section.
    const Case cases[] = {
        {0.4L, 0.3L, 0.002L, "2,08232063496333"},
        {0.4L, 0.3L, 0.01L, "2,52277093926456"},
        {0.4L, 0.3L, 0.05L, "2,57440145216823"},    // thousands of trials
        {0.0L, 0.3L, 0.05L, "3,97325562322135"},      // a = 0: no steep branch
        {0.4L, 0.6L, 0.05L, "2,85421785991156"},     // b = 1 − a: constant beyond εt1
        {0.4L, 0.3L, 0.25L, "1,26027618471816"},    // tensioned face beyond εtu
        {0.4L, 0.3L, 0.5L, "-0,949170124582167"},      // and further, below zero
    };
    for (const Case& c : cases)
        EXPECT_EQ(text(momentAt(30000, 40, 3, c.a, c.b, 0.02L, c.kappa)), c.expected)
            << (double)c.a << " " << (double)c.b << " " << (double)c.kappa;
}

TEST(MomentAtCurvature, DegenerateInputsFail)
{
    EXPECT_EQ(failureOf([] { momentAt(0, 40, 3, 0.4L, 0.3L, 0.02L, 0.01L); }), "Floating point division by zero");
    EXPECT_EQ(failureOf([] { momentAt(0, 0, 0, 0.4L, 0.3L, 0.02L, 0.01L); }), "Invalid floating point operation");
    // εtu = εt1 = 1/1024 with a = 0, once the face passes it.
    EXPECT_EQ(failureOf([] { momentAt(1024, 40, 1, 0, 0.3L, 1.0L / 1024, 0.05L); }),
              "Floating point division by zero");
}
