// Test points: the count arrow and the test data file reader; the test
// moment–curvature table.

#include "common/Failure.h"
#include "flows/GridTable.h"
#include "flows/InverseFlow.h"
#include "flows/InverseMessages.h"
#include "flows/LineSeries.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include <cstdio>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <unistd.h>

using namespace prurez;

namespace {

// A test data file with exactly these bytes, removed at the end of the test.
class TestFile {
public:
    explicit TestFile(const std::string& bytes)
    {
        char name[] = "/tmp/prurez-testdata-XXXXXX";
        const int descriptor = mkstemp(name);
        path_ = name;
        std::ofstream(path_, std::ios::binary) << bytes;
        close(descriptor);
    }
    ~TestFile() { std::remove(path_.c_str()); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

struct ReadResult {
    int points = -1;
    std::string failure;
    GridTable grid{2, 8};
};

ReadResult readBytes(const std::string& bytes, char separator = ',')
{
    TestFile file(bytes);
    ReadResult result;
    result.failure = failureOf([&] { result.points = readTestDataFile(file.path(), result.grid, separator); });
    return result;
}

}  // namespace

TEST(TestPointGrid, CountArrowSetsRowsAndHeaders)
{
    GridTable grid(5, 8);
    EXPECT_EQ(setTestPointCount("7", grid), 7);
    EXPECT_EQ(grid.columnCount(), 2);
    EXPECT_EQ(grid.rowCount(), 8);
    EXPECT_EQ(grid.cell(0, 0), "  Síla [kN]");
    EXPECT_EQ(grid.cell(1, 0), "  Průhyb [m]");

    EXPECT_EQ(setTestPointCount("8", grid), 8);
    EXPECT_EQ(grid.rowCount(), 9);

    EXPECT_EQ(setTestPointCount("0", grid), 0);
    EXPECT_EQ(grid.rowCount(), 1);

    // Rows that come back keep their text.
    grid.setCell(0, 2, "12");
    setTestPointCount("1", grid);
    setTestPointCount("3", grid);
    EXPECT_EQ(grid.cell(0, 2), "12");
}

TEST(TestPointGrid, EmptyCountStopsAfterTheColumnsAndABadCountFails)
{
    GridTable grid(5, 4);
    EXPECT_EQ(setTestPointCount("", grid), std::nullopt);
    EXPECT_EQ(grid.columnCount(), 2);
    EXPECT_EQ(grid.rowCount(), 4);
    EXPECT_EQ(grid.cell(0, 0), "");

    GridTable other(5, 4);
    EXPECT_EQ(failureOf([&] { setTestPointCount("2,5", other); }), "'2,5' is not a valid integer value");
    EXPECT_EQ(other.columnCount(), 2);
    EXPECT_EQ(other.rowCount(), 4);
    EXPECT_EQ(failureOf([&] { setTestPointCount("3 ", other); }), "'3 ' is not a valid integer value");

    // Beyond the up-down's 100 a count would make a grid of millions of rows.
    EXPECT_EQ(failureOf([&] { setTestPointCount("2000000000", other); }),
              "Počet posuzovaných hodnot diagramu může být nejvýše 100.");
    EXPECT_EQ(other.rowCount(), 4);
    setTestPointCount("100", other);
    EXPECT_EQ(other.rowCount(), 101);
}

TEST(TestPointGrid, FileMasksAreNotFileNames)
{
    EXPECT_TRUE(isFileMask("*.*"));
    EXPECT_TRUE(isFileMask("*.txt"));
    EXPECT_TRUE(isFileMask("test?.dat"));
    EXPECT_FALSE(isFileMask("test.txt"));
    EXPECT_FALSE(isFileMask(""));
}

TEST(TestDataFile, ValuesArePairedWhateverTheLinesAndTrailingLineEnds)
{
    for (const char* bytes : {"10 0.001\n20 0.002", "10 0.001\n20 0.002\n", "10\n0.001 20\r\n0.002 \n\n  "}) {
        const ReadResult result = readBytes(bytes);
        SCOPED_TRACE(bytes);
        EXPECT_EQ(result.failure, "(no failure)");
        EXPECT_EQ(result.points, 2);
        EXPECT_EQ(result.grid.rowCount(), 3);
        EXPECT_EQ(result.grid.cell(0, 0), "  Síla [kN]");
        EXPECT_EQ(result.grid.cell(1, 0), "  Průhyb [m]");
        EXPECT_EQ(result.grid.cell(0, 1), "10");
        EXPECT_EQ(result.grid.cell(1, 1), "0,001");
        EXPECT_EQ(result.grid.cell(0, 2), "20");
        EXPECT_EQ(result.grid.cell(1, 2), "0,002");
    }
}

TEST(TestDataFile, AnUnpairedLastValueIsDroppedWithOrWithoutALineEnd)
{
    for (const char* bytes : {"10 0.001 20", "10 0.001 20\n", "10 0.001 20\r\n\t "}) {
        const ReadResult result = readBytes(bytes);
        SCOPED_TRACE(bytes);
        EXPECT_EQ(result.points, 1);
        EXPECT_EQ(result.grid.rowCount(), 2);
        EXPECT_EQ(result.grid.cell(0, 1), "10");
        EXPECT_EQ(result.grid.cell(1, 1), "0,001");
        // No value 0 is invented after the last number.
        EXPECT_EQ(result.grid.cell(1, 2), "");
    }
}

TEST(TestDataFile, EmptyOrBlankFilesGiveNoPoints)
{
    for (const std::string& bytes : {std::string(), std::string(" \n\r\n\t\v\f"), std::string("\0\x01\x1f ", 4)}) {
        const ReadResult result = readBytes(bytes);
        EXPECT_EQ(result.points, 0);
        EXPECT_EQ(result.grid.rowCount(), 1);
        EXPECT_EQ(result.grid.cell(0, 0), "  Síla [kN]");
    }
}

TEST(TestDataFile, NumberGrammarWithThePointWhateverTheSeparator)
{
    ReadResult result = readBytes("1.5e-3 -2 .5 5. +7E+2 1e-5");
    EXPECT_EQ(result.points, 3);
    EXPECT_EQ(result.grid.cell(0, 1), "0,0015");
    EXPECT_EQ(result.grid.cell(1, 1), "-2");
    EXPECT_EQ(result.grid.cell(0, 2), "0,5");
    EXPECT_EQ(result.grid.cell(1, 2), "5");
    EXPECT_EQ(result.grid.cell(0, 3), "700");
    EXPECT_EQ(result.grid.cell(1, 3), "1E-5");

    // The cells take the separator of the program.
    result = readBytes("0.25 0.001", '.');
    EXPECT_EQ(result.grid.cell(0, 1), "0.25");
    EXPECT_EQ(result.grid.cell(1, 1), "0.001");
}

TEST(TestDataFile, ABadNumberKeepsTheValuesBeforeItAndUpdatesNothingElse)
{
    for (const char* bad : {"0,002", ".", "1e", "--1", "2kN", "1.2.3", "Síla"}) {
        SCOPED_TRACE(bad);
        TestFile file(std::string("10 0.001\n20 ") + bad + " 30 0.003");
        GridTable grid(2, 8);
        EXPECT_EQ(failureOf([&] { readTestDataFile(file.path(), grid, ','); }), "Invalid numeric input");
        EXPECT_EQ(grid.cell(0, 1), "10");
        EXPECT_EQ(grid.cell(1, 1), "0,001");
        EXPECT_EQ(grid.cell(0, 2), "20");
        EXPECT_EQ(grid.cell(1, 2), "");
        EXPECT_EQ(grid.cell(0, 0), "");
        EXPECT_EQ(grid.rowCount(), 8);
    }
}

TEST(TestDataFile, NumberBeyondTheExtendedRangeOverflows)
{
    const ReadResult result = readBytes("10 1e5000");
    EXPECT_EQ(result.failure, "Floating point overflow");
    EXPECT_EQ(result.grid.cell(0, 1), "10");
    EXPECT_EQ(result.grid.cell(1, 1), "");
    // Tiny values are no fault.
    const ReadResult tiny = readBytes("1e-5000 2");
    EXPECT_EQ(tiny.failure, "(no failure)");
    EXPECT_EQ(tiny.grid.cell(0, 1), "0");
}

TEST(TestDataFile, CtrlZEndsTheFileAndLongRunsAreSplitAfter64Characters)
{
    ReadResult result = readBytes(std::string("10 0.001 20\x1a 0.002 garbage"));
    EXPECT_EQ(result.failure, "(no failure)");
    EXPECT_EQ(result.points, 1);

    result = readBytes(std::string("10\x1a"));
    EXPECT_EQ(result.points, 0);
    EXPECT_EQ(result.grid.cell(0, 1), "10");

    // 64 digits, then "25" continues the run: two number texts.
    result = readBytes("1" + std::string(63, '0') + "25");
    EXPECT_EQ(result.failure, "(no failure)");
    EXPECT_EQ(result.points, 1);
    EXPECT_EQ(result.grid.cell(0, 1), "1E63");
    EXPECT_EQ(result.grid.cell(1, 1), "25");
}

TEST(TestDataFile, TheGridIsNotClearedFirst)
{
    TestFile three("1 0.1 2 0.2 3 0.3");
    TestFile one("9 0.9");
    GridTable grid(2, 8);
    EXPECT_EQ(readTestDataFile(three.path(), grid, ','), 3);
    EXPECT_EQ(readTestDataFile(one.path(), grid, ','), 1);
    EXPECT_EQ(grid.rowCount(), 2);
    EXPECT_EQ(grid.cell(0, 1), "9");
    EXPECT_EQ(grid.cell(0, 3), "3");
    grid.setRowCount(4);
    EXPECT_EQ(grid.cell(1, 3), "0,3");
}

TEST(TestDataFile, OpenFailuresGiveTheFileMessagesAndLeaveTheGrid)
{
    GridTable grid(2, 8);
    grid.setCell(0, 1, "5");
    EXPECT_EQ(failureOf([&] { readTestDataFile("/tmp/prurez-no-such-dir/none.txt", grid, ','); }),
              "File not found");
    EXPECT_EQ(failureOf([&] { readTestDataFile("/tmp", grid, ','); }), "File access denied");
    // Only regular files: a device that never ends, a pipe that would wait.
    EXPECT_EQ(failureOf([&] { readTestDataFile("/dev/zero", grid, ','); }), "File access denied");
    const std::string pipe = "/tmp/prurez-pipe-" + std::to_string(::getpid());
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(failureOf([&] { readTestDataFile(pipe, grid, ','); }), "File access denied");
    std::remove(pipe.c_str());
    EXPECT_EQ(grid.cell(0, 1), "5");
    EXPECT_EQ(grid.rowCount(), 8);
}

// A test of the most points a file may hold: every point read, the curve through them
// in order of curvature (each point added once, the curve sorted once); one point more
// is refused before anything but the cells it reached is changed.
TEST(TestDataFile, ALargeTestIsReadAndChartedWholeAndOnePointMoreIsRefused)
{
    const int pointCount = maximumTestFilePointCount;
    std::string bytes;
    for (long long i = 0; i < pointCount; ++i)
        bytes += std::to_string(1 + (i * 7919) % 1000) + " 0.00" + std::to_string(100 + (i * 104729) % 900) + "\n";
    TestFile file(bytes + "5");  // an unpaired value is no point
    GridTable points(2, 8);
    ASSERT_EQ(readTestDataFile(file.path(), points, ','), pointCount);
    GridTable diagram(4, 8);
    copyTestPoints(points, diagram);
    LineSeries curve;
    computeTestDiagram(BendingTestTexts{"30000", "0,15", "0,15"}, diagram, curve, ',', {});
    const auto& sorted = curve.points();
    ASSERT_EQ(sorted.size(), 2u * static_cast<size_t>(pointCount));
    EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end(),
                               [](const SeriesPoint& a, const SeriesPoint& b) { return a.x < b.x; }));

