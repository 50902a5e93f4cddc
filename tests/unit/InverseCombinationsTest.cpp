// Parameter combinations, the moment of every combination, deviations and best fit.

#include "common/Failure.h"
#include "flows/GridTable.h"
#include "flows/InverseFlow.h"
#include "flows/InverseMessages.h"
#include "flows/LineSeries.h"
#include "flows/OrderedRows.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <ctime>
#include <cmath>
#include <functional>
#include <new>
#include <string>
#include <utility>
#include <vector>

using namespace prurez;

namespace {

CombinationTexts fieldsWith(const std::string& n)
{
    CombinationTexts fields;
    fields.fcp = "30";
    fields.ecpm = "0,35";
    fields.E.min = "28000";
    fields.E.max = "34000";
    fields.fct.min = "3";
    fields.fct.max = "4";
    fields.ectm.min = "2";
    fields.ectm.max = "3";
    fields.a.min = "0,2";
    fields.a.max = "0,4";
    fields.b.min = "0,3";
    fields.b.max = "0,5";
    fields.intermediateCount = n;
    return fields;
}

// The parameter texts E, fct, ectm, a, b of a combination row.
std::array<std::string, 5> parametersOf(const TextTable& combinations, int row)
{
    return {combinations.cell(1, row), combinations.cell(3, row), combinations.cell(5, row), combinations.cell(6, row),
            combinations.cell(7, row)};
}

}  // namespace

TEST(Combinations, NoIntermediateValuesGiveThe32CombinationsOfMinAndMax)
{
    GridTable values(5, 5);
    CombinationTable combinations(8, 20);
    generateCombinations(fieldsWith("0"), values, combinations, ',');
    const std::array<const char*, 8> headers{" kombinace", "   E [MPa]",  "  fcp [MPa]", "  fct [MPa]",
                                             "  ecpm [%]", "  ectm [%]", "        a",   "        b"};
    for (int column = 0; column < 8; ++column)
        EXPECT_EQ(combinations.cell(column, 0), headers[static_cast<size_t>(column)]);
    EXPECT_EQ(combinations.rowCount(), 33);
    EXPECT_EQ(values.rowCount(), 2);
    using Row = std::array<std::string, 5>;
    EXPECT_EQ(parametersOf(combinations, 1), (Row{"28000", "3", "2", "0,2", "0,3"}));
    EXPECT_EQ(parametersOf(combinations, 2), (Row{"28000", "3", "2", "0,2", "0,5"}));
    EXPECT_EQ(parametersOf(combinations, 3), (Row{"28000", "3", "2", "0,4", "0,3"}));
    EXPECT_EQ(parametersOf(combinations, 17), (Row{"34000", "3", "2", "0,2", "0,3"}));
    EXPECT_EQ(parametersOf(combinations, 32), (Row{"34000", "4", "3", "0,4", "0,5"}));
    for (int row = 1; row <= 32; ++row) {
        EXPECT_EQ(combinations.cell(0, row), std::to_string(row));
        EXPECT_EQ(combinations.cell(2, row), "30");
        EXPECT_EQ(combinations.cell(4, row), "0,35");
    }
}

TEST(Combinations, EvenlySpacedValuesSlowestEFastestB)
{
    GridTable values(5, 5);
    CombinationTable combinations(8, 20);
    CombinationTexts fields = fieldsWith("1");
    fields.E.min = "20000";
    fields.E.max = "40000";
    fields.fcp = "30,0";
    generateCombinations(fields, values, combinations, ',');
    EXPECT_EQ(combinations.rowCount(), 244);
    for (int row = 1; row <= 243; ++row) {
        EXPECT_EQ(combinations.cell(0, row), std::to_string(row));
        EXPECT_EQ(combinations.cell(1, row), row <= 81 ? "20000" : row <= 162 ? "30000" : "40000");
        EXPECT_EQ(combinations.cell(2, row), "30");
    }

    fields = fieldsWith("2");
    fields.b.min = "0,1";
    fields.b.max = "0,4";
    generateCombinations(fields, values, combinations, ',');
    EXPECT_EQ(combinations.rowCount(), 1025);
    EXPECT_EQ(values.rowCount(), 4);
    const std::array<const char*, 4> b{"0,1", "0,2", "0,3", "0,4"};
    for (int row = 1; row <= 4; ++row) {
        EXPECT_EQ(combinations.cell(7, row), b[static_cast<size_t>(row - 1)]);
        EXPECT_EQ(combinations.cell(6, row), "0,2");
    }
    EXPECT_EQ(combinations.cell(7, 5), "0,1");
    EXPECT_EQ(combinations.cell(6, 5), "0,266666666666667");
    EXPECT_EQ(values.cell(3, 1), "0,266666666666667");
    EXPECT_EQ(values.cell(0, 2), "32000");
    EXPECT_EQ(parametersOf(combinations, 1024), (std::array<std::string, 5>{"34000", "4", "3", "0,4", "0,4"}));

    // The step is formed first, then scaled by k, then the minimum added; min + (max − min)·k / 9
    // would end in …74101 (both worked out in 64-bit-mantissa arithmetic).
    fields = fieldsWith("8");
    fields.b.min = "0,426866604913076";
    fields.b.max = "6,729142092396863";
    generateCombinations(fields, values, combinations, ',');
    EXPECT_EQ(values.cell(4, 3), "2,527625100741");
    EXPECT_EQ(combinations.cell(7, 4), "2,527625100741");
}

