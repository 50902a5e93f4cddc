#include "SectionTestSupport.h"

#include "common/NumberText.h"
#include "flows/SectionMessages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

using namespace prurez;
using namespace sectiontest;

namespace {

// A section so small that the first trial of every scan balances: the neutral axis
// is always 5 µm below the top edge.
SectionTexts tinySection(const std::string& step, const std::string& etu)
{
    SectionTexts f = plainSection(0, step);
    f.width = "0,001";
    f.height = "0,001";
    f.ecu = "100";
    f.etu = etu;
    return f;
}

}  // namespace

TEST(PlainSection, TablesMatchTheIndependentComputation)
{
    // Every cell of the three diagrams on the realistic section, the end row and the
    // row count, against tables worked out with exact fractions rounded per operation.
    const char* names[] = {"plain-bilinear", "plain-parabolic-rectangular", "plain-parabolic"};
    for (int diagram = 0; diagram < 3; ++diagram) {
        SectionRunReport report;
        const GridTable table = run(plainSection(diagram), &report);
        EXPECT_TRUE(report.ran);
        EXPECT_TRUE(report.showResults);
        EXPECT_EQ(report.stopMessage, "");
        EXPECT_EQ(table.toTsv(), referenceTable(names[diagram])) << names[diagram];
        EXPECT_EQ(table.rowCount(), 10);
        EXPECT_EQ(table.cell(6, 9), "Beton roztržen");
    }
    // A finer step: the last row before the tear lies on the softening branch.
    EXPECT_EQ(run(plainSection(0, "0,00002")).toTsv(), referenceTable("plain-bilinear-softening"));
    EXPECT_EQ(run(plainSection(2, "0,00002")).toTsv(), referenceTable("plain-parabolic-softening"));

    // Crushed and torn in the same step under a large compression: only one end row.
    SectionTexts compressed = plainSection(1, "0,01");
    compressed.N = "-3000";
    const GridTable table = run(compressed);
    EXPECT_EQ(table.toTsv(), referenceTable("plain-compressed-crushing"));
    EXPECT_EQ(table.cell(5, 2), "Beton rozdrcen");
    EXPECT_EQ(table.cell(6, 2), "");
}

TEST(PlainSection, FirstRowIsTheUncrackedElasticSection)
{
    // M = E·κ·b·h³/12 = 32000 · 0,00005 · 0,3 · 0,125 / 12 = 0,005 MNm, up to the
    // 1 kN balance tolerance (the neutral axis may sit 4 mm above mid-height).
    for (int diagram = 0; diagram < 3; ++diagram) {
        const GridTable table = run(plainSection(diagram));
        EXPECT_NEAR(static_cast<double>(number(table, 1, 2)), 0.005, 0.005 * 0.002);
        EXPECT_NEAR(static_cast<double>(number(table, 2, 2)), 0.25, 0.005);
        // sigh = E·epsh and sigd = E·epsd, both to 4 decimals.
        EXPECT_NEAR(static_cast<double>(number(table, 3, 2)), 32000.0 * static_cast<double>(number(table, 5, 2)),
                    diagram == 0 ? 0.00006 : 0.002);
        EXPECT_NEAR(static_cast<double>(number(table, 4, 2)), 32000.0 * static_cast<double>(number(table, 6, 2)),
                    0.00006);
    }
}

TEST(PlainSection, ZeroAxialForceBalancesEveryRow)
{
    for (int diagram = 0; diagram < 3; ++diagram) {
        const GridTable table = run(plainSection(diagram, "0,00002"));
        ASSERT_GT(table.rowCount(), 12);
        for (int row = 1; row < table.rowCount() - 1; ++row)
            EXPECT_LT(std::fabs(static_cast<double>(number(table, 7, row) + number(table, 8, row))), 0.00095)
                << "row " << row;
    }
}

TEST(PlainSection, ZeroRowAndSinglePrecisionCurvature)
{
    SectionTexts f = plainSection(0, "0,1");
    f.ecu = "10";
    f.etu = "10";
    const GridTable table = run(f);
    const char* header[] = {"  Křivost", "  Moment", " Neut. osa", " Beton sigh", " Beton sigd", " Beton epsh",
                            " Beton epsd", "       FT", "       FP"};
    const char* zero[] = {"  0", "  0", "0,25", " 0", " 0", " 0", " 0", "0", "0"};
    for (int column = 0; column < 9; ++column) {
        EXPECT_EQ(table.cell(column, 0), header[column]);
        EXPECT_EQ(table.cell(column, 1), zero[column]);
    }
    EXPECT_EQ(table.columnCount(), 9);
    EXPECT_EQ(table.cell(0, 2), "0,100000001490116");
    EXPECT_EQ(table.cell(0, 3), "0,200000002980232");
    // A square takes its edge as the height.
    SectionTexts square = plainSection(0);
    square.shape = 0;
    square.width = "0,3";
    square.height = "";
    EXPECT_EQ(run(square).cell(2, 1), "0,15");
}