    TestFile more(bytes + "5 0.001");
    GridTable refused(2, 8);
    EXPECT_EQ(failureOf([&] { readTestDataFile(more.path(), refused, ','); }),
              "Soubor zkoušky obsahuje více než 10 000 bodů; program jich zpracuje nejvýše 10 000.");
    EXPECT_EQ(refused.rowCount(), 8);
    EXPECT_EQ(refused.cell(0, 0), "");
}

// ---- the test moment–curvature

namespace {

GridTable diagramWithPoints(const std::vector<std::pair<std::string, std::string>>& points)
{
    GridTable input(2, 8);
    setTestPointCount(std::to_string(points.size()), input);
    for (size_t i = 0; i < points.size(); ++i) {
        input.setCell(0, static_cast<int>(i) + 1, points[i].first);
        input.setCell(1, static_cast<int>(i) + 1, points[i].second);
    }
    GridTable diagram(4, 8);
    copyTestPoints(input, diagram);
    return diagram;
}

const BendingTestTexts beamTest{"30000", "0,15", "0,15"};

}  // namespace

TEST(TestDiagram, CopyingSetsHeadersAndRows)
{
    GridTable diagram = diagramWithPoints(std::vector<std::pair<std::string, std::string>>(6, {"1", "0,1"}));
    EXPECT_EQ(diagram.columnCount(), 4);
    EXPECT_EQ(diagram.rowCount(), 7);
    EXPECT_EQ(diagram.cell(0, 0), "   Síla [kN]");
    EXPECT_EQ(diagram.cell(1, 0), "   Průhyb [m]");
    EXPECT_EQ(diagram.cell(2, 0), " Křivost [m-1]");
    EXPECT_EQ(diagram.cell(3, 0), "   Moment ");

    diagram = diagramWithPoints(std::vector<std::pair<std::string, std::string>>(7, {"1", "0,1"}));
    EXPECT_EQ(diagram.rowCount(), 8);
}