TEST(Combinations, MinAboveMaxRunsDownAndEqualEndsRepeat)
{
    GridTable values(5, 5);
    CombinationTable combinations(8, 20);
    CombinationTexts fields = fieldsWith("2");
    fields.b.min = "0,4";
    fields.b.max = "0,1";
    fields.a.min = "0,25";
    fields.a.max = "0,25";
    generateCombinations(fields, values, combinations, ',');
    const std::array<const char*, 4> b{"0,4", "0,3", "0,2", "0,1"};
    for (int row = 1; row <= 16; ++row) {
        EXPECT_EQ(combinations.cell(7, row), b[static_cast<size_t>((row - 1) % 4)]);
        EXPECT_EQ(combinations.cell(6, row), "0,25");
    }
}

TEST(Combinations, ABadFieldStopsAfterTheHeaders)
{
    using Text = std::string& (*)(CombinationTexts&);
    const std::vector<std::pair<Text, std::string>> order{
        {[](CombinationTexts& t) -> std::string& { return t.fcp; }, "'a5' is not a valid floating point value"},
        {[](CombinationTexts& t) -> std::string& { return t.ecpm; }, "'a6' is not a valid floating point value"},
        {[](CombinationTexts& t) -> std::string& { return t.E.min; }, "'a7' is not a valid floating point value"},
        {[](CombinationTexts& t) -> std::string& { return t.E.max; }, "'a12' is not a valid floating point value"},
        {[](CombinationTexts& t) -> std::string& { return t.fct.min; }, "'a8' is not a valid floating point value"},
        {[](CombinationTexts& t) -> std::string& { return t.fct.max; }, "'a13' is not a valid floating point value"},
        {[](CombinationTexts& t) -> std::string& { return t.ectm.min; }, "'a9' is not a valid floating point value"},
        {[](CombinationTexts& t) -> std::string& { return t.ectm.max; }, "'a14' is not a valid floating point value"},
        {[](CombinationTexts& t) -> std::string& { return t.a.min; }, "'a10' is not a valid floating point value"},
        {[](CombinationTexts& t) -> std::string& { return t.a.max; }, "'a15' is not a valid floating point value"},
        {[](CombinationTexts& t) -> std::string& { return t.b.min; }, "'a11' is not a valid floating point value"},
        {[](CombinationTexts& t) -> std::string& { return t.b.max; }, "'a16' is not a valid floating point value"},
        {[](CombinationTexts& t) -> std::string& { return t.intermediateCount; },
         "'a17' is not a valid integer value"},
    };
    // Every text from the i-th on is bad: the i-th is named.
    for (size_t first = 0; first < order.size(); ++first) {
        CombinationTexts fields = fieldsWith("0");
        for (size_t i = first; i < order.size(); ++i)
            order[i].first(fields) = "a" + order[i].second.substr(2, order[i].second.find('\'', 1) - 2);
        GridTable values(5, 5);
        CombinationTable combinations(8, 20);
        EXPECT_EQ(failureOf([&] { generateCombinations(fields, values, combinations, ','); }), order[first].second);
        EXPECT_EQ(combinations.cell(1, 0), "   E [MPa]");
        EXPECT_EQ(combinations.rowCount(), 20);
        EXPECT_EQ(combinations.cell(0, 1), "");
        EXPECT_EQ(values.rowCount(), 5);
    }
}

TEST(Combinations, CountsOutsideTheComputableRangeAreRefused)
{
    const std::string message = intermediateValueCountMessage();
    EXPECT_NE(message.find("od 0 do " + std::to_string(maximumIntermediateValueCount)), std::string::npos);
    for (const std::string n : {"-1", "25", "71", "256", "257", "100"}) {
        SCOPED_TRACE(n);
        GridTable values(5, 5);
        CombinationTable combinations(8, 20);
        EXPECT_EQ(failureOf([&] { generateCombinations(fieldsWith(n), values, combinations, ','); }), message);
        EXPECT_EQ(combinations.cell(7, 0), "        b");
        EXPECT_EQ(combinations.rowCount(), 20);
        EXPECT_EQ(values.rowCount(), 5);
    }
    GridTable values(5, 5);
    CombinationTable combinations(8, 20);
    EXPECT_EQ(failureOf([&] { generateCombinations(fieldsWith("1,0"), values, combinations, ','); }),
              "'1,0' is not a valid integer value");
    generateCombinations(fieldsWith(" +3"), values, combinations, ',');
    EXPECT_EQ(combinations.rowCount(), 3126);
}

