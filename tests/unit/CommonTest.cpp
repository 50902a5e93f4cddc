#include "common/Failure.h"
#include "common/FixedPoint.h"
#include "common/FloatingPoint.h"
#include "flows/CellText.h"
#include "flows/GridTable.h"
#include "flows/LineSeries.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>

using namespace prurez;

TEST(FixedPoint, RoundsToNearestWithTiesToEven)
{
    EXPECT_EQ(Fixed::store(0.00005L).raw(), 0);
    EXPECT_EQ(Fixed::store(0.00015L).raw(), 2);
    EXPECT_EQ(Fixed::store(0.00025L).raw(), 2);
    EXPECT_EQ(Fixed::store(-0.00015L).raw(), -2);
    EXPECT_EQ(Fixed::store(-1.23456L).raw(), -12346);
    EXPECT_EQ(Fixed::store(30.0L).raw(), 300000);
    EXPECT_EQ(Fixed::store(0.25L).value(), 0.25L);
}

TEST(FixedPoint, ValueBeyondSixtyFourBitsIsAnInvalidOperation)
{
    EXPECT_EQ(failureOf([] { Fixed::store(1e16L); }), "Invalid floating point operation");
    EXPECT_EQ(failureOf([] { Fixed::store(-1e16L); }), "Invalid floating point operation");
    EXPECT_EQ(failureOf([] { Fixed::store(NAN); }), "Invalid floating point operation");
    EXPECT_EQ(Fixed::store(922337203685477.0L).raw(), 9223372036854770000LL);
}

TEST(FixedPoint, RatioUsesTheRawIntegers)
{
    EXPECT_EQ(ratio(Fixed::store(30), Fixed::store(32000)), 300000.0L / 320000000.0L);
}

TEST(FloatingPointFaults, EachFaultGivesItsMessage)
{
    volatile long double zero = 0.0L;
    volatile long double one = 1.0L;
    volatile long double huge = 1e4000L;

    clearFloatingPointFaults();
    volatile long double r = zero / zero;
    EXPECT_EQ(failureOf(checkFloatingPointFaults), "Invalid floating point operation");

    clearFloatingPointFaults();
    r = one / zero;
    EXPECT_EQ(failureOf(checkFloatingPointFaults), "Floating point division by zero");

    clearFloatingPointFaults();
    r = huge * huge;
    EXPECT_EQ(failureOf(checkFloatingPointFaults), "Floating point overflow");

    clearFloatingPointFaults();
    r = zero / zero;
    r = one / zero;
    EXPECT_EQ(failureOf(checkFloatingPointFaults), "Invalid floating point operation") << "invalid goes first";
    EXPECT_EQ(failureOf(checkFloatingPointFaults), "(no failure)") << "the flags are cleared after a report";
    (void)r;
}

TEST(FloatingPointFaults, UnderflowAndInexactAreNoFaults)
{
    volatile long double tiny = 1e-4000L;
    clearFloatingPointFaults();
    volatile long double r = tiny * tiny;
    r = 1.0L / 3.0L;
    EXPECT_TRUE(std::fetestexcept(FE_UNDERFLOW | FE_INEXACT));
    EXPECT_EQ(failureOf(checkFloatingPointFaults), "(no failure)");
    (void)r;
}

TEST(FloatingPointFaults, AFaultedValueNeverReachesACell)
{
    GridTable table;
    writeNumber(table, 0, 1, 1.5L, ',');
    volatile long double zero = 0.0L;
    clearFloatingPointFaults();
    const long double bad = 1.0L / zero;
    EXPECT_EQ(failureOf([&] { writeNumber(table, 0, 1, bad, ','); }), "Floating point division by zero");
    EXPECT_EQ(table.cell(0, 1), "1,5");
}

TEST(Single, RoundsToFloatAndReadsBackExtended)
{
    EXPECT_EQ(single(0.1L), static_cast<long double>(0.1f));
    EXPECT_NE(single(0.1L), 0.1L);
}

TEST(GridTable, SmallerRowCountHidesRowsAndLargerShowsThemAgain)
{
    GridTable table(3, 5);
    table.setCell(1, 4, "kept");
    table.setRowCount(2);
    EXPECT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.toTsv(), "\t\t\n\t\t\n");
    table.setRowCount(5);
    EXPECT_EQ(table.cell(1, 4), "kept");
    table.setRowCount(0);
    EXPECT_EQ(table.rowCount(), 1) << "a grid has at least one row";
}

TEST(GridTable, CellsBeyondTheCountsCanBeWrittenAndRowsPrintAllColumns)
{
    GridTable table(2, 1);
    table.setCell(0, 0, " a");
    table.setCell(1, 3, "x");
    EXPECT_EQ(table.cell(1, 3), "x");
    EXPECT_EQ(table.cell(7, 9), "");
    table.setColumnCount(3);
    table.setRowCount(2);
    EXPECT_EQ(table.toTsv(), " a\t\t\n\t\t\n");
}

TEST(LineSeries, KeepsPointsSortedWithEqualXAfterTheExistingOnes)
{
    LineSeries series;
    series.add(0, 0, colourRed);
    series.add(2, 20, colourRed);
    series.add(0, 0.5L, colourRed);
    series.add(1, 10, colourRed);
    series.add(-1, -10, colourRed);
    series.add(1, 11, colourBlue);
    const auto& p = series.points();
    ASSERT_EQ(p.size(), 6u);
    EXPECT_EQ(p[0].y, -10);
    EXPECT_EQ(p[1].y, 0);
    EXPECT_EQ(p[2].y, 0.5L);
    EXPECT_EQ(p[3].y, 10);
    EXPECT_EQ(p[4].y, 11);
    EXPECT_EQ(p[4].colour, colourBlue);
    EXPECT_EQ(p[5].y, 20);
}

TEST(RunHandler, PassesTheMessageToTheSinkAndKeepsWhatWasWritten)
{
    std::vector<std::string> messages;
    GridTable table;
    const bool finished = runHandler([&](const std::string& m) { messages.push_back(m); },
                                     [&] {
                                         table.setCell(0, 0, "written");
                                         throw Failure("'x' is not a valid floating point value");
                                     });
    EXPECT_FALSE(finished);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "'x' is not a valid floating point value");
    EXPECT_EQ(table.cell(0, 0), "written");
}