TEST(PlainSection, LimitReachedExactlyContinues)
{
    // With the tiny section the bottom strain of step k is (h − 5 µm)·k·Δκ. The
    // ultimate tensile strain is set to exactly the strain of the first step: the
    // run goes on; one unit in the last place less ends it at the first step.
    const long double h = static_cast<float>(0.001L);
    const long double kappa = static_cast<float>(0.01L);
    const long double epsd = (h - 5e-6L) * kappa;
    std::string exact;
    for (long double v = epsd / 0.01L, tries = 0; tries < 200 && exact.empty(); ++tries) {
        for (long double candidate : {v, std::nextafter(v, 1.0L), std::nextafter(v, 0.0L)}) {
            if (candidate * 0.01L == epsd) {
                char text[64];
                std::snprintf(text, sizeof text, "%.30Le", candidate);
                exact = text;
                break;
            }
        }
        v = std::nextafter(std::nextafter(v, 1.0L), 1.0L);
    }
    ASSERT_FALSE(exact.empty());
    ASSERT_EQ(parseNumber(exact, '.') * 0.01L, epsd);

    SectionTexts f = tinySection("0.01", exact);
    for (auto* text : {&f.fcp, &f.fct, &f.E, &f.ecu, &f.ec1OrA, &f.width, &f.height, &f.N})
        for (char& c : *text)
            if (c == ',')
                c = '.';
    SectionRunReport report;
    GridTable table = initialResultsTable();
    runSectionAnalysis(f, '.', table, report);
    EXPECT_EQ(table.rowCount(), 4);  // step 1 at the limit, step 2 beyond it
    EXPECT_EQ(table.cell(6, 3), "Beton roztržen");

    char below[64];
    std::snprintf(below, sizeof below, "%.30Le", std::nextafter(parseNumber(exact, '.'), 0.0L));
    f.etu = below;
    GridTable ended = initialResultsTable();
    runSectionAnalysis(f, '.', ended, report);
    EXPECT_EQ(ended.rowCount(), 3);
}

TEST(PlainSection, RowCountBelowAndAboveElevenSteps)
{
    // Bottom strain of step k: 0,000995·k·0,01 = 9,95E-6·k; εtu between steps 9 and 10,
    // then between steps 10 and 11.
    const GridTable ten = run(tinySection("0,01", "0,0095"));
    EXPECT_EQ(ten.rowCount(), 12);
    EXPECT_EQ(ten.cell(6, 11), "Beton roztržen");

    const GridTable eleven = run(tinySection("0,01", "0,0105"));
    EXPECT_EQ(eleven.rowCount(), 13);
}

TEST(PlainSection, RefusedInputsKeepTheTableOrItsFirstRows)
{
    auto sentinel = [] {
        GridTable table(13, 13);
        table.setCell(0, 0, "old");
        table.setCell(2, 1, "old");
        return table;
    };
    auto failure = [&](const SectionTexts& f, GridTable& table) {
        SectionRunReport report;
        return failureOf([&] { runSectionAnalysis(f, ',', table, report); });
    };

    // Texts read before the table is touched.
    struct Case {
        std::string SectionTexts::*field;
        std::string text;
        std::string message;
    };
    const Case early[] = {
        {&SectionTexts::fcp, "3O", "'3O' is not a valid floating point value"},
        {&SectionTexts::N, "", "'' is not a valid floating point value"},
        {&SectionTexts::E, "32000.5", "'32000.5' is not a valid floating point value"},
        {&SectionTexts::height, "0", sectionMessages::dimensionsNotPositive},
        {&SectionTexts::width, "-0,3", sectionMessages::dimensionsNotPositive},
        {&SectionTexts::E, "0", sectionMessages::modulusNotPositive},
        {&SectionTexts::fcp, "-30", sectionMessages::strengthNotPositive},
        // Beyond the single range: the store overflows where the field is read.
        {&SectionTexts::width, "1E39", "Floating point overflow"},
    };
    for (const Case& c : early) {
        SectionTexts f = plainSection(0);
        f.*(c.field) = c.text;
        GridTable table = sentinel();
        EXPECT_EQ(failure(f, table), c.message);
        EXPECT_EQ(table.cell(0, 0), "old");
        EXPECT_EQ(table.cell(2, 1), "old");
    }

    // The curvature step is read after the header and zero rows are written.
    for (const char* step : {"", "x", "0", "-0,1", "1E-60", "1E39"}) {
        SectionTexts f = plainSection(0, step);
        GridTable table = sentinel();
        const std::string message = failure(f, table);
        if (std::string(step) == "x" || std::string(step).empty())
            EXPECT_EQ(message, "'" + std::string(step) + "' is not a valid floating point value");
        else if (std::string(step) == "1E39")
            EXPECT_EQ(message, "Floating point overflow");
        else
            EXPECT_EQ(message, sectionMessages::stepNotPositive);
        EXPECT_EQ(table.cell(0, 0), "  Křivost");
        EXPECT_EQ(table.cell(2, 1), "0,25");
        EXPECT_EQ(table.rowCount(), 13);
    }
}