TEST(Combinations, LargestTableIsGeneratedQuickly)
{
    GridTable values(5, 5);
    CombinationTable combinations(8, 20);
    // The processor time of this thread: other work on the machine does not count.
    auto processorTime = [] {
        timespec time{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) * 1e-9;
    };
    const double start = processorTime();
    generateCombinations(fieldsWith(std::to_string(maximumIntermediateValueCount)), values, combinations, ',');
    // About a quarter of a second on the development machine; a table made cell by cell
    // over and over would take minutes.
    EXPECT_LT(processorTime() - start, 3.0);
    const int m = maximumIntermediateValueCount + 2;
    EXPECT_EQ(combinations.rowCount(), m * m * m * m * m + 1);
    EXPECT_EQ(parametersOf(combinations, combinations.rowCount() - 1),
              (std::array<std::string, 5>{"34000", "4", "3", "0,4", "0,5"}));
    EXPECT_EQ(combinations.cell(6, m), "0,2");
    EXPECT_EQ(combinations.cell(6, m + 1), values.cell(3, 1));
}

// ---- the moment of every combination

namespace {

// The test table with curvatures written as the test moment–curvature page writes them.
GridTable diagramWithCurvatures(const std::vector<std::string>& curvatures, const std::vector<std::string>& moments)
{
    GridTable diagram(4, 8);
    diagram.setRowCount(static_cast<int>(curvatures.size()) + 1);
    for (size_t k = 0; k < curvatures.size(); ++k) {
        diagram.setCell(2, static_cast<int>(k) + 1, curvatures[k]);
        diagram.setCell(3, static_cast<int>(k) + 1, k < moments.size() ? moments[k] : "0");
    }
    return diagram;
}

const BeamTexts beam{"0,15", "0,1", "3"};

struct MomentCase {
    GridTable diagram = diagramWithCurvatures({"0,0001", "0,02", "6E-2"}, {"0,08", "2,2", "2,1"});
    GridTable values{5, 5};
    CombinationTable combinations{8, 20};
    MomentTable moments{5, 5};
    MomentCase() { generateCombinations(fieldsWith("0"), values, combinations, ','); }
};

MomentRunControl withThreads(int threads)
{
    MomentRunControl control;
    control.threads = threads;
    return control;
}

}  // namespace

TEST(CombinationMoments, TableOfMomentsAtTheTestCurvatures)
{
    MomentCase run;
    std::vector<long long> progress;
    WorkControl work([&](long long row, long long rows) {
        EXPECT_EQ(rows, 32);
        progress.push_back(row);
        return true;
    });
    MomentRunControl control = withThreads(1);
    control.work = &work;
    computeCombinationMoments(beam, run.diagram, run.combinations, run.moments, ',', control);
    EXPECT_EQ(run.moments.rowCount(), 33);
    EXPECT_EQ(run.moments.columnCount(), 7);
    EXPECT_EQ(run.moments.cell(0, 0), "kombinace");
    for (int k = 1; k <= 3; ++k) {
        EXPECT_EQ(run.moments.cell(2 * k - 1, 0), " křivost");
        EXPECT_EQ(run.moments.cell(2 * k, 0), "  Moment");
    }
    ASSERT_EQ(progress.size(), 32u);
    EXPECT_EQ(progress.front(), 1);
    EXPECT_EQ(progress.back(), 32);

    // Moments from an independent exact-integer computation of the same scan
    // (tests/reference/fibre_reference.py table): w = 0,1, h = 0,15, fcp = 30.
    const char* const expected[32][3] = {
        {"0,0787500085718059", "2,25439477554666", "2,15600980298845"},
        {"0,0787500085718059", "2,2894940092929", "2,30424153515725"},
        {"0,0787500085718059", "1,7649924288698", "1,70721288889486"},
        {"0,0787500085718059", "1,80437874459386", "1,8627661631557"},
        {"0,0787500085718059", "2,28366923986993", "2,2793473063742"},
        {"0,0787500085718059", "2,30858385000297", "2,37690338279808"},
        {"0,0787500085718059", "1,78534039350094", "1,78583591874008"},
        {"0,0787500085718059", "1,80987402701772", "1,88711925788964"},
        {"0,0787500085718059", "2,90606868919218", "2,81663437838794"},
        {"0,0787500085718059", "2,94816838764113", "2,99991156451333"},
        {"0,0787500085718059", "2,28364791395072", "2,23472363958928"},
        {"0,0787500085718059", "2,32919561453136", "2,42768306475969"},
        {"0,0787500085718059", "2,94147714872031", "2,97125364889373"},
        {"0,0787500085718059", "2,97013189774027", "3,09116384978223"},
        {"0,0787500085718059", "2,30570018802015", "2,33274766910466"},
        {"0,0787500085718059", "2,33706126329595", "2,46172050143308"},
        {"0,0956250104086215", "2,28765316637713", "2,16191840851691"},
        {"0,0956250104086215", "2,32616973948885", "2,31492481756741"},
        {"0,0956250104086215", "1,78646501995206", "1,71568319749746"},
        {"0,0956250104086215", "1,82811054200114", "1,87277598472229"},
        {"0,0956250104086215", "2,31976966719769", "2,28999207086613"},
        {"0,0956250104086215", "2,34548347515699", "2,38997511335239"},
        {"0,0956250104086215", "1,80728730298648", "1,79446361527858"},
        {"0,0956250104086215", "1,8341112591163", "1,90043852560226"},
        {"0,0956250104086215", "2,95676496270794", "2,82331380110781"},
        {"0,0956250104086215", "3,00314027782252", "3,01145971682397"},
        {"0,0956250104086215", "2,31500841463451", "2,24191422632496"},
        {"0,0956250104086215", "2,36497498424031", "2,44204779160866"},
        {"0,0956250104086215", "2,99575903884675", "2,98039369879157"},
        {"0,0956250104086215", "3,02734117314602", "3,10510512457752"},
        {"0,0956250104086215", "2,3408255998324", "2,34232591652954"},
        {"0,0956250104086215", "2,37360678464944", "2,47373005356733"},
    };
    const std::array<const char*, 3> curvatures{"0,0001", "0,02", "6E-2"};
    for (int row = 1; row <= 32; ++row) {
        EXPECT_EQ(run.moments.cell(0, row), std::to_string(row));
        for (int k = 1; k <= 3; ++k) {
            SCOPED_TRACE(std::to_string(row) + "/" + std::to_string(k));
            EXPECT_EQ(run.moments.cell(2 * k - 1, row), curvatures[static_cast<size_t>(k - 1)]);
            EXPECT_EQ(run.moments.cell(2 * k, row), expected[row - 1][k - 1]);
        }
    }
}