TEST(TestDiagram, CurvatureAndMomentOfTheBeam)
{
    GridTable diagram = diagramWithPoints({{"10", "0,001"}, {"10", "0,00001"}});
    LineSeries curve;
    curve.add(5.0L, 5.0L, colourBlue);  // an earlier curve goes
    int fixed = 0;
    computeTestDiagram(beamTest, diagram, curve, ',', [&] { ++fixed; });
    EXPECT_EQ(fixed, 1);
    EXPECT_EQ(diagram.cell(2, 1), "0,0700239012345679");
    EXPECT_EQ(diagram.cell(3, 1), "1,5");
    EXPECT_EQ(diagram.cell(2, 2), "-0,000376098765432099");
    EXPECT_EQ(diagram.cell(3, 2), "1,5");

    // Origin once per point; the negative curvature lies left of the origin.
    const auto& points = curve.points();
    ASSERT_EQ(points.size(), 4u);
    EXPECT_LT(points[0].x, 0.0L);
    EXPECT_EQ(points[1].x, 0.0L);
    EXPECT_EQ(points[2].x, 0.0L);
    EXPECT_GT(points[3].x, 0.07L);
    for (const auto& point : points)
        EXPECT_EQ(point.colour, colourRed);
}

TEST(TestDiagram, NewPointsShowBesideTheOldResultsUntilComputedAgain)
{
    GridTable input(2, 8);
    setTestPointCount("1", input);
    input.setCell(0, 1, "10");
    input.setCell(1, 1, "0,001");
    GridTable diagram(4, 8);
    copyTestPoints(input, diagram);
    LineSeries curve;
    computeTestDiagram(beamTest, diagram, curve, ',', {});
    input.setCell(0, 1, "20");
    copyTestPoints(input, diagram);
    EXPECT_EQ(diagram.cell(0, 1), "20");
    EXPECT_EQ(diagram.cell(2, 1), "0,0700239012345679");
    EXPECT_EQ(diagram.cell(3, 1), "1,5");
}