TEST(PlainSection, ParabolaEdgeStressIsStoredBeyondThePlateauToo)
{
    // The plain analysis stores σ(epsh) of the parabola before it tells the diagrams
    // apart; far beyond εc1 the store overflows, with the plateau too. The reinforced
    // analysis does not form it on the plateau and runs on with sigh = fcp.
    auto outcome = [](const SectionTexts& f, bool exhaustive, GridTable& table) {
        SectionRunControl control;
        control.run.exhaustiveScan = exhaustive;
        SectionRunReport report;
        const std::string message = failureOf([&] { runSectionAnalysis(f, ',', table, report, control); });
        return message + (report.showResults ? " shown" : "");
    };
    SectionTexts deep = plainSection(1, "0,05");  // strongly compressed, n = 32
    deep.ec1OrA = "3";
    deep.ecu = "100";
    deep.etu = "100";
    deep.N = "-4000";
    for (bool exhaustive : {false, true}) {
        SectionTexts far = plainSection(1, "1E10");
        GridTable table = initialResultsTable();
        EXPECT_EQ(outcome(far, exhaustive, table), "Invalid floating point operation") << exhaustive;
        EXPECT_EQ(table.cell(2, 1), "0,25");

        // Some balanced rows first, then the overflow at a depth the search jumps to.
        GridTable rows = initialResultsTable();
        EXPECT_EQ(outcome(deep, exhaustive, rows), "Invalid floating point operation") << exhaustive;
        EXPECT_EQ(rows.cell(3, 2), "30");
    }

    // The reinforced section of the same concrete runs on (its fast and plain scans are
    // compared elsewhere).
    SectionTexts reinforced = deep;
    reinforced.material = 2;
    reinforced.tension = 0;
    reinforced.fy = "500";
    reinforced.Es = "200000";
    reinforced.esu = "100";
    reinforced.bottomArea = "1000";
    reinforced.bottomDistance = "0,05";
    reinforced.topArea = "400";
    reinforced.topDistance = "0,05";
    GridTable kept = initialResultsTable();
    EXPECT_EQ(outcome(reinforced, false, kept), "(no failure) shown");
    const int last = kept.rowCount() - 1;
    EXPECT_EQ(kept.cell(5, last), "Prvek rozdrcen");
    EXPECT_EQ(kept.cell(3, last - 1), "30");
    EXPECT_GT(number(kept, 5, last - 1), 0.9L);
}

TEST(PlainSection, NoEquilibriumStopsWithTheRowsSoFar)
{
    // A tension of 2000 kN is far beyond the section: the first scan passes the
    // bottom edge without balance.
    SectionTexts f = plainSection(0);
    f.N = "2000";
    SectionRunReport report;
    const GridTable table = run(f, &report);
    EXPECT_TRUE(report.showResults);
    EXPECT_EQ(report.stopMessage, std::string(sectionMessages::noEquilibriumStart) + "4,99999987368938E-5" +
                                      sectionMessages::noEquilibriumEnd);
    EXPECT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.cell(2, 1), "0,25");

    // A compression carried at first and lost later, as the falling parabola softens
    // the top: the balanced rows stay, the first unbalanced curvature is named.
    SectionTexts softening = plainSection(2, "0,004");
    softening.N = "-2000";
    softening.ecu = "2";
    softening.etu = "5";
    const GridTable kept = run(softening, &report);
    ASSERT_FALSE(report.stopMessage.empty());
    EXPECT_EQ(report.stopMessage, std::string(sectionMessages::noEquilibriumStart) + "0,0120000005699694" +
                                      sectionMessages::noEquilibriumEnd);
    ASSERT_EQ(kept.rowCount(), 4);
    for (int row = 2; row < 4; ++row)
        EXPECT_NEAR(static_cast<double>(number(kept, 7, row) + number(kept, 8, row)), -2.0, 0.00095);

    // The chart draws every row computed, the last one too: no end row was written. A
    // run that passed a limit leaves out its end row only.
    LineSeries curve;
    fillWorkingDiagram(kept, ',', curve);
    ASSERT_EQ(curve.points().size(), 3u);
    EXPECT_EQ(curve.points().back().x, number(kept, 0, 3));
    EXPECT_EQ(curve.points().back().y, number(kept, 1, 3));
    const GridTable limited = run(plainSection(0, "0,001"));
    ASSERT_EQ(limited.cell(1, limited.rowCount() - 1), "");
    fillWorkingDiagram(limited, ',', curve);
    EXPECT_EQ(curve.points().size(), static_cast<size_t>(limited.rowCount() - 2));
}

TEST(PlainSection, StepCounterNeverWraps)
{
    // 65535 steps of a tiny section that never reaches a limit.
    SectionRunReport report;
    const GridTable table = run(tinySection("0,0000001", "100"), &report);
    EXPECT_EQ(report.stopMessage, sectionMessages::tooManySteps);
    EXPECT_TRUE(report.showResults);
    EXPECT_EQ(table.rowCount(), 65537);
    EXPECT_NEAR(static_cast<double>(number(table, 0, 65536)), 65535 * 1e-7, 1e-9);
    EXPECT_NE(table.cell(1, 65536), "");
}