TEST(CombinationMoments, EveryThreadCountGivesTheSameTableAndTheSameFirstFailure)
{
    MomentCase sequential;
    // Row 5 fails at its first point, row 9 at its first too; ecpm changes nothing.
    for (CombinationTable* table : {&sequential.combinations}) {
        table->setCell(4, 3, "999");
        table->setCell(3, 5, "x5");
        table->setCell(3, 9, "x9");
    }
    const std::string expectedMessage = "'x5' is not a valid floating point value";
    EXPECT_EQ(failureOf([&] {
                  computeCombinationMoments(beam, sequential.diagram, sequential.combinations,
                                            sequential.moments, ',', withThreads(1));
              }),
              expectedMessage);
    EXPECT_EQ(sequential.moments.cell(0, 5), "5");
    EXPECT_EQ(sequential.moments.cell(1, 5), "");
    EXPECT_EQ(sequential.moments.cell(0, 6), "");
    for (int threads : {2, 3, 8}) {
        SCOPED_TRACE(threads);
        MomentCase parallel;
        parallel.combinations = sequential.combinations;
        EXPECT_EQ(failureOf([&] {
                      computeCombinationMoments(beam, parallel.diagram, parallel.combinations,
                                                parallel.moments, ',', withThreads(threads));
                  }),
                  expectedMessage);
        EXPECT_EQ(parallel.moments.toTsv(), sequential.moments.toTsv());
    }

    MomentCase whole;
    MomentCase wholeParallel;
    computeCombinationMoments(beam, whole.diagram, whole.combinations, whole.moments, ',', withThreads(1));
    computeCombinationMoments(beam, wholeParallel.diagram, wholeParallel.combinations,
                              wholeParallel.moments, ',', withThreads(4));
    EXPECT_EQ(wholeParallel.moments.toTsv(), whole.moments.toTsv());
    EXPECT_EQ(sequential.moments.cell(6, 3), whole.moments.cell(6, 3));
}

// A worker that runs out of memory (std::bad_alloc) fails its row: the rows before it
// are written and its message is reported, as with one thread, whatever the thread
// count; a thread that cannot be given its work leaves the rows to the others.
TEST(OrderedRows, WhatAWorkerThrowsIsItsRowsFailureInRowOrder)
{
    auto run = [](int threads, int throwingMaker) {
        std::vector<int> written;
        RowRunControl control;
        control.threads = threads;
        int made = 0;
        std::string message;
        runHandler([&](const std::string& text) { message = text; }, [&] {
            computeRowsInOrder<RowCells>(
                200, control,
                [&] {
                    if (made++ == throwingMaker)
                        throw std::bad_alloc();
                    return [](int row) {
                        RowCells outcome;
                        if (row == 137)
                            throw std::bad_alloc();
                        if (row == 150)
                            outcome.failure = std::make_exception_ptr(Failure("řádek 150"));
                        return outcome;
                    };
                },
                [&](int row, RowCells& outcome) {
                    written.push_back(row);
                    if (outcome.failure)
                        std::rethrow_exception(outcome.failure);
                });
        });
        return std::make_pair(written, message);
    };
    const auto sequential = run(1, -1);
    EXPECT_EQ(sequential.second, "Nedostatek paměti pro výpočet.");
    ASSERT_EQ(sequential.first.size(), 137u);
    EXPECT_EQ(sequential.first.back(), 137);
    for (int threads : {2, 3, 8}) {
        SCOPED_TRACE(threads);
        EXPECT_EQ(run(threads, -1), sequential);
        EXPECT_EQ(run(threads, 1), sequential);
    }
}