TEST(TestDiagram, FailuresKeepTheRowsBeforeAndTheDiagramChoice)
{
    GridTable diagram = diagramWithPoints({{"10", "0,001"}, {"12", "0,002"}, {"x", "0,003"}, {"14", "0,004"}});
    LineSeries curve;
    int fixed = 0;
    EXPECT_EQ(failureOf([&] { computeTestDiagram(beamTest, diagram, curve, ',', [&] { ++fixed; }); }),
              "'x' is not a valid floating point value");
    EXPECT_EQ(fixed, 1);
    EXPECT_EQ(diagram.cell(3, 2), "1,8");
    EXPECT_EQ(diagram.cell(2, 3), "");
    EXPECT_EQ(curve.points().size(), 4u);

    // A bad field: read in the order a, s, E; the choice is not touched, the curve is gone.
    fixed = 0;
    EXPECT_EQ(failureOf([&] { computeTestDiagram({"", "0,15", "y"}, diagram, curve, ',', [&] { ++fixed; }); }),
              "'y' is not a valid floating point value");
    EXPECT_EQ(failureOf([&] { computeTestDiagram({"", "z", "y"}, diagram, curve, ',', [&] { ++fixed; }); }),
              "'z' is not a valid floating point value");
    EXPECT_EQ(failureOf([&] { computeTestDiagram({"", "0,15", "0,15"}, diagram, curve, ',', [&] { ++fixed; }); }),
              "'' is not a valid floating point value");
    EXPECT_EQ(fixed, 0);
    EXPECT_TRUE(curve.points().empty());
}

TEST(TestDiagram, ZeroDistanceIsADivisionByZero)
{
    GridTable diagram = diagramWithPoints({{"10", "0,001"}});
    LineSeries curve;
    EXPECT_EQ(failureOf([&] { computeTestDiagram({"30000", "0", "0,15"}, diagram, curve, ',', {}); }),
              "Floating point division by zero");
    EXPECT_EQ(diagram.cell(2, 1), "");
    EXPECT_EQ(failureOf([&] { computeTestDiagram({"30000", "0,15", "0"}, diagram, curve, ',', {}); }),
              "Floating point division by zero");

    // Without points nothing is divided.
    GridTable empty = diagramWithPoints({});
    EXPECT_EQ(failureOf([&] { computeTestDiagram({"30000", "0", "0,15"}, empty, curve, ',', {}); }), "(no failure)");
    EXPECT_TRUE(curve.points().empty());
}