TEST(CombinationMoments, NoBalanceNamesTheCombinationAndTheCurvature)
{
    // ectm 0,5 %: at κ = 0,2 the tension line has run far below zero and nothing balances.
    for (int threads : {1, 3}) {
        MomentCase run;
        run.diagram = diagramWithCurvatures({"0,02", "0,200000000000000"}, {});
        run.combinations.setCell(5, 2, "0,5");
        run.combinations.setCell(6, 2, "0,2");
        run.combinations.setCell(7, 2, "0,3");
        BeamTexts fields = beam;
        fields.pointCount = "2";
        EXPECT_EQ(failureOf([&] {
                      computeCombinationMoments(fields, run.diagram, run.combinations, run.moments, ',',
                                                withThreads(threads));
                  }),
                  "Kombinace číslo 2: při křivosti 0,200000000000000 nebyla nalezena rovnováha sil v průřezu.");
        EXPECT_NE(run.moments.cell(4, 1), "");
        EXPECT_NE(run.moments.cell(2, 2), "");
        EXPECT_EQ(run.moments.cell(3, 2), "0,200000000000000");
        EXPECT_EQ(run.moments.cell(4, 2), "");
    }
}

TEST(CombinationMoments, AZeroModulusFailsBeforeTheRowsFirstCurvatureIsCopied)
{
    // E = 0 fails when the row's strains are derived, before its first curvature is
    // read: only the combination number of the row is written. 0 / 0 is invalid.
    const std::pair<const char*, const char*> cases[] = {{"3", "Floating point division by zero"},
                                                         {"0", "Invalid floating point operation"}};
    for (const auto& [fct, message] : cases) {
        MomentCase run;
        run.diagram.setCell(2, 1, "x");  // never read
        run.combinations.setCell(1, 1, "0");
        run.combinations.setCell(3, 1, fct);
        EXPECT_EQ(failureOf([&] {
                      computeCombinationMoments(beam, run.diagram, run.combinations, run.moments, ',',
                                                withThreads(1));
                  }),
                  message);
        EXPECT_EQ(run.moments.cell(0, 1), "1");
        EXPECT_EQ(run.moments.cell(1, 1), "");
        EXPECT_EQ(run.moments.cell(2, 1), "");
    }
}

TEST(CombinationMoments, RefusesWithoutPointsCombinationsOrAMatchingCountOrBeyondTheSingleRange)
{
    MomentCase run;
    run.moments.setCell(0, 0, "old");
    auto attempt = [&](const BeamTexts& fields, const TextTable& combinations) {
        return failureOf([&] {
            computeCombinationMoments(fields, run.diagram, combinations, run.moments, ',', withThreads(1));
        });
    };
    EXPECT_EQ(attempt({"0,15", "0,1", "0"}, run.combinations), noTestPointsMessage);
    EXPECT_EQ(attempt({"0,15", "0,1", "4"}, run.combinations), pointCountMismatchMessage);
    EXPECT_EQ(attempt({"0,15", "0,1", "3"}, GridTable(8, 1)), noCombinationsMessage);
    EXPECT_EQ(attempt({"0,15", "0,1", "x"}, run.combinations), "'x' is not a valid integer value");
    EXPECT_EQ(attempt({"", "0,1", "x"}, run.combinations), "'' is not a valid floating point value");
    EXPECT_EQ(attempt({"h", "w", "x"}, run.combinations), "'w' is not a valid floating point value");
    // w and h are held in single precision: a value beyond its range overflows where
    // it is read, w before h.
    EXPECT_EQ(attempt({"0,15", "1E39", "3"}, run.combinations), "Floating point overflow");
    EXPECT_EQ(attempt({"1E39", "0,1", "3"}, run.combinations), "Floating point overflow");
    EXPECT_EQ(attempt({"h", "-1E39", "3"}, run.combinations), "Floating point overflow");
    EXPECT_EQ(attempt({"1E39", "w", "3"}, run.combinations), "'w' is not a valid floating point value");
    EXPECT_EQ(run.moments.cell(0, 0), "old");
    EXPECT_EQ(run.moments.columnCount(), 5);
}

// ---- deviations and the best fit

namespace {

struct FitCase {
    GridTable diagram = diagramWithCurvatures({"0,01", "0,02"}, {"0", "1,25"});
    GridTable combinations{8, 4};
    GridTable moments{5, 4};
    DeviationTable deviations{5, 5};
    DeviationList list{2, 5};
    FitCase()
    {
        const std::vector<std::array<std::string, 5>> rows{
            {"0,01", "0,142857142857143", "0,02", "1,711538461538462", "row 1"},
            {"0,01", "0,5", "0,02", "1,25", "row 2"},
            {"0,01", "-0,5", "0,02", "1,25", "row 3"}};
        moments.setColumnCount(5);
        moments.setRowCount(4);
        for (int row = 1; row <= 3; ++row) {
            combinations.setCell(0, row, std::to_string(row));
            for (int column = 1; column <= 7; ++column)
                combinations.setCell(column, row, "c" + std::to_string(column) + "r" + std::to_string(row));
            moments.setCell(0, row, std::to_string(row));
            for (int column = 1; column <= 4; ++column)
                moments.setCell(column, row, rows[static_cast<size_t>(row - 1)][static_cast<size_t>(column - 1)]);
        }
    }
};

}  // namespace

TEST(Deviations, SquaredDifferencesSummedFromTheWrittenTexts)
{
    FitCase fit;
    computeDeviations("2", fit.moments, fit.diagram, fit.combinations, fit.deviations, ',');
    EXPECT_EQ(fit.deviations.columnCount(), 4);
    EXPECT_EQ(fit.deviations.rowCount(), 4);
    EXPECT_EQ(fit.deviations.toTsv().substr(0, 35), "kombinace\todchylka\todchylka\tsoucet\n");
    // 0,142857142857143² and 0,461538461538462²: the sum of the rounded texts ends
    // in …596 where the unrounded squares would give …597.
    EXPECT_EQ(fit.deviations.cell(0, 1), "1");
    EXPECT_EQ(fit.deviations.cell(1, 1), "0,0204081632653062");
    EXPECT_EQ(fit.deviations.cell(2, 1), "0,21301775147929");
    EXPECT_EQ(fit.deviations.cell(3, 1), "0,233425914744596");
    EXPECT_EQ(fit.deviations.cell(3, 2), "0,25");
    EXPECT_EQ(fit.deviations.cell(3, 3), "0,25");

    fillDeviationList(fit.combinations, fit.deviations, fit.list);
    EXPECT_EQ(fit.list.toTsv(), " kombinace\t  odchylka\n1\t0,233425914744596\n2\t0,25\n3\t0,25\n");
}

TEST(Deviations, ListBeforeAnyDeviationsShowsNumbersOnly)
{
    FitCase fit;
    fillDeviationList(fit.combinations, fit.deviations, fit.list);
    EXPECT_EQ(fit.list.toTsv(), " kombinace\t  odchylka\n1\t\n2\t\n3\t\n");
    LineSeries test;
    LineSeries combination;
    EXPECT_EQ(failureOf([&] {
                  findBestFit("2", fit.list, fit.combinations, fit.diagram, fit.moments, test, combination, ',');
              }),
              "'' is not a valid floating point value");
}

TEST(Deviations, RefusalsAndIncompleteMoments)
{
    FitCase fit;
    auto attempt = [&](const std::string& count) {
        return failureOf(
            [&] { computeDeviations(count, fit.moments, fit.diagram, fit.combinations, fit.deviations, ','); });
    };
    EXPECT_EQ(attempt("0"), noTestPointsMessage);
    EXPECT_EQ(attempt("1,5"), pointCountNotWholeMessage);
    EXPECT_EQ(attempt("-2"), noTestPointsMessage);
    EXPECT_EQ(attempt("p"), "'p' is not a valid floating point value");
    EXPECT_EQ(attempt("3"), pointCountMismatchMessage);
    fit.moments.setColumnCount(3);
    fit.diagram.setRowCount(4);
    EXPECT_EQ(attempt("2"), momentTableMismatchMessage);
    EXPECT_EQ(fit.deviations.columnCount(), 5);

    FitCase incomplete;
    incomplete.moments.setCell(4, 2, "");
    EXPECT_EQ(failureOf([&] {
                  computeDeviations("2", incomplete.moments, incomplete.diagram, incomplete.combinations,
                                    incomplete.deviations, ',');
              }),
              "'' is not a valid floating point value");
    EXPECT_EQ(incomplete.deviations.cell(1, 2), "0,25");
    EXPECT_EQ(incomplete.deviations.cell(3, 1), "");
}

// A sum beyond the range fails where it is written: every squared deviation is written
// first, the rows before it keep their sums. A table that held a wider earlier analysis
// keeps the cells beyond the new columns.
TEST(Deviations, ASumBeyondTheRangeFailsAfterEveryDeviation)
{
    FitCase fit;
    fit.deviations.setCell(4, 3, "earlier");
    fit.moments.setCell(2, 2, "1E2466");
    fit.moments.setCell(4, 2, "1E2466");
    EXPECT_EQ(failureOf([&] {
                  computeDeviations("2", fit.moments, fit.diagram, fit.combinations, fit.deviations, ',');
              }),
              "Floating point overflow");
    EXPECT_EQ(fit.deviations.cell(3, 1), "0,233425914744596");
    EXPECT_EQ(fit.deviations.cell(1, 2), "1E4932");
    EXPECT_EQ(fit.deviations.cell(3, 2), "");
    EXPECT_EQ(fit.deviations.cell(1, 3), "0,25");
    EXPECT_EQ(fit.deviations.cell(3, 3), "");
    EXPECT_EQ(fit.deviations.cell(4, 3), "earlier");
}

// Rows run on worker threads in chunks: a failure in a late chunk, behind rows still
// being computed, leaves the table and the message of a run one row after another.
TEST(Deviations, EveryThreadCountGivesTheSameTableAndTheSameFirstFailure)
{
    const int rows = 200;
    GridTable diagram = diagramWithCurvatures({"0,01", "0,02"}, {"0,5", "1,25"});
    GridTable combinations(8, rows + 1);
    GridTable moments(5, rows + 1);
    for (int row = 1; row <= rows; ++row) {
        combinations.setCell(0, row, std::to_string(row));
        moments.setCell(2, row, "0," + std::to_string(1000 + 37 * row));
        moments.setCell(4, row, std::to_string(row % 7) + "," + std::to_string(row * row));
    }
    auto run = [&](const GridTable& input, int threads, DeviationTable& deviations) {
        RowRunControl control;
        control.threads = threads;
        return failureOf(
            [&] { computeDeviations("2", input, diagram, combinations, deviations, ',', control); });
    };
    DeviationTable whole(5, 5);
    EXPECT_EQ(run(moments, 1, whole), "(no failure)");
    EXPECT_EQ(whole.cell(3, 200), "10,0381");  // 0,34² + 3,15²

    GridTable failing = moments;
    failing.setCell(4, 150, "x150");
    failing.setCell(2, 170, "x170");
    DeviationTable sequential(5, 5);
    EXPECT_EQ(run(failing, 1, sequential), "'x150' is not a valid floating point value");
    EXPECT_EQ(sequential.cell(1, 150), whole.cell(1, 150));
    EXPECT_EQ(sequential.cell(2, 150), "");
    EXPECT_EQ(sequential.cell(0, 151), "");
    for (int threads : {2, 3}) {
        SCOPED_TRACE(threads);
        DeviationTable parallel(5, 5);
        EXPECT_EQ(run(moments, threads, parallel), "(no failure)");
        EXPECT_EQ(parallel.toTsv(), whole.toTsv());
        DeviationTable parallelFailing(5, 5);
        EXPECT_EQ(run(failing, threads, parallelFailing), "'x150' is not a valid floating point value");
        EXPECT_EQ(parallelFailing.toTsv(), sequential.toTsv());
    }
}

TEST(BestFit, SmallestSumWinsAndTheLowerRowOnTies)
{
    FitCase fit;
    computeDeviations("2", fit.moments, fit.diagram, fit.combinations, fit.deviations, ',');
    fillDeviationList(fit.combinations, fit.deviations, fit.list);
    fit.list.setCell(1, 1, "0,3");
    LineSeries test;
    LineSeries combination;
    for (int press = 0; press < 2; ++press) {
        const BestFit best =
            findBestFit("2", fit.list, fit.combinations, fit.diagram, fit.moments, test, combination, ',');
        EXPECT_EQ(best.combination, 2);
        EXPECT_EQ(best.sum, "0,25");
        EXPECT_EQ(best.texts, (std::array<std::string, 7>{"c1r2", "c2r2", "c3r2", "c4r2", "c5r2", "c6r2", "c7r2"}));
        ASSERT_EQ(test.points().size(), 3u);
        ASSERT_EQ(combination.points().size(), 3u);
        EXPECT_EQ(test.points()[0].x, 0.0L);
        EXPECT_EQ(test.points()[2].y, 1.25L);
        EXPECT_EQ(test.points()[2].colour, colourRed);
        EXPECT_EQ(combination.points()[1].y, 0.5L);
        EXPECT_EQ(combination.points()[2].x, 0.02L);
        EXPECT_EQ(combination.points()[0].colour, colourBlue);
    }
}

TEST(BestFit, NothingBelowTenMillionIsReported)
{
    FitCase fit;
    fillDeviationList(fit.combinations, fit.deviations, fit.list);
    for (int row = 1; row <= 3; ++row)
        fit.list.setCell(1, row, row == 2 ? "10000000" : "1E9");
    LineSeries test;
    LineSeries combination;
    combination.add(1.0L, 1.0L, colourBlue);
    EXPECT_EQ(failureOf([&] {
                  findBestFit("2", fit.list, fit.combinations, fit.diagram, fit.moments, test, combination, ',');
              }),
              noBestFitMessage);
    EXPECT_EQ(combination.points().size(), 1u);
    fit.list.setCell(1, 3, "9999999,99999999");
    EXPECT_EQ(findBestFit("2", fit.list, fit.combinations, fit.diagram, fit.moments, test, combination, ',').combination,
              3);
    EXPECT_EQ(failureOf([&] {
                  findBestFit("0", fit.list, fit.combinations, fit.diagram, fit.moments, test, combination, ',');
              }),
              noTestPointsMessage);
}

// ---- the tables of numbers

namespace {

// The road of the tables from the moments to the best fit, everything it leaves as text.
struct Road {
    MomentTable moments{5, 5};
    DeviationTable deviations{2, 1};
    DeviationList list{2, 5};
    std::string failure = "(no failure)";
    std::string best;

    std::string texts() const
    {
        return moments.toTsv() + "|" + deviations.toTsv() + "|" + list.toTsv() + "|" + failure + "|" + best;
    }
};

// `keptMomentLimit` 0: every moment computed again when read; `taken`: the deviations
// the moments found on the way and the best fit the deviations found, otherwise (a cell
// written over the tables) a pass over the moments' cells and a search over the sums'.
Road roadOf(const GridTable& diagram, const CombinationTable& combinations, int threads, long long keptMomentLimit,
            bool taken)
{
    Road road;
    MomentRunControl control;
    control.threads = threads;
    control.keptMomentLimit = keptMomentLimit;
    const std::string points = std::to_string(diagram.rowCount() - 1);
    road.failure = failureOf([&] {
        computeCombinationMoments({"0,15", "0,1", points}, diagram, combinations, road.moments, ',', control);
    });
    if (!taken)
        road.moments.setCell(0, 0, "kombinace");
    RowRunControl rows;
    rows.threads = threads;
    road.failure += failureOf(
        [&] { computeDeviations(points, road.moments, diagram, combinations, road.deviations, ',', rows); });
    fillDeviationList(combinations, road.deviations, road.list);
    if (!taken)
        road.list.setCell(0, 0, " kombinace");  // the sums read from their texts
    road.failure += failureOf([&] {
        LineSeries test;
        LineSeries fitted;
        const BestFit fit = findBestFit(points, road.list, combinations, diagram, road.moments, test, fitted, ',');
        road.best = std::to_string(fit.combination) + " " + fit.sum;
    });
    return road;
}

}  // namespace

// Moments kept or computed again when read, deviations found with the moments or formed
// from their cells: the same texts in every cell, the same best fit and the same first
// failure, on every thread count; and deviations found with other test moments are not
// taken for these.
TEST(NumberTables, EveryWayOfHoldingTheMomentsAndDeviationsReadsAlike)
{
    GridTable diagram = diagramWithCurvatures({"0,0001", "0,02", "6E-2"}, {"0,08", "2,2", "2,1"});
    GridTable values;
    CombinationTable combinations;
    generateCombinations(fieldsWith("2"), values, combinations, ',');
    const Road kept = roadOf(diagram, combinations, 1, defaultKeptMomentLimit, false);
    EXPECT_EQ(kept.failure, "(no failure)(no failure)(no failure)");
    const std::string reference = kept.texts();
    for (int threads : {1, 3})
        for (long long kept : {defaultKeptMomentLimit, 0LL})
            for (bool taken : {true, false})
                EXPECT_EQ(roadOf(diagram, combinations, threads, kept, taken).texts(), reference)
                    << threads << " threads, kept " << kept << ", taken " << taken;

    // A test moment of the same value in other words takes the same deviations; another
    // value other ones, not those found with the moments.
    for (long long kept : {defaultKeptMomentLimit, 0LL}) {
        GridTable test = diagram;
        Road road = roadOf(test, combinations, 2, kept, true);
        const std::string found = road.deviations.toTsv() + road.list.toTsv() + road.best;
        auto press = [&] {
            computeDeviations("3", road.moments, test, combinations, road.deviations, ',');
            fillDeviationList(combinations, road.deviations, road.list);
            LineSeries curve;
            LineSeries fitted;
            const BestFit fit = findBestFit("3", road.list, combinations, test, road.moments, curve, fitted, ',');
            return road.deviations.toTsv() + road.list.toTsv() + std::to_string(fit.combination) + " " + fit.sum;
        };
        test.setCell(3, 2, "2,20");
        EXPECT_EQ(press(), found) << kept;
        test.setCell(3, 2, "1,9");
        const Road fresh = roadOf(test, combinations, 1, kept, false);
        const std::string other = press();
        EXPECT_EQ(other, fresh.deviations.toTsv() + fresh.list.toTsv() + fresh.best) << kept;
        EXPECT_NE(other, found);
    }

    // A moment failure in a late row and a test moment that is no number: what each
    // step leaves is the same whichever way the tables hold it.
    combinations.setCell(6, 700, "x700");
    diagram.setCell(3, 2, "y");
    const std::string failing = roadOf(diagram, combinations, 1, defaultKeptMomentLimit, false).texts();
    EXPECT_NE(failing.find("'x700' is not a valid floating point value"), std::string::npos);
    for (int threads : {1, 3})
        for (long long kept : {defaultKeptMomentLimit, 0LL})
            EXPECT_EQ(roadOf(diagram, combinations, threads, kept, true).texts(), failing) << threads << " " << kept;
    combinations.setCell(6, 700, combinations.cell(6, 699));
    const std::string deviationFailing = roadOf(diagram, combinations, 1, defaultKeptMomentLimit, false).texts();
    EXPECT_NE(deviationFailing.find("'y' is not a valid floating point value"), std::string::npos);
    for (int threads : {1, 3})
        for (long long kept : {defaultKeptMomentLimit, 0LL})
            EXPECT_EQ(roadOf(diagram, combinations, threads, kept, true).texts(), deviationFailing)
                << threads << " " << kept;
}
